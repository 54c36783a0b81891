#pragma once
// How every read-only grid of the program looks: one line per row, columns as wide as their
// contents, the last one filling the rest.

#include <QHeaderView>
#include <QTableView>

namespace ui {

inline void styleGrid(QTableView* grid) {
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

// After new rows: columns as wide as what they show (the header included), within reason.
inline void fitGridColumns(QTableView* grid) {
    grid->resizeColumnsToContents();
    for (int c = 0; c < grid->horizontalHeader()->count(); ++c)
        if (grid->columnWidth(c) > 320) grid->setColumnWidth(c, 320);
}

} // namespace ui
