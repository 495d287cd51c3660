#pragma once
// A static text: a label that shows one text. Single-line unless Multiline is set; a single
// line shows its line ends as blanks. Main thread only.

#include "framework/gui/Color.h"
#include "framework/gui/Control.h"

class QLabel;

namespace fw {

class StaticText : public Control {
public:
    StaticText();

    // The text as it was set, line ends included.
    const QString& Text() const { return mText; }
    void SetText(const QString& text);
    // 0 left, 1 centre, 2 right.
    int TextAlign() const { return mTextAlign; }
    void SetTextAlign(int align);
    Color TextColor() const { return mTextColor; }
    void SetTextColor(Color color);
    bool Multiline() const { return mMultiline; }
    void SetMultiline(bool multiline);

    // What the label shows.
    QString DisplayedText() const;

    // Makes the text the label of control (null: of none), as assistive technology tells it;
    // nothing visible changes.
    void SetLabelFor(const Control* control);

protected:
    QStringList PropertyNames() const override;
    void ApplyProperty(const QString& name, const QVariant& value) override;

private:
    void Show();
    QLabel* Label() const;

    QString mText;
    int mTextAlign = 0;
    Color mTextColor;
    bool mMultiline = false;
};

}  // namespace fw
