#include "framework/gui/Runtime.h"

#include "framework/gui/Application.h"
#include "framework/gui/MsgBox.h"
#include "framework/gui/QuitSignals.h"
#include "framework/gui/Window.h"

#include <QApplication>
#include <QThread>
#include <utility>
#include <vector>

namespace fw {

namespace {

struct ImplicitWindow {
    QString className;
    std::unique_ptr<Window> window;
};

// Releases and destroys windows, last made first. Each leaves the list first: nobody finds a
// window while it is released or destroyed.
void ReleaseWindows(std::vector<ImplicitWindow>& windows) {
    while (!windows.empty()) {
        std::unique_ptr<Window> window = std::move(windows.back().window);
        windows.pop_back();
        window->Release();  // before any of its destructors has run
        window.reset();
    }
}

// Declared so that at a process exit without RuntimeExit the windows still go before Qt does.
struct RuntimeState {
    ~RuntimeState() { ReleaseWindows(implicitWindows); }

    std::unique_ptr<QApplication> ownApplication;  // null when someone else made Qt's
    std::unique_ptr<QuitSignals> quitSignals;      // goes before the application object
    std::shared_ptr<Application> app;
    std::vector<ImplicitWindow> implicitWindows;
    std::exception_ptr handlerException;
    int loopResult = 0;
    bool unhandled = false;        // the exit status is a failure
    bool handlersStopped = false;  // an exception left a handler: only quit listeners run
    bool inMainLoop = false;       // RuntimeRun's loop runs (a box's loop within it too)
    bool quitRequested = false;    // asked outside the main loop: it is not entered any more
};

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

bool CallKeepingTheException(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (...) {
        RuntimeState& state = State();
        if (state.handlerException == nullptr) {
            state.handlerException = std::current_exception();
        }
        // At once: the work queued behind this handler would still run in this turn of the loop,
        // which the exit does not cut short.
        state.handlersStopped = true;
        // Only a running loop can be ended; one that is yet to run sees the kept exception.
        if (QThread::currentThread()->loopLevel() > 0) {
            QCoreApplication::exit(1);
        }
        return false;
    }
}

}  // namespace

void RuntimeInit(int& argc, char** argv) {
    RuntimeState& state = State();
    state.app.reset();
    ReleaseWindows(state.implicitWindows);
    state.handlerException = nullptr;
    state.loopResult = 0;
    state.unhandled = false;
    state.handlersStopped = false;
    state.quitRequested = false;
    state.quitSignals.reset();
    if (QCoreApplication::instance() == nullptr) {
        state.ownApplication = std::make_unique<QApplication>(argc, argv);
    }
    state.quitSignals = std::make_unique<QuitSignals>(RuntimeQuit);
}

void RuntimeInitExternalClasses() {}

void RuntimeRegisterAppObject(std::shared_ptr<Application> app) {
    State().app = std::move(app);
    if (State().app != nullptr) {
        State().app->_CallOpen();
    }
}

Application* RuntimeAppObject() {
    return State().app.get();
}

Window* RuntimeGetImplicitWindow(const QString& className) {
    for (const ImplicitWindow& entry : State().implicitWindows) {
        if (entry.className == className) {
            return entry.window.get();
        }
    }
    return nullptr;
}

Window* RuntimeAddImplicitWindow(const QString& className, std::unique_ptr<Window> window) {
    if (window == nullptr || RuntimeGetImplicitWindow(className) != nullptr) {
        return nullptr;
    }
    State().implicitWindows.push_back({className, std::move(window)});
    return State().implicitWindows.back().window.get();
}

void RuntimeRun() {
    RuntimeState& state = State();
    if (state.handlerException == nullptr && !state.quitRequested) {
        state.inMainLoop = true;
        state.loopResult = QApplication::exec();
        state.inMainLoop = false;
    }
    if (std::exception_ptr exception = RuntimeTakeHandlerException()) {
        std::rethrow_exception(exception);
    }
}

bool RuntimeCallHandler(const std::function<void()>& handler) {
    if (State().handlersStopped) {
        return false;
    }
    return CallKeepingTheException(handler);
}

bool RuntimeCallQuitHandler(const std::function<void()>& handler) {
    return CallKeepingTheException(handler);
}

void RuntimeQuit() {
    RuntimeState& state = State();
    if (state.inMainLoop) {
        QCoreApplication::quit();  // closes a box that is shown, then ends the loop
        return;
    }
    // Qt's quit does nothing outside its main loop: a box shown there (the unhandled-exception
    // box) would stay until someone clicks it. Ending every running loop closes it, and the
    // shutdown that follows it goes on.
    state.quitRequested = true;
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(0);
    }
}

std::exception_ptr RuntimeTakeHandlerException() {
    return std::exchange(State().handlerException, nullptr);
}

void RuntimeUnhandledException(const std::exception_ptr& exception) {
    State().unhandled = true;
    State().handlersStopped = true;  // before the box, whose loop would run queued handlers
    QString what;
    try {
        if (exception != nullptr) {
            std::rethrow_exception(exception);
        }
    } catch (const std::exception& error) {
        what = QString::fromUtf8(error.what());
    } catch (...) {
        // No text to show: the first line says enough.
    }
    QString text = QStringLiteral("予期しないエラーが起きたため、終了します。");
    if (!what.isEmpty()) {
        text += u'\n' + what;
    }
    MsgBox(text);
}

void RuntimeReleaseModuleObjects() {
    ReleaseWindows(State().implicitWindows);
}

int RuntimeExit() {
    RuntimeState& state = State();
    const int status = state.unhandled ? 1 : state.loopResult;
    state.unhandled = false;
    state.handlersStopped = false;
    state.quitRequested = false;
    state.app.reset();
    ReleaseWindows(state.implicitWindows);
    state.handlerException = nullptr;
    state.quitSignals.reset();
    state.ownApplication.reset();
    return status;
}

}  // namespace fw
