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
// it again once the loop has returned. Then the loop is not entered again.

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
// implicit window, no kept exception. Until RuntimeExit, SIGTERM, SIGINT and SIGHUP (those the
// process was not started with ignored) call RuntimeQuit (QuitSignals).
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

// Calls handler, code of the program that the event loop reached. An exception that leaves it
// is kept for RuntimeRun (the first one only: the loop ends on it) and ends the running event
// loops; false then. Once an exception has reached RuntimeUnhandledException, no handler runs
// any more until RuntimeExit (false at once): the message box's own loop must not run the
// program's queued work.
bool RuntimeCallHandler(const std::function<void()>& handler);
// Takes the kept exception (null when there is none), so that it is not thrown again.
std::exception_ptr RuntimeTakeHandlerException();

// The unhandled-exception operation: tells the user in a message box what went wrong and that
// the program ends, then returns. The run's exit status is a failure from then on.
void RuntimeUnhandledException(const std::exception_ptr& exception);

// Releases the framework's module-level objects: the implicit windows, last made first.
void RuntimeReleaseModuleObjects();

// Shuts the runtime down: drops the application object and the Qt application object that
// RuntimeInit made. Returns the exit status: the event loop's, or 1 after an unhandled
// exception.
int RuntimeExit();

}  // namespace fw
