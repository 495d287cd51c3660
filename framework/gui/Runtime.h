#pragma once
// The framework's runtime: bringing Qt up and down, the application object, the implicit windows,
// the event loop and what becomes of an exception that leaves a handler. Main thread only.
//
// A run: RuntimeInit, RuntimeInitExternalClasses, RuntimeRegisterAppObject, the default window
// (RuntimeAddImplicitWindow), RuntimeRun; then RuntimeReleaseModuleObjects and RuntimeExit.
//
// Qt lets no exception cross its event loop. So the framework calls every handler that the loop
// reaches (toolbar actions, list paints, menu entries, queued window work) through
// RuntimeCallHandler: an exception is kept and the loop is asked to end, and RuntimeRun throws
// it again once the loop has returned. Then the loop is not entered again, and from that
// exception on no handler runs, not even work that was queued before it; only the listeners of
// the quit (RuntimeCallQuitHandler), which end what must not outlive the loop, still run.

#include <QString>
#include <exception>
#include <functional>
#include <memory>

namespace fw {

class Application;
class Window;

// Brings the runtime up: the Qt application object, made of argc and argv (which must outlive
// the run; Qt takes its own options from them, the program none). An application object that
// is there already (a test's) is used instead. Starts a run afresh: no application object, no
// implicit window (one still held is released and destroyed), no kept exception, and handlers
// run. Until RuntimeExit, SIGTERM, SIGINT and SIGHUP (those the process was not started with
// ignored) call RuntimeQuit (QuitSignals).
void RuntimeInit(int& argc, char** argv);

// Prepares the framework's external classes: Qt's are ready once RuntimeInit has run.
void RuntimeInitExternalClasses();

// Holds app as the application object until RuntimeExit, then raises its "Open" event.
void RuntimeRegisterAppObject(std::shared_ptr<Application> app);
// The application object; null before RuntimeRegisterAppObject.
Application* RuntimeAppObject();

// The implicit window registered under className; null when there is none.
Window* RuntimeGetImplicitWindow(const QString& className);
// Holds window as the implicit window of className until RuntimeReleaseModuleObjects and
// returns it; null (and window is dropped) when className has one already.
Window* RuntimeAddImplicitWindow(const QString& className, std::unique_ptr<Window> window);

// Runs the event loop until the application quits. Throws the exception that a handler raised
// in the loop, once the loop has returned; when one was kept before, throws it at once without
// entering the loop. After a quit asked outside the loop (RuntimeQuit) it returns at once.
void RuntimeRun();

// Quits as File > Quit does, for a quit signal: in the main loop, Qt's quit (a box that is
// shown closes, then the loop ends). Outside it (a box of the start routine's own, before or
// after the loop), every running loop ends, so that the box closes and the steps after it run,
// and RuntimeRun enters the main loop no more.
void RuntimeQuit();

// Calls handler, code of the program that the event loop reached; true when it returned. An
// exception that leaves it is kept for RuntimeRun (the first one only: the loop ends on it) and
// ends the running event loops; false then. From that exception on, and once one has reached
// RuntimeUnhandledException, no handler runs (false at once) until the run starts afresh
// (RuntimeInit) or ends (RuntimeExit), whether or not the exception has been taken: the rest of
// the queued work must not run while the loop ends on an exception, nor in the message box's own
// loop.
bool RuntimeCallHandler(const std::function<void()>& handler);
// Calls handler, a listener of the application's quit (aboutToQuit) that ends what must not
// outlive the event loop: as RuntimeCallHandler, except that it runs even when other handlers no
// longer do. Its exception is kept only when none was before.
bool RuntimeCallQuitHandler(const std::function<void()>& handler);
// Takes the kept exception (null when there is none), so that it is not thrown again.
std::exception_ptr RuntimeTakeHandlerException();

// The unhandled-exception operation: tells the user in a message box what went wrong and that
// the program ends, then returns. The run's exit status is a failure from then on.
void RuntimeUnhandledException(const std::exception_ptr& exception);

// Releases the framework's module-level objects: the implicit windows, last made first, each
// released (Window::Release) while it is whole and then destroyed.
void RuntimeReleaseModuleObjects();

// Shuts the runtime down: releases and destroys the implicit windows still held, drops the
// application object and the Qt application object that RuntimeInit made; handlers run again.
// Returns the exit status: the event loop's, or 1 after an unhandled exception.
int RuntimeExit();

}  // namespace fw
