#pragma once
// A toolbar button: a ToolItem that anyone can make.

#include "framework/gui/ToolItem.h"

namespace fw {

class ToolButton : public ToolItem {
public:
    ToolButton() = default;
};

}  // namespace fw
