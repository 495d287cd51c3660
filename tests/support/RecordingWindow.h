#pragma once
// A window for walks without widgets: it records what the walk does to the list, in order,
// keeps the rows, and lets a test wait for the end of a walk. Safe on any thread.

#include "scan/ScanWindow.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

class RecordingWindow : public ScanWindow, private ResultList {
  public:
    using Row = std::pair<QString, QString>;

    ResultList& ListBox1() override { return *this; }

    void ExecuteEnd() override {
        std::lock_guard lock(mMutex);
        mEvents.append("end");
        ++mEnds;
        mEnded.notify_all();
    }

    // Waits until the walk has called ExecuteEnd `ends` times in all; false after a minute.
    bool waitForEnds(int ends = 1) {
        std::unique_lock lock(mMutex);
        return mEnded.wait_for(lock, std::chrono::minutes(1), [&] { return mEnds >= ends; });
    }

    QStringList events() const {
        std::lock_guard lock(mMutex);
        return mEvents;
    }
    std::vector<Row> rows() const {
        std::lock_guard lock(mMutex);
        return mRows;
    }
    int ends() const {
        std::lock_guard lock(mMutex);
        return mEnds;
    }

  private:
    void DeleteAllRows() override {
        std::lock_guard lock(mMutex);
        mEvents.append("clear");
        mRows.clear();
    }
    void AddRow(const QString& text) override {
        std::lock_guard lock(mMutex);
        mEvents.append("add " + text);
        mRows.emplace_back(text, QString());
    }
    void SetCell(int row, int column, const QString& text) override {
        std::lock_guard lock(mMutex);
        mEvents.append(QString("cell %1 %2 %3").arg(row).arg(column).arg(text));
        if (row >= 0 && row < static_cast<int>(mRows.size()) && column == 1) {
            mRows[static_cast<std::size_t>(row)].second = text;
        }
    }
    void Refresh(bool) override {
        std::lock_guard lock(mMutex);
        mEvents.append("refresh");
    }

    mutable std::mutex mMutex;
    std::condition_variable mEnded;
    QStringList mEvents;
    std::vector<Row> mRows;
    int mEnds = 0;
};
