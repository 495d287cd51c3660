#pragma once
// The life of the process, from the runtime's start to its exit status, in fixed steps. Main
// thread only; each step runs once per run, in the order Main gives.

namespace Startup {

// The main routine: RuntimeInit, ModuleInitialize, _Main, ModuleFinalize, RuntimeExit. Returns
// the runtime's exit status. argc and argv go to Qt only: the program takes no arguments.
int Main(int& argc, char** argv);

// Module initialisation: the four known-host tables, empty.
void ModuleInitialize();
// Module finalisation, in this order: the six toolbar picture caches, the framework's
// module-level objects (the main window with them, released first: a walk still running is
// stopped and waited for), the shared menu bar, the module data of Global1.
void ModuleFinalize();

// The start routine: the steps below, then the event loop, under one handler. An exception
// that reaches it goes once to the unhandled-exception operation; it then returns normally, and
// the event loop is not entered again.
void _Main();

// Registers the document file types: there are none.
void _InitFileTypes();
// Makes the application object, gives it the shared menu bar and registers it; its "Open"
// handler (the host file) runs there, before any window exists.
void _NewAppInstance();
// Installs application-level menu handlers: there are none.
void _ApplicationAddMenuHandlers();
// Makes the main window, the default window.
void _MakeDefaultView();

}  // namespace Startup
