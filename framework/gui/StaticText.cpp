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

Color StaticText::TextColor() const {
    return Label()->palette().color(QPalette::WindowText);
}

void StaticText::SetTextColor(const Color& color) {
    QPalette palette = Label()->palette();
    palette.setColor(QPalette::WindowText, color);
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

const PropertyTable<Control>& StaticText::LayoutProperties() const {
    using V = const QVariant&;
    static const PropertyTable<Control> table = TextProperties().Extended<StaticText>({
        {"TextAlign", [](StaticText& t, V v) { t.SetTextAlign(v.toInt()); }},
        {"TextColor",
         [](StaticText& t, V v) {
             const QColor color(v.toString());
             t.SetTextColor(RGB(color.red(), color.green(), color.blue()));
         }},
        {"Multiline", [](StaticText& t, V v) { t.SetMultiline(v.toBool()); }},
        {"Text", [](StaticText& t, V v) { t.SetText(v.toString()); }},
    });
    return table;
}

}  // namespace fw
