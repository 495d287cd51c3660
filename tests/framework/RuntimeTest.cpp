// The framework's runtime: the application object and its "Open", the implicit windows and
// their release, and an exception that leaves a handler the event loop reached: kept, the loop
// ended, no later handler run (the quit listeners aside), thrown again by RuntimeRun, reported by
// the unhandled-exception operation.
#include "framework/Thread.h"
#include "framework/gui/Application.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/MenuBar.h"
#include "framework/gui/MsgBox.h"
#include "framework/gui/Runtime.h"
#include "framework/gui/ToolButton.h"
#include "framework/gui/Toolbar.h"
#include "framework/gui/Window.h"
#include "tests/support/TestRuntime.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

std::string WhatOf(const std::exception_ptr& exception) {
    try {
        std::rethrow_exception(exception);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "(not a std::exception)";
    }
}

// Runs the event loop under a guard against a hang (the loop ends through a handler's exception
// long before) and returns what RuntimeRun threw; null when it threw nothing.
std::exception_ptr RunTheLoop() {
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(60000);
    try {
        fw::RuntimeRun();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

// A run of the runtime on the test's Qt application object.
class Runtime : public ::testing::Test {
protected:
    void SetUp() override { testing_runtime::Init(); }
    void TearDown() override {
        fw::RuntimeReleaseModuleObjects();
        fw::RuntimeExit();
    }
    fw::ScopedMsgBox messages;
};

TEST_F(Runtime, RegisteringTheApplicationRaisesItsOpenOnceAndHoldsItUntilExit) {
    struct OpenCounter : fw::Application {
        int opens = 0;
        void Event_Open() override { ++opens; }
    };
    auto app = std::make_shared<OpenCounter>();
    std::weak_ptr<OpenCounter> held = app;
    fw::RuntimeRegisterAppObject(app);
    EXPECT_EQ(app->opens, 1);
    EXPECT_EQ(fw::RuntimeAppObject(), app.get());
    app.reset();
    EXPECT_FALSE(held.expired());
    EXPECT_EQ(fw::RuntimeExit(), 0);
    EXPECT_TRUE(held.expired());
    EXPECT_EQ(fw::RuntimeAppObject(), nullptr);
}

// A window that records its release and its destruction.
class ReleaseRecordingWindow : public fw::Window {
public:
    ReleaseRecordingWindow(QString name, QStringList& events)
        : mName(std::move(name)), mEvents(events) {
        QObject::connect(this, &QObject::destroyed, [&events, name = mName] {
            EXPECT_EQ(fw::RuntimeGetImplicitWindow(name), nullptr) << "not found while it goes";
            events << name + " destroyed";
        });
    }
    void Release() override { mEvents << mName + " released"; }

private:
    QString mName;
    QStringList& mEvents;
};

TEST_F(Runtime, ImplicitWindowsAreFoundByClassNameAndReleasedLastMadeFirst) {
    QStringList events;
    auto make = [&](const QString& name) {
        return std::make_unique<ReleaseRecordingWindow>(name, events);
    };
    EXPECT_EQ(fw::RuntimeGetImplicitWindow("A.A"), nullptr);
    fw::Window* a = fw::RuntimeAddImplicitWindow("A.A", make("A.A"));
    fw::Window* b = fw::RuntimeAddImplicitWindow("B.B", make("B.B"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(fw::RuntimeGetImplicitWindow("A.A"), a);
    EXPECT_EQ(fw::RuntimeGetImplicitWindow("B.B"), b);
    EXPECT_EQ(fw::RuntimeAddImplicitWindow("A.A", std::make_unique<fw::Window>()), nullptr);
    EXPECT_EQ(fw::RuntimeGetImplicitWindow("A.A"), a) << "the first one stays";

    fw::RuntimeReleaseModuleObjects();
    EXPECT_EQ(events.join(", ").toStdString(),
              "B.B released, B.B destroyed, A.A released, A.A destroyed")
        << "each released while it is whole, then destroyed";
    EXPECT_EQ(fw::RuntimeGetImplicitWindow("A.A"), nullptr);
}

TEST_F(Runtime, AWindowStillHeldWhenTheRunEndsOrStartsAfreshIsReleasedBeforeItGoes) {
    for (const bool byExit : {true, false}) {
        SCOPED_TRACE(byExit ? "RuntimeExit" : "RuntimeInit");
        QStringList events;
        fw::RuntimeAddImplicitWindow("A.A",
                                     std::make_unique<ReleaseRecordingWindow>("A.A", events));
        if (byExit) {
            fw::RuntimeExit();
        } else {
            testing_runtime::Init();
        }
        EXPECT_EQ(events.join(", ").toStdString(), "A.A released, A.A destroyed");
        testing_runtime::Init();  // a run again, for the next case and the fixture's end
    }
}

// Raises, in a window of its own, an event of each kind whose handler throws.
struct HandlerCase {
    const char* name;
    std::function<void(fw::Window&)> raise;  // runs in the event loop
};

void ClickThrowingToolButton(fw::Window& window) {
    auto* toolbar =
        static_cast<fw::Toolbar*>(window._AddControl("Tools", std::make_unique<fw::Toolbar>()));
    auto item = std::make_shared<fw::ToolButton>();
    item->SetName("Item");
    toolbar->Append(item);
    EXPECT_TRUE(toolbar->_InstallInstanceEventHandler<void(fw::ToolItem&)>(
        "Action", [](fw::ToolItem&) { throw std::runtime_error("from a toolbar"); }));
    window.Show();
    QTest::mouseClick(
        qobject_cast<QToolButton*>(toolbar->ToolBarWidget()->widgetForAction(item->Action())),
        Qt::LeftButton);
}

void PaintThrowingList(fw::Window& window) {
    auto* list =
        static_cast<fw::Listbox*>(window._AddControl("List", std::make_unique<fw::Listbox>()));
    list->_SetProperties({{"Width", 200}, {"Height", 100}});
    list->AddRow("a");
    EXPECT_TRUE(list->_InstallInstanceEventHandler<bool(fw::Graphics&, int, int)>(
        "CellBackgroundPaint",
        [](fw::Graphics&, int, int) -> bool { throw std::runtime_error("from a paint"); }));
    window.Show();
    list->Widget()->grab();  // paints every cell: many throws, one kept
}

void ChooseThrowingMenuEntry(fw::Window& window) {
    struct Throwing : fw::MenuItem {
        void Event_Action(QWidget*) override { throw std::runtime_error("from a menu"); }
    };
    auto bar = std::make_shared<fw::MenuBar>();
    auto menu = std::make_shared<fw::MenuItem>();
    menu->SetText("Menu");
    auto entry = std::make_shared<Throwing>();
    entry->SetName("Entry");
    entry->SetText("Entry");
    menu->Append(entry);
    bar->Append(menu);
    window.SetMenuBar(bar);
    window.Widget()->menuBar()->findChild<QAction*>("Entry")->trigger();
}

class ThrowingHandler : public Runtime, public ::testing::WithParamInterface<HandlerCase> {};

TEST_P(ThrowingHandler, EndsTheLoopAndRuntimeRunThrowsItOnce) {
    fw::Window window;
    QTimer raise;
    raise.setSingleShot(true);
    QObject::connect(&raise, &QTimer::timeout, [&] { GetParam().raise(window); });
    raise.start(0);

    const std::exception_ptr thrown = RunTheLoop();
    ASSERT_NE(thrown, nullptr);
    EXPECT_EQ(WhatOf(thrown), std::string("from a ") + GetParam().name);
    EXPECT_EQ(fw::RuntimeTakeHandlerException(), nullptr) << "handed over once";
}

INSTANTIATE_TEST_SUITE_P(Handlers, ThrowingHandler,
                         ::testing::Values(HandlerCase{"toolbar", ClickThrowingToolButton},
                                           HandlerCase{"paint", PaintThrowingList},
                                           HandlerCase{"menu", ChooseThrowingMenuEntry}),
                         [](const ::testing::TestParamInfo<HandlerCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Runtime, AnExceptionKeptBeforeTheLoopKeepsTheLoopFromRunning) {
    EXPECT_TRUE(fw::RuntimeCallHandler([] {}));
    EXPECT_FALSE(fw::RuntimeCallHandler([] { throw std::runtime_error("first"); }));
    EXPECT_FALSE(fw::RuntimeCallHandler([] { throw std::runtime_error("second"); }));
    bool looped = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        looped = true;
        QCoreApplication::exit(0);
    });
    timer.start(0);

    std::exception_ptr thrown;
    try {
        fw::RuntimeRun();
    } catch (...) {
        thrown = std::current_exception();
    }
    EXPECT_FALSE(looped);
    ASSERT_NE(thrown, nullptr);
    EXPECT_EQ(WhatOf(thrown), "first");
}

// Four calls queued from another thread, as a walk queues its list work, one of them throwing;
// a quit listener that throws too.
struct QueuedThrowCase {
    const char* name;
    int throwing;                  // index of the call that throws
    std::vector<std::string> ran;  // what ran, in order
};

void PrintTo(const QueuedThrowCase& c, std::ostream* out) {
    *out << "call " << c.throwing << " throws";
}

class QueuedHandlerThrows : public Runtime,
                            public ::testing::WithParamInterface<QueuedThrowCase> {};

TEST_P(QueuedHandlerThrows, NoLaterCallRunsButTheQuitListenersAreStillCalled) {
    QObject context;
    std::vector<std::string> ran;
    const int throwing = GetParam().throwing;
    std::thread([&] {
        for (int i = 0; i < 4; ++i) {
            fw::RunOnThreadOf(&context, [&ran, i, throwing] {
                fw::RuntimeCallHandler([&ran, i, throwing] {
                    ran.push_back(std::to_string(i));
                    if (i == throwing) {
                        throw std::runtime_error("from call " + std::to_string(i));
                    }
                });
            });
        }
    }).join();
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &context, [&ran] {
        fw::RuntimeCallQuitHandler([&ran] {
            ran.push_back("quit");
            throw std::runtime_error("from the quit");
        });
    });

    const std::exception_ptr thrown = RunTheLoop();
    EXPECT_EQ(ran, GetParam().ran);
    ASSERT_NE(thrown, nullptr);
    EXPECT_EQ(WhatOf(thrown), "from call " + std::to_string(throwing)) << "the first one stands";
    EXPECT_FALSE(fw::RuntimeCallHandler([&ran] { ran.push_back("later"); }));
    EXPECT_EQ(ran, GetParam().ran) << "nor after the run";
}

INSTANTIATE_TEST_SUITE_P(Handlers, QueuedHandlerThrows,
                         ::testing::Values(QueuedThrowCase{"First", 0, {"0", "quit"}},
                                           QueuedThrowCase{"Second", 1, {"0", "1", "quit"}},
                                           QueuedThrowCase{
                                               "Last", 3, {"0", "1", "2", "3", "quit"}}),
                         [](const ::testing::TestParamInfo<QueuedThrowCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Runtime, AfterAKeptExceptionHandlersRunAgainOnlyOnceTheRunEndsOrStartsAfresh) {
    for (const bool byExit : {true, false}) {
        SCOPED_TRACE(byExit ? "RuntimeExit" : "RuntimeInit");
        int runs = 0;
        EXPECT_FALSE(fw::RuntimeCallHandler([] { throw std::runtime_error("kept"); }));
        EXPECT_NE(fw::RuntimeTakeHandlerException(), nullptr);
        EXPECT_FALSE(fw::RuntimeCallHandler([&runs] { ++runs; }));
        EXPECT_EQ(runs, 0) << "taking the exception does not let handlers run";
        if (byExit) {
            EXPECT_EQ(fw::RuntimeExit(), 0) << "no unhandled exception: the loop's status";
        } else {
            testing_runtime::Init();
        }
        EXPECT_TRUE(fw::RuntimeCallHandler([&runs] { ++runs; }));
        EXPECT_EQ(runs, 1);
    }
}

TEST_F(Runtime, TheUnhandledExceptionOperationTellsTheUserAndTheRunFails) {
    fw::RuntimeUnhandledException(std::make_exception_ptr(std::runtime_error("disk on fire")));
    fw::RuntimeUnhandledException(std::make_exception_ptr(42));
    EXPECT_EQ(messages.Texts(),
              (QStringList{"予期しないエラーが起きたため、終了します。\ndisk on fire",
                           "予期しないエラーが起きたため、終了します。"}));
    EXPECT_EQ(fw::RuntimeExit(), 1);
}

TEST_F(Runtime, AQuitRunIsASuccess) {
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    fw::RuntimeRun();
    EXPECT_EQ(fw::RuntimeExit(), 0);
}

TEST(RuntimeUnhandled, NoQueuedHandlerRunsWhileTheBoxIsShownNorAfter) {
    testing_runtime::Init();
    QObject context;
    bool ran = false;
    // Queued from another thread before the exception reaches the handler, as a scan's list
    // work and its end are.
    std::thread([&] {
        fw::RunOnThreadOf(&context, [&] { fw::RuntimeCallHandler([&] { ran = true; }); });
    }).join();

    // The real box, whose own loop takes queued work: it is closed on the second look after it
    // shows, so that the work queued before has had its turn.
    int looks = 0;
    bool shown = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        ++looks;
        if (QWidget* box = QApplication::activeModalWidget()) {
            if (shown || looks > 3000) {
                box->close();
            }
            shown = true;
        }
    });
    closer.start(10);
    fw::RuntimeUnhandledException(std::make_exception_ptr(std::runtime_error("boom")));
    closer.stop();

    EXPECT_TRUE(shown) << "the box was shown";
    EXPECT_FALSE(ran) << "queued handler work ran in the box's loop";
    EXPECT_FALSE(fw::RuntimeCallHandler([&] { ran = true; }));
    EXPECT_FALSE(ran) << "nor after the box";
    EXPECT_EQ(fw::RuntimeExit(), 1);
    EXPECT_TRUE(fw::RuntimeCallHandler([] {})) << "the next run's handlers run";
}

// A quit that comes while a box of the start routine's own is shown, outside the main loop (as
// a quit signal's does while the unhandled-exception box waits): the box closes, and the main
// loop is not entered after it.
TEST(RuntimeQuitOutsideTheLoop, ClosesTheBoxAndTheMainLoopIsNotEntered) {
    testing_runtime::Init();
    QTimer quit;
    QObject::connect(&quit, &QTimer::timeout, [] {
        if (QApplication::activeModalWidget() != nullptr) {
            fw::RuntimeQuit();
        }
    });
    quit.start(10);
    // Only a guard against a hang: the box that stays waits for a click.
    bool clicked = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            clicked = true;
            box->close();
        }
    });
    guard.start(30000);
    fw::MsgBox("ready to quit");
    quit.stop();
    EXPECT_FALSE(clicked) << "the quit did not close the box";

    bool looped = false;
    QTimer::singleShot(0, [&] {
        looped = true;
        QCoreApplication::exit(0);
    });
    fw::RuntimeRun();
    EXPECT_FALSE(looped) << "the main loop ran after the quit";
    EXPECT_EQ(fw::RuntimeExit(), 0);
    // Qt holds the quit for every later loop of the process until its main loop has run again:
    // once, for the tests after this one.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

}  // namespace
