#include "framework/gui/Listbox.h"

#include "framework/gui/Graphics.h"
#include "framework/gui/ListboxCellDelegate.h"
#include "framework/gui/ListboxView.h"
#include "framework/gui/Runtime.h"

#include <QHeaderView>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <vector>

namespace fw {

namespace {

// Column widths for an inner width of available pixels, as ColumnWidths describes them.
std::vector<int> ComputeColumnWidths(const QString& widthsText, int columns, int available) {
    std::vector<int> widths(static_cast<std::size_t>(columns), 0);
    std::vector<double> shares(static_cast<std::size_t>(columns), 0.0);
    const QStringList entries = widthsText.split(QLatin1Char(','));
    int used = 0;
    double totalShares = 0.0;
    for (int column = 0; column < columns; ++column) {
        const auto c = static_cast<std::size_t>(column);
        const QString entry = column < entries.size() ? entries[column].trimmed() : QString();
        if (entry.endsWith(QLatin1Char('%'))) {
            widths[c] = static_cast<int>(available * entry.chopped(1).toDouble() / 100.0);
        } else if (entry.isEmpty() || entry.endsWith(QLatin1Char('*'))) {
            const QString weight = entry.chopped(entry.isEmpty() ? 0 : 1);
            shares[c] = weight.isEmpty() ? 1.0 : weight.toDouble();
            totalShares += shares[c];
        } else {
            widths[c] = entry.toInt();
        }
        widths[c] = std::max(widths[c], 0);
        used += widths[c];
    }
    // What is left goes to the shares; the last share takes the rounding.
    const int left = std::max(available - used, 0);
    int given = 0;
    int lastShare = -1;
    for (int column = 0; column < columns; ++column) {
        const auto c = static_cast<std::size_t>(column);
        if (shares[c] > 0.0) {
            widths[c] = static_cast<int>(left * shares[c] / totalShares);
            given += widths[c];
            lastShare = column;
        }
    }
    if (lastShare >= 0) {
        widths[static_cast<std::size_t>(lastShare)] += left - given;
    }
    return widths;
}

}  // namespace

// The view only keeps the reference here; it calls back once the list is built.
Listbox::Listbox() : Control(new ListboxView(*this)) {
    View()->setColumnCount(1);
    View()->setHeaderHidden(true);
    DeclareEvent("CellBackgroundPaint", mCellBackgroundPaint);
    ApplyScrollBars();
}

ListboxView* Listbox::View() const {
    return static_cast<ListboxView*>(Widget());
}

void Listbox::DeleteAllRows() {
    View()->clear();
}

void Listbox::AddRow(const QString& text) {
    auto* item = new QTreeWidgetItem(View());
    item->setText(0, text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren);
}

int Listbox::ListCount() const {
    return View()->topLevelItemCount();
}

QString Listbox::Cell(int row, int column) const {
    const QTreeWidgetItem* item = View()->topLevelItem(row);
    if (item == nullptr || column < 0 || column >= ColumnCount()) {
        return {};
    }
    return item->text(column);
}

void Listbox::SetCell(int row, int column, const QString& text) {
    QTreeWidgetItem* item = View()->topLevelItem(row);
    if (item != nullptr && column >= 0 && column < ColumnCount()) {
        item->setText(column, text);
    }
}

void Listbox::Refresh(bool now) {
    if (now) {
        View()->viewport()->repaint();
    } else {
        View()->viewport()->update();
    }
}

int Listbox::ColumnCount() const {
    return View()->columnCount();
}

void Listbox::SetColumnCount(int count) {
    View()->setColumnCount(std::max(count, 1));
    LayOutColumns();
}

void Listbox::SetColumnWidths(const QString& widths) {
    mColumnWidths = widths;
    LayOutColumns();
}

int Listbox::ColumnWidth(int column) const {
    return View()->header()->sectionSize(column);
}

bool Listbox::HasHeading() const {
    return !View()->isHeaderHidden();
}

void Listbox::SetHasHeading(bool hasHeading) {
    View()->setHeaderHidden(!hasHeading);
}

QString Listbox::Heading(int column) const {
    return View()->headerItem()->text(column);
}

void Listbox::SetHeading(int column, const QString& text) {
    if (column >= 0 && column < ColumnCount()) {
        View()->headerItem()->setText(column, text);
    }
}

bool Listbox::RaiseCellBackgroundPaint(QPainter& painter, const QRect& cell, int row, int column) {
    const auto& handler = mCellBackgroundPaint.Handler();
    if (!handler) {
        return false;
    }
    Graphics graphics(painter, cell);
    bool painted = false;
    RuntimeCallHandler([&] { painted = handler(graphics, row, column); });
    return painted;
}

void Listbox::LayOutColumns() {
    const int columns = ColumnCount();
    const std::vector<int> widths =
        ComputeColumnWidths(mColumnWidths, columns, View()->viewport()->width());
    for (int column = 0; column < columns; ++column) {
        View()->header()->resizeSection(column, widths[static_cast<std::size_t>(column)]);
    }
}

void Listbox::SetInitialValue(const QString& value) {
    // Lines of TAB-separated cells; with a heading row the first line holds the headings.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    DeleteAllRows();
    if (value.isEmpty()) {
        return;
    }
    QStringList lines = value.split(lineEnd);
    if (HasHeading()) {
        const QStringList headings = lines.takeFirst().split(QLatin1Char('\t'));
        for (int column = 0; column < headings.size(); ++column) {
            SetHeading(column, headings[column]);
        }
    }
    for (const QString& line : lines) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        AddRow(cells.value(0));
        for (int column = 1; column < cells.size(); ++column) {
            SetCell(ListCount() - 1, column, cells[column]);
        }
    }
}

