#include "framework/gui/ToolbarView.h"

#include "framework/gui/ToolItem.h"
#include "framework/gui/Toolbar.h"

#include <QEvent>
#include <QToolButton>
#include <QToolTip>

namespace fw {

ToolbarView::ToolbarView(Toolbar& toolbar) : mToolbar(toolbar) {}

void ToolbarView::WatchButton(QAction* action) {
    if (QWidget* button = widgetForAction(action)) {
        button->installEventFilter(this);
    }
}

bool ToolbarView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* button = qobject_cast<QToolButton*>(watched);
        const QAction* action = button != nullptr ? button->defaultAction() : nullptr;
        for (int i = 0; action != nullptr && i < mToolbar.Count(); ++i) {
            const ToolItem* item = mToolbar.Item(i);
            if (item->Action() == action && item->HelpTag().isEmpty()) {
                QToolTip::hideText();
                return true;
            }
        }
    }
    return QToolBar::eventFilter(watched, event);
}

}  // namespace fw
