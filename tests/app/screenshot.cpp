// Writes a picture of the main window after a scan, its list filled with a few rows and a host
// file's zone and first octet shown, to the PNG file named on the command line. Runs on the
// offscreen platform unless QT_QPA_PLATFORM names another.
#include "app/Window1.h"
#include "scan/Global1.h"

#include <QApplication>
#include <QMainWindow>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }

    Global1::gIPLocalZone = "192.168.0.";
    Global1::gIPLocalStart = "100";
    Window1 window;
    window.Construct();
    const char* const rows[][2] = {
        {"192.168.0.100", "ルーター"},
        {"192.168.0.101", "my-laptop"},
        {"192.168.0.102", "0:1c:42:3a:5:e1"},
        {"192.168.0.103", "no entry."},
        {"192.168.0.104", "プリンター (2階)"},
        {"192.168.0.105", "incomplete."},
        {"192.168.0.106", ""},
        {"192.168.0.107", "nas-01"},
    };
    auto* list = window.ControlByName<fw::Listbox>("ListBox1");
    for (const auto& row : rows) {
        list->AddRow(QString::fromUtf8(row[0]));
        list->SetCell(list->ListCount() - 1, 1, QString::fromUtf8(row[1]));
    }
    window.ExecuteEnd();  // as the walk ends it
    QApplication::processEvents();

    const QPixmap picture = window.Widget()->grab();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
