#pragma once
// The program's menu bar: File (Quit) and Edit (Undo, a separator, Cut, Copy, Paste, Clear).
// One instance is shared by the application and the main window. Main thread only.

#include "framework/gui/MenuBar.h"

#include <memory>

class MenuBar1 : public fw::MenuBar {
public:
    // Builds the File menu, then the Edit menu.
    MenuBar1();

    // The shared instance, made on first use.
    static std::shared_ptr<MenuBar1> Instance();
    // Shutdown: drops the shared instance.
    static void ReleaseInstance();

    void Untitled1();  // the File menu
    void Untitled2();  // the Edit menu
};
