#pragma once
// The main window's toolbar: start a scan, a separator, stop it, a flexible space, export.
// The buttons are made by the constructor and reached through these fields; their icons and
// first enabled states come from the window's Toolbar11_Open. Main thread only.

#include "framework/gui/ToolButton.h"
#include "framework/gui/Toolbar.h"

#include <memory>

class Toolbar1 : public fw::Toolbar {
public:
    Toolbar1();
    ~Toolbar1() override;

    // In toolbar order.
    std::shared_ptr<fw::ToolButton> ToolItem1;  // "アドレス取得": starts a scan
    std::shared_ptr<fw::ToolButton> ToolItem5;  // separator
    std::shared_ptr<fw::ToolButton> ToolItem2;  // "中止": stops the running scan
    std::shared_ptr<fw::ToolButton> ToolItem3;  // flexible space
    std::shared_ptr<fw::ToolButton> ToolItem4;  // "書き出し": writes the result file
};
