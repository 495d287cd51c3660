#pragma once
// A menu bar: the root of a menu tree, its children the menus from left to right. A window
// shows it with Window::SetMenuBar.

#include "framework/gui/MenuItem.h"

namespace fw {

class MenuBar : public MenuItem {};

}  // namespace fw
