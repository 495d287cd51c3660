#pragma once
// The framework's threads: Event_Run runs on a thread of its own (a QThread) when Run is called.
// Run, IsRunning and Wait are called on one controlling thread (the main thread).

#include "framework/ScopedOverride.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace fw {

class Thread {
public:
    Thread();
    virtual ~Thread();  // a subclass must Wait() in its own destructor: Event_Run is its code
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts Event_Run on a new thread and returns at once: true. A body that is still finishing
    // is waited for first, so a start is never lost. False when the system gives no thread (a
    // process limit, no memory): Event_Run does not run and the object stays idle.
    bool Run();
    bool IsRunning() const;
    void Wait();

protected:
    virtual void Event_Run() = 0;

private:
    // Whether the body is running, told through an atomic so that the end of a body visibly
    // happens before Wait returns (ThreadSanitizer cannot see inside QThread::wait).
    std::shared_ptr<std::atomic<bool>> mRunning = std::make_shared<std::atomic<bool>>(false);
    std::unique_ptr<QThread> mThread;
};

// Test seam: while it lives, every Run asks for a stack size that the system refuses, so that
// the start fails in Qt as it does under a process limit. Not used by the program.
class ScopedFailingThreadStart : ScopedOverride<bool> {
public:
    ScopedFailingThreadStart();
};

// The yield: lets the other threads run.
void RuntimeBackgroundTask();

// Runs task on context's thread: at once when the caller is on that thread, otherwise queued
// there behind everything the caller queued before. Dropped when context is destroyed first.
void RunOnThreadOf(QObject* context, std::function<void()> task);

}  // namespace fw
