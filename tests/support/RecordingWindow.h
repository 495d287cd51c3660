#pragma once
// A window for walks without widgets: it records what the walk does to the list, in order,
// keeps the rows, and lets a test wait for the end of a walk, up to a bound. Safe on any thread.

#include "scan/ScanWindow.h"

#include <QString>
#include <QStringList>
#include <atomic>
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

    // Notifies under the lock: a waiter, which may destroy the window once it returns, cannot
    // return before the walk is done with it.
    void ExecuteEnd() override {
        std::lock_guard lock(mMutex);
        mEvents.append("end");
        mEnds.fetch_add(1, std::memory_order_release);
        mEnded.notify_all();
    }

    // Waits until the walk has called ExecuteEnd `ends` times in all; false when it has not
    // within the bound, which lies far beyond any walk of the tests, so that a lost end fails the
    // test instead of hanging it. Blocks rather than polls, so that a benchmark's wait costs no
    // CPU beside the walk it measures. The end is handed over through the atomic, not through the
    // mutex alone: once a thread has started a QProcess (a clone that shares its memory),
    // ThreadSanitizer misses that thread's side of a hand-over through a mutex and reports a race,
    // while it still follows one through an atomic.
    bool waitForEnds(int ends = 1, std::chrono::milliseconds bound = std::chrono::seconds(60)) {
        std::unique_lock lock(mMutex);
        return mEnded.wait_for(lock, bound,
                               [&] { return mEnds.load(std::memory_order_acquire) >= ends; });
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
    std::condition_variable mEnded;
    QStringList mEvents;
    std::vector<Row> mRows;
    std::atomic<int> mEnds{0};
};
