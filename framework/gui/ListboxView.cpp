#include "framework/gui/ListboxView.h"

#include "framework/gui/Listbox.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace fw {

ListboxView::ListboxView(Listbox& list) : mList(list) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
}

int ListboxView::EmptyRowHeight() const {
    if (topLevelItemCount() > 0) {
        const int last = visualRect(indexFromItem(topLevelItem(topLevelItemCount() - 1))).height();
        if (last > 0) {
            return last;
        }
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.text = QStringLiteral("Xg");
    option.features |= QStyleOptionViewItem::HasDisplay;
    return std::max(
        1, style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height());
}

void ListboxView::PaintCellBackgrounds(QPainter& painter, int top, int height, int row) const {
    for (int column = 0; column < columnCount(); ++column) {
        if (header()->isSectionHidden(column)) {
            continue;
        }
        const QRect cell(header()->sectionViewportPosition(column), top,
                         header()->sectionSize(column), height);
        mList.RaiseCellBackgroundPaint(painter, cell, row, column);
    }
}

void ListboxView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    PaintCellBackgrounds(*painter, option.rect.top(), option.rect.height(), index.row());
    QTreeWidget::drawRow(painter, option, index);
}

void ListboxView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);

    // The rows below the last one, so that row backgrounds run on to the bottom of the list.
    int top = 0;
    if (topLevelItemCount() > 0) {
        const QRect last = visualRect(indexFromItem(topLevelItem(topLevelItemCount() - 1)));
        top = last.bottom() + 1;
    }
    const int height = EmptyRowHeight();
    const int bottom = viewport()->height();
    if (top >= bottom) {
        return;
    }
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    for (int row = topLevelItemCount(); top < bottom; ++row, top += height) {
        PaintCellBackgrounds(painter, top, height, row);
    }
}

void ListboxView::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    mList.LayOutColumns();
}

}  // namespace fw
