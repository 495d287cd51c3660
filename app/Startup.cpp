#include "app/Startup.h"

#include "app/App.h"
#include "app/MenuBar1.h"
#include "app/Pictures.h"
#include "app/Window1.h"
#include "framework/gui/Runtime.h"
#include "scan/Global1.h"

#include <exception>
#include <memory>

namespace Startup {

namespace {

// Shell is linked into the program, so there is nothing to look up at run time: every one of
// its operations is there before the first scan.
void BindShellComponent() {}

}  // namespace

int Main(int& argc, char** argv) {
    fw::RuntimeInit(argc, argv);
    ModuleInitialize();
    _Main();
    ModuleFinalize();
    return fw::RuntimeExit();
}

void ModuleInitialize() {
    // The classes need no records of their own at run time: C++ has built them.
    Global1::InitializeGlobals();
}

void ModuleFinalize() {
    Pictures::ReleasePictures();
    fw::RuntimeReleaseModuleObjects();
    MenuBar1::ReleaseInstance();
    Global1::FinalizeGlobals();
}

void _Main() {
    try {
        fw::RuntimeInitExternalClasses();
        BindShellComponent();
        _InitFileTypes();
        _NewAppInstance();
        _ApplicationAddMenuHandlers();
        _MakeDefaultView();
        fw::RuntimeRun();
    } catch (...) {
        fw::RuntimeUnhandledException(std::current_exception());
    }
}

void _InitFileTypes() {}

void _NewAppInstance() {
    auto app = std::make_shared<App>();
    app->SetMenuBar(MenuBar1::Instance());
    fw::RuntimeRegisterAppObject(std::move(app));
}

void _ApplicationAddMenuHandlers() {}

void _MakeDefaultView() {
    Window1::Instance();
}

}  // namespace Startup
