#include "framework/Thread.h"

#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <mutex>
#include <utility>

namespace fw {

namespace {

// Held by a poster across the post and passed by the task before it touches its function, run
// or dropped: so the handoff is visible to ThreadSanitizer, which cannot see the locks inside
// Qt's event queue. Recursive because the poster's moved-from copies end while it holds it.
std::recursive_mutex gPostMutex;

struct QueuedTask {
    std::function<void()> task;

    explicit QueuedTask(std::function<void()> function) : task(std::move(function)) {}
    QueuedTask(QueuedTask&&) = default;
    QueuedTask(const QueuedTask&) = delete;
    QueuedTask& operator=(const QueuedTask&) = delete;
    QueuedTask& operator=(QueuedTask&&) = delete;
    ~QueuedTask() { std::lock_guard lock(gPostMutex); }

    void operator()() {
        { std::lock_guard lock(gPostMutex); }
        task();
    }
};

Seam<bool> gFailingStarts;

}  // namespace

Thread::Thread() = default;

// Only a safety net: by now the subclass part is gone, so a body still running would be wrong.
Thread::~Thread() {
    Wait();
}

bool Thread::Run() {
    Wait();
    mRunning->store(true, std::memory_order_release);
    mThread.reset(QThread::create([this, running = mRunning] {
        Event_Run();
        running->store(false, std::memory_order_release);
        running->notify_all();
    }));
    if (gFailingStarts.Get()) {
        mThread->setStackSize(1);
    }
    mThread->start();
    // QThread::start reports a refused thread only as a warning, leaving the thread neither
    // running nor finished; one that has already run through is finished.
    if (!mThread->isRunning() && !mThread->isFinished()) {
        mThread.reset();
        mRunning->store(false, std::memory_order_release);
        return false;
    }
    return true;
}

bool Thread::IsRunning() const {
    return mThread != nullptr && mThread->isRunning();
}

void Thread::Wait() {
    if (mThread == nullptr) {
        return;
    }
    mRunning->wait(true, std::memory_order_acquire);
    mThread->wait();
}

ScopedFailingThreadStart::ScopedFailingThreadStart() : ScopedOverride(gFailingStarts, true) {}

void RuntimeBackgroundTask() {
    // The yield is a system call (about half a microsecond), dearer than a lookup's work on one
    // table entry. Our threads are preemptive, so the scheduler lets the others run in any case
    // and the yield only offers the processor early: offering it once per interval is enough, and
    // keeps loops that yield per entry cheap.
    constexpr auto kInterval = std::chrono::microseconds(100);
    thread_local std::chrono::steady_clock::time_point lastYield;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastYield < kInterval) {
        return;
    }
    lastYield = now;
    QThread::yieldCurrentThread();
}

void RunOnThreadOf(QObject* context, std::function<void()> task) {
    if (context == nullptr || !task) {
        return;
    }
    if (context->thread() == QThread::currentThread()) {
        task();
        return;
    }
    std::lock_guard lock(gPostMutex);
    QMetaObject::invokeMethod(context, QueuedTask{std::move(task)}, Qt::QueuedConnection);
}

}  // namespace fw
