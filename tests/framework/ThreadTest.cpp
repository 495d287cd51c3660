// Threads: Run starts the body on a thread of its own, a start right after a body has ended is
// not lost, and work handed to another thread runs there in the order it was handed over.
#include "framework/Thread.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/HangGuard.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// A body that records where it ran, tells when its work is done, and then (like a scan thread
// after ExecuteEnd) still takes a moment before it really ends.
class Body : public fw::Thread {
public:
    ~Body() override { Wait(); }

    std::atomic<int> runs{0};
    std::atomic<QThread*> ranOn{nullptr};

    // Waits until the body has done its work `count` times in all; false when it has not within
    // half a minute, far beyond a body's few milliseconds even on a loaded machine, so that a lost
    // run fails the test instead of hanging it.
    [[nodiscard]] bool waitForRuns(int count) {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(30),
                                 [&] { return runs.load() >= count; });
    }

    // While closed, the body waits at its start.
    void close() {
        std::lock_guard lock(mMutex);
        mGateOpen = false;
    }
    void open() {
        {
            std::lock_guard lock(mMutex);
            mGateOpen = true;
        }
        mChanged.notify_all();
    }

protected:
    void Event_Run() override {
        {
            std::unique_lock lock(mMutex);
            mChanged.wait(lock, [&] { return mGateOpen; });
        }
        ranOn = QThread::currentThread();
        {
            std::lock_guard lock(mMutex);
            ++runs;
        }
        mChanged.notify_all();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // still finishing
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    bool mGateOpen = true;
};

TEST(ThreadTest, RunStartsTheBodyOnAnotherThreadAndReturns) {
    Body body;
    EXPECT_FALSE(body.IsRunning());
    body.close();
    body.Run();  // returns although the body cannot go on yet
    EXPECT_TRUE(body.IsRunning());
    EXPECT_EQ(body.runs, 0);
    body.open();
    body.Wait();
    EXPECT_FALSE(body.IsRunning());
    EXPECT_EQ(body.runs, 1);
    EXPECT_NE(body.ranOn.load(), QThread::currentThread());
}

TEST(ThreadTest, ARunRightAfterTheBodysWorkIsNotLost) {
    Body body;
    body.Run();
    // The body has done its work but has not ended yet.
    ASSERT_TRUE(body.waitForRuns(1)) << "waited for the body to do the work of its first run";
    body.Run();
    body.Wait();
    EXPECT_EQ(body.runs, 2);
}

TEST(ThreadTest, AStartTheSystemRefusesLeavesTheThreadIdle) {
    const HangGuard guard("Wait after a refused start", std::chrono::seconds(30));
    Body body;
    {
        const fw::ScopedFailingThreadStart failing;
        EXPECT_FALSE(body.Run());
    }
    EXPECT_FALSE(body.IsRunning());
    body.Wait();  // nothing to wait for
    EXPECT_EQ(body.runs, 0);

    EXPECT_TRUE(body.Run()) << "the next start, given a thread, runs";
    body.Wait();
    EXPECT_EQ(body.runs, 1);
}

TEST(ThreadTest, UnderAProcessLimitTheStartFailsAndTheThreadStaysIdle) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "ThreadSanitizer does not follow a forked child's threads";
#else
    // In a child: the limit is the user's. Root is above it, so the child becomes nobody.
    const ChildOutcome outcome = RunInChild([] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return QByteArray("not nobody");
        }
        const rlimit none{0, 0};
        if (::setrlimit(RLIMIT_NPROC, &none) != 0) {
            return QByteArray("no limit");
        }
        Body body;
        const bool started = body.Run();
        const bool running = body.IsRunning();
        body.Wait();
        return QByteArray(started ? "started" : "refused") + (running ? " running" : " idle") +
               " runs " + QByteArray::number(body.runs.load());
    });
    ASSERT_TRUE(outcome.Exited()) << outcome.what.toStdString();
    EXPECT_EQ(outcome.report, "refused idle runs 0");
#endif
}

TEST(RunOnThreadOfTest, RunsAtOnceOnTheContextsOwnThread) {
    QObject context;
    bool ran = false;
    fw::RunOnThreadOf(&context, [&ran] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(RunOnThreadOfTest, TasksFromAWorkerRunOnTheMainThreadInOrder) {
    QObject context;
    QEventLoop loop;
    constexpr int kTasks = 200;
    std::vector<int> order;
    bool allOnMain = true;
    QThread* const main = QThread::currentThread();

    std::thread worker([&] {
        for (int i = 0; i < kTasks; ++i) {
            fw::RunOnThreadOf(&context, [&, i] {
                order.push_back(i);
                allOnMain = allOnMain && QThread::currentThread() == main;
                if (i == kTasks - 1) {
                    loop.quit();
                }
            });
        }
    });
    QTimer::singleShot(30'000, &loop, &QEventLoop::quit);  // a fault fails instead of hanging
    loop.exec();
    worker.join();

    std::vector<int> expected(kTasks);
    for (int i = 0; i < kTasks; ++i) {
        expected[i] = i;
    }
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(allOnMain);
}

TEST(RunOnThreadOfTest, TasksForAContextThatIsGoneAreDropped) {
    auto context = std::make_unique<QObject>();
    bool ran = false;
    std::thread worker([&] { fw::RunOnThreadOf(context.get(), [&ran] { ran = true; }); });
    worker.join();
    context.reset();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

}  // namespace
