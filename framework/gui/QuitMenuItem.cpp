#include "framework/gui/QuitMenuItem.h"

#include <QCoreApplication>

namespace fw {

void QuitMenuItem::Event_Action(QWidget* /*window*/) {
    QCoreApplication::quit();
}

}  // namespace fw
