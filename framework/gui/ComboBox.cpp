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

void ComboBox::SetInitialValue(const QString& value) {
    // One item per line.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    DeleteAllRows();
    if (!value.isEmpty()) {
        Box()->addItems(value.split(lineEnd));
    }
}

void ComboBox::SetAutoComplete(bool complete) {
    Box()->setCompleter(nullptr);
    if (complete) {
        Box()->setCompleter(new QCompleter(Box()->model(), Box()));
    }
}

const PropertyTable<Control>& ComboBox::LayoutProperties() const {
    using V = const QVariant&;
    // The items before the choice among them.
    static const PropertyTable<Control> table = TextProperties().Extended<ComboBox>({
        {"AutoComplete", [](ComboBox& b, V v) { b.SetAutoComplete(v.toBool()); }},
        {"UseFocusRing",
         [](ComboBox& b, V v) { b.Box()->setAttribute(Qt::WA_MacShowFocusRect, v.toBool()); }},
        {"InitialValue", [](ComboBox& b, V v) { b.SetInitialValue(v.toString()); }},
        {"ListIndex", [](ComboBox& b, V v) { b.SetListIndex(v.toInt()); }},
    });
    return table;
}

}  // namespace fw
