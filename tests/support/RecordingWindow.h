#pragma once
// A window for walks without widgets: it records what the walk does to the list, in order,
// keeps the rows, and lets a test wait for the end of a walk, up to a bound. Safe on any thread.

#include "scan/ScanWindow.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class RecordingWindow : public ScanWindow, private ResultList {
public:
    using Row = std::pair<QString, QString>;

    ResultList& ListBox1() override { return *this; }

    void ExecuteEnd() override {
        {
            std::lock_guard lock(mMutex);
            mEvents.append("end");
        }
        mEnds.fetch_add(1, std::memory_order_release);
    }

    // Waits until the walk has called ExecuteEnd `ends` times in all; false when it has not
    // within the bound, which lies far beyond any walk of the tests, so that a lost end fails the
    // test instead of hanging it. Polls an atomic rather than waiting on a condition variable:
    // ThreadSanitizer sees the hand-over through it, while it misreads libstdc++'s
    // condition-variable waits.
    bool waitForEnds(int ends = 1, std::chrono::milliseconds bound = std::chrono::seconds(60)) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (mEnds.load(std::memory_order_acquire) < ends) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    QStringList events() const {
        std::lock_guard lock(mMutex);
        return mEvents;
    }
    std::vector<Row> rows() const {
        std::lock_guard lock(mMutex);
        return mRows;
    }
    int ends() const { return mEnds.load(std::memory_order_acquire); }

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
    QStringList mEvents;
    std::vector<Row> mRows;
    std::atomic<int> mEnds{0};
};