void Listbox::ApplyScrollBars() {
    auto policy = [&](bool shown) {
        if (!shown) {
            return Qt::ScrollBarAlwaysOff;
        }
        return mAutoHideScrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    };
    View()->setVerticalScrollBarPolicy(policy(mScrollBarVertical));
    View()->setHorizontalScrollBarPolicy(policy(mScrollBarHorizontal));
}

void Listbox::SetFocusRing(bool ring) {
    // Without a ring neither the list nor its current cell shows a focus frame.
    ListboxView* view = View();
    view->setAttribute(Qt::WA_MacShowFocusRect, ring);
    QAbstractItemDelegate* previous = view->itemDelegate();
    view->setItemDelegate(ring ? new QStyledItemDelegate(view) : new ListboxCellDelegate(view));
    delete previous;
}

const PropertyTable<Control>& Listbox::LayoutProperties() const {
    using V = const QVariant&;
    // The columns and the heading row before the initial value that fills them.
    static const PropertyTable<Control> table = TextProperties().Extended<Listbox>({
        {"ColumnCount", [](Listbox& l, V v) { l.SetColumnCount(v.toInt()); }},
        {"ColumnWidths", [](Listbox& l, V v) { l.SetColumnWidths(v.toString()); }},
        {"ColumnsResizable",
         [](Listbox& l, V v) {
             l.View()->header()->setSectionResizeMode(v.toBool() ? QHeaderView::Interactive
                                                                 : QHeaderView::Fixed);
         }},
        {"HasHeading", [](Listbox& l, V v) { l.SetHasHeading(v.toBool()); }},
        {"InitialValue", [](Listbox& l, V v) { l.SetInitialValue(v.toString()); }},
        {"HeadingIndex",
         [](Listbox& l, V v) {
             const int column = v.toInt();
             l.View()->header()->setSortIndicatorShown(column >= 0);
             if (column >= 0) {
                 l.View()->header()->setSortIndicator(column, Qt::AscendingOrder);
             }
         }},
        {"Hierarchical", nullptr},  // rows are only ever plain
        {"SelectionType",
         [](Listbox& l, V v) {
             l.View()->setSelectionMode(v.toInt() == 0 ? QAbstractItemView::SingleSelection
                                                       : QAbstractItemView::ExtendedSelection);
         }},
        {"RequiresSelection", nullptr},
        {"EnableDrag", [](Listbox& l, V v) { l.View()->setDragEnabled(v.toBool()); }},
        {"EnableDragReorder",
         [](Listbox& l, V v) {
             l.View()->setDragDropMode(v.toBool() ? QAbstractItemView::InternalMove
                                                  : QAbstractItemView::NoDragDrop);
         }},
        {"ScrollBarVertical",
         [](Listbox& l, V v) {
             l.mScrollBarVertical = v.toBool();
             l.ApplyScrollBars();
         }},
        {"ScrollbarHorizontal",
         [](Listbox& l, V v) {
             l.mScrollBarHorizontal = v.toBool();
             l.ApplyScrollBars();
         }},
        {"AutoHideScrollbars",
         [](Listbox& l, V v) {
             l.mAutoHideScrollBars = v.toBool();
             l.ApplyScrollBars();
         }},
        // The grid line styles (0 is the platform's) and DefaultRowHeight (-1 is the font's).
        {"GridLinesVertical", nullptr},
        {"GridLinesHorizontal", nullptr},
        {"DefaultRowHeight", nullptr},
        {"UseFocusRing", [](Listbox& l, V v) { l.SetFocusRing(v.toBool()); }},
        // The scroll state.
        {"_ScrollOffset", nullptr},
        {"_ScrollWidth", nullptr},
    });
    return table;
}

}  // namespace fw
