#pragma once
// The framework's message box: shows text in a modal box with an OK button and returns when the
// user has closed it. Main thread only.

#include <QString>
#include <QStringList>

namespace fw {

void MsgBox(const QString& text);

// Test seam: while it lives, MsgBox shows nothing and records its texts here instead.
// Not used by the program.
class ScopedMsgBox {
public:
    ScopedMsgBox();
    ~ScopedMsgBox();
    ScopedMsgBox(const ScopedMsgBox&) = delete;
    ScopedMsgBox& operator=(const ScopedMsgBox&) = delete;

    // Every text given to MsgBox, in order.
    const QStringList& Texts() const { return mTexts; }

private:
    friend void MsgBox(const QString& text);
    QStringList mTexts;
    ScopedMsgBox* mPrevious;
};

}  // namespace fw
