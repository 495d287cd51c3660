#pragma once
// What a user does to the main window, done through its widgets: clicks on toolbar buttons,
// typing into a combo box, the close button, the quit shortcut. Main thread only.

#include "app/Window1.h"
#include "framework/gui/ComboBox.h"
#include "framework/gui/ToolButton.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

namespace user {

// The button that shows item on the window's toolbar; null for a separator or a space.
inline QToolButton* ButtonOf(const Window1& window, const std::shared_ptr<fw::ToolButton>& item) {
    auto* bar = static_cast<QToolBar*>(window.Toolbar11()->Widget());
    return qobject_cast<QToolButton*>(bar->widgetForAction(item->Action()));
}

// A left click on item's button (a disabled button takes none).
inline void Click(const Window1& window, const std::shared_ptr<fw::ToolButton>& item) {
    QTest::mouseClick(ButtonOf(window, item), Qt::LeftButton);
}

// Replaces the text of box's field by typing.
inline void TypeInto(fw::ComboBox* box, const QString& text) {
    QLineEdit* field = static_cast<QComboBox*>(box->Widget())->lineEdit();
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

// The title bar's close button.
inline void CloseWindow(const Window1& window) {
    window.Widget()->close();
}

// File > Quit through its shortcut, Ctrl+Q (the command key on macOS).
inline void PressQuit(const Window1& window) {
    // A shortcut reaches only the active window; a user's is active before they press a key.
    QMainWindow* widget = window.Widget();
    widget->activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(widget);
    QTest::keyClick(widget, Qt::Key_Q, Qt::ControlModifier);
}

}  // namespace user
