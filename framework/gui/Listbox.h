#pragma once
// A list box: rows of text cells in columns under an optional heading row. Main thread only.
//
// Event "CellBackgroundPaint", bool(Graphics&, int row, int column): raised for the background
// of every cell it paints, the rows below the last one included (as many as fit, numbered on
// from ListCount), before the list paints the row's selection and text over it. The Graphics'
// origin is the cell's top left corner and drawing is clipped to the cell. The handler returns
// whether it painted the background itself; the list paints selection and text either way.

#include "framework/gui/Control.h"

#include <QStringList>

class QPainter;
class QTreeWidget;

namespace fw {

class Graphics;
class ListboxView;

class Listbox : public Control {
public:
    Listbox();

    void DeleteAllRows();
    // Appends a row with text in column 0.
    void AddRow(const QString& text);
    int ListCount() const;
    // The cell's text; empty for a cell that is not there. Setting one that is not there does
    // nothing.
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);
    // Repaints the rows: with now at once, otherwise at the next paint.
    void Refresh(bool now = false);

    int ColumnCount() const;
    void SetColumnCount(int count);
    // Entries separated by commas: pixels ("80"), per cent of the list's inner width ("40%"),
    // or shares of what is left ("*", "2*"). Columns without an entry share what is left.
    const QString& ColumnWidths() const { return mColumnWidths; }
    void SetColumnWidths(const QString& widths);
    // The width a column has now.
    int ColumnWidth(int column) const;
    bool HasHeading() const;
    void SetHasHeading(bool hasHeading);
    QString Heading(int column) const;
    void SetHeading(int column, const QString& text);

    // The framework's side of the event: paints the background of cell (in painter's
    // coordinates) through the handler. False when no handler is bound.
    bool RaiseCellBackgroundPaint(QPainter& painter, const QRect& cell, int row, int column);
    // Lays the columns out for the list's width as it is now.
    void LayOutColumns();

protected:
    const PropertyTable<Control>& LayoutProperties() const override;

private:
    ListboxView* View() const;
    void SetInitialValue(const QString& value);
    void ApplyScrollBars();
    void SetFocusRing(bool ring);

    Event<bool(Graphics&, int, int)> mCellBackgroundPaint;
    QString mColumnWidths;
    bool mScrollBarVertical = true;
    bool mScrollBarHorizontal = true;
    bool mAutoHideScrollBars = true;
};

}  // namespace fw
