#include "framework/gui/MsgBox.h"

#include <QApplication>
#include <QMessageBox>

namespace fw {

namespace {

ScopedMsgBox* gRecorder = nullptr;

}  // namespace

void MsgBox(const QString& text) {
    if (gRecorder != nullptr) {
        gRecorder->mTexts.append(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

ScopedMsgBox::ScopedMsgBox() : mPrevious(gRecorder) {
    gRecorder = this;
}

ScopedMsgBox::~ScopedMsgBox() {
    gRecorder = mPrevious;
}

}  // namespace fw
