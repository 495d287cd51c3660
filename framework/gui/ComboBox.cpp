#include "framework/gui/ComboBox.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QRegularExpression>

namespace fw {

ComboBox::ComboBox() : Control(new QComboBox) {
    Box()->setEditable(true);
    Box()->setInsertPolicy(QComboBox::NoInsert);
}

QComboBox* ComboBox::Box() const {
    return static_cast<QComboBox*>(Widget());
}

QString ComboBox::Text() const {
    return Box()->currentText();
}

void ComboBox::SetText(const QString& text) {
    Box()->setEditText(text);
}

void ComboBox::AddRow(const QString& item) {
    Box()->addItem(item);
}

void ComboBox::DeleteAllRows() {
    Box()->clear();
}

int ComboBox::ListCount() const {
    return Box()->count();
}

QString ComboBox::List(int index) const {
    return Box()->itemText(index);
}

int ComboBox::ListIndex() const {
    return Box()->currentIndex();
}

void ComboBox::SetListIndex(int index) {
    Box()->setCurrentIndex(index);
    if (index >= 0 && index < ListCount()) {
        SetText(List(index));
    }
}

QStringList ComboBox::PropertyNames() const {
    // The items before the choice among them.
    return Control::PropertyNames() + FontPropertyNames() +
           QStringList{"AutoComplete", "UseFocusRing", "InitialValue", "ListIndex"};
}

void ComboBox::ApplyProperty(const QString& name, const QVariant& value) {
    if (ApplyFontProperty(name, value)) {
        return;
    }
    if (name == QLatin1String("InitialValue")) {
        // One item per line.
        static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
        DeleteAllRows();
        const QString items = value.toString();
        if (!items.isEmpty()) {
            Box()->addItems(items.split(lineEnd));
        }
    } else if (name == QLatin1String("ListIndex")) {
        SetListIndex(value.toInt());
    } else if (name == QLatin1String("AutoComplete")) {
        Box()->setCompleter(nullptr);
        if (value.toBool()) {
            Box()->setCompleter(new QCompleter(Box()->model(), Box()));
        }
    } else if (name == QLatin1String("UseFocusRing")) {
        Box()->setAttribute(Qt::WA_MacShowFocusRect, value.toBool());
    } else {
        Control::ApplyProperty(name, value);
    }
}

}  // namespace fw
