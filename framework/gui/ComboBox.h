#pragma once
// A combo box: an editable text field with a drop-down list of items. The user picks an item or
// types any text; typed texts do not become items. Main thread only.

#include "framework/gui/Control.h"

class QComboBox;

namespace fw {

class ComboBox : public Control {
public:
    ComboBox();

    // The text in the field, typed or chosen.
    QString Text() const;
    void SetText(const QString& text);

    void AddRow(const QString& item);
    void DeleteAllRows();
    int ListCount() const;
    // The item at index; empty when there is none.
    QString List(int index) const;
    // The chosen item, -1 for none; choosing one puts its text in the field.
    int ListIndex() const;
    void SetListIndex(int index);

protected:
    const PropertyTable<Control>& LayoutProperties() const override;

private:
    QComboBox* Box() const;
    void SetInitialValue(const QString& value);
    void SetAutoComplete(bool complete);
};

}  // namespace fw
