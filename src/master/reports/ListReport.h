#pragma once
// The list of a master table over a range of its key, in an order the user picks: the company page
// header with the list's titles, one line a row under column titles, and the count at the end. Every
// master list is a ListLayout handed to listReport(), so they all print and behave alike.

#include "platform/report/Layouts.h"
#include "platform/report/ReportDefinition.h"

#include <functional>
#include <vector>

namespace master {

struct ListColumn {
    QString title;
    QString name; // the value shown; empty for a column of fixed text
    double width; // millimetres
    QString mask = {};
    report::Align align = report::Align::Left;
    QString fixed = {};                                              // printed on every line
    std::function<QVariant(const report::BandValues&)> compute = {}; // a value worked out from the row
};

struct ListLayout {
    QString name;            // registry name ("grupos")
    QStringList titles;      // lines under the company name; the last one is the report's title
    QString from;            // "SELECT ... FROM ...": the columns and tables, without WHERE or ORDER BY
    QString key;             // the column the range applies to ("GRUPOS.GRUPO")
    bool numericKey = false; // an integer key takes integer bounds; a text key compares as text
    QVariant first, last;    // the range a window offers before the user types one
    std::vector<report::Ordering> orderings; // what ORDEN may choose; "#" unless given
    std::vector<ListColumn> columns;
};

// Parameters DESDE and HASTA (the range of the key, bound, never written into the query) and ORDEN
// (the code of one of the list's orderings, "#" unless given).
report::ReportDefinition listReport(const ListLayout& list);

} // namespace master
