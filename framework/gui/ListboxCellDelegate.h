#pragma once
// Paints the cells of a Listbox as the style does, but without the focus frame the style draws
// around the current cell while the list has the focus, for a list without a focus ring.

#include <QStyledItemDelegate>

namespace fw {

class ListboxCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace fw
