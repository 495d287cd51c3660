#include "framework/gui/MsgBox.h"

#include <QApplication>
#include <QMessageBox>

namespace fw {

namespace {

Seam<std::function<void(const QString&)>> gRecorder;  // empty: show the box

}  // namespace

void MsgBox(const QString& text) {
    if (const auto record = gRecorder.Get()) {
        record(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

ScopedMsgBox::ScopedMsgBox()
    : mRecording(gRecorder, [this](const QString& text) { mTexts.append(text); }) {}

}  // namespace fw
