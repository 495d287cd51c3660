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
    // The colour the label paints its text in.
    Color TextColor() const;
    void SetTextColor(const Color& color);
    bool Multiline() const { return mMultiline; }
    void SetMultiline(bool multiline);

    // What the label shows.
    QString DisplayedText() const;

    // Makes the text the label of control (null: of none), as assistive technology tells it;
    // nothing visible changes.
    void SetLabelFor(const Control* control);

protected:
    const PropertyTable<Control>& LayoutProperties() const override;

private:
    void Show();
    QLabel* Label() const;

    QString mText;
    int mTextAlign = 0;
    bool mMultiline = false;
};

}  // namespace fw
