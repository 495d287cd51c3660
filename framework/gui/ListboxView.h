#pragma once
// The widget of a Listbox: a flat tree view that raises the list's cell background event for
// every cell it paints, the empty rows below the last row included.

#include <QTreeWidget>

namespace fw {

class Listbox;

class ListboxView : public QTreeWidget {
public:
    explicit ListboxView(Listbox& list);

    // Height of the rows below the last one: that of the last row, or of a row of the font.
    int EmptyRowHeight() const;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintCellBackgrounds(QPainter& painter, int top, int height, int row) const;

    Listbox& mList;
};

}  // namespace fw
