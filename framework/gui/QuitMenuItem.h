#pragma once
// The quit entry of a menu: choosing it quits the application (its event loop returns).

#include "framework/gui/MenuItem.h"

namespace fw {

class QuitMenuItem : public MenuItem {
public:
    void Event_Action(QWidget* window) override;
    QAction::MenuRole Role() const override { return QAction::QuitRole; }
};

}  // namespace fw
