// Vellmaroq: lists the machines of the local IPv4 network.
#include "app/Window1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window1 window;
    window.Construct();
    return QApplication::exec();
}
