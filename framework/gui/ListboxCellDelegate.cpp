#include "framework/gui/ListboxCellDelegate.h"

namespace fw {

void ListboxCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;
}

}  // namespace fw
