#pragma once
// The framework's message box: shows text in a modal box with an OK button and returns when the
// user has closed it. Main thread only.

#include "framework/ScopedOverride.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace fw {

void MsgBox(const QString& text);

// Test seam: while it lives, MsgBox shows nothing and records its texts here instead.
// Not used by the program.
class ScopedMsgBox {
public:
    ScopedMsgBox();

    // Every text given to MsgBox, in order.
    const QStringList& Texts() const { return mTexts; }

private:
    QStringList mTexts;
    ScopedOverride<std::function<void(const QString&)>> mRecording;  // after the texts it fills
};

}  // namespace fw
