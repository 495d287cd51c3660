#include "framework/gui/StaticText.h"

#include <QLabel>
#include <QRegularExpression>

namespace fw {

namespace {

Qt::Alignment HorizontalAlignment(int align) {
    switch (align) {
        case 1:
            return Qt::AlignHCenter;
        case 2:
            return Qt::AlignRight;
        default:
            return Qt::AlignLeft;
    }
}

}  // namespace

StaticText::StaticText() : Control(new QLabel) {
    Label()->setTextFormat(Qt::PlainText);
    Label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QLabel* StaticText::Label() const {
    return static_cast<QLabel*>(Widget());
}

void StaticText::SetText(const QString& text) {
    mText = text;
    Show();
}

void StaticText::SetTextAlign(int align) {
    mTextAlign = align;
    Label()->setAlignment(HorizontalAlignment(align) | Qt::AlignTop);
}

void StaticText::SetTextColor(Color color) {
    mTextColor = color;
    QPalette palette = Label()->palette();
    palette.setColor(QPalette::WindowText, color.ToQColor());
    Label()->setPalette(palette);
}

void StaticText::SetMultiline(bool multiline) {
    mMultiline = multiline;
    Label()->setWordWrap(multiline);
    Show();
}

QString StaticText::DisplayedText() const {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QString shown = mText;
    return shown.replace(lineEnd, mMultiline ? QStringLiteral("\n") : QStringLiteral(" "));
}

void StaticText::SetLabelFor(const Control* control) {
    Label()->setBuddy(control != nullptr ? control->Widget() : nullptr);
    Show();
}

void StaticText::Show() {
    QString shown = DisplayedText();
    if (Label()->buddy() != nullptr) {
        // A label of a control reads an ampersand as a mnemonic: this one shows its text as it is.
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    }
    Label()->setText(shown);
}

QStringList StaticText::PropertyNames() const {
    return Control::PropertyNames() + FontPropertyNames() +
           QStringList{"TextAlign", "TextColor", "Multiline", "Text"};
}

void StaticText::ApplyProperty(const QString& name, const QVariant& value) {
    if (ApplyFontProperty(name, value)) {
        return;
    }
    if (name == QLatin1String("Text")) {
        SetText(value.toString());
    } else if (name == QLatin1String("TextAlign")) {
        SetTextAlign(value.toInt());
    } else if (name == QLatin1String("TextColor")) {
        const QColor color(value.toString());
        SetTextColor(RGB(color.red(), color.green(), color.blue()));
    } else if (name == QLatin1String("Multiline")) {
        SetMultiline(value.toBool());
    } else {
        Control::ApplyProperty(name, value);
    }
}

}  // namespace fw
