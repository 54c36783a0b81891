#pragma once
// Bands that most declarations share: the company page header every list carries and the column
// header and detail band of a plain list, so a list report is a few lines of declaration.

#include "platform/report/ReportDefinition.h"

#include <vector>

namespace report {

// The page header of the lists: the company profile's NOMBRE, "Nit : " and its NIT ("###,###."),
// "Impreso :" with the print date, optionally "Pagina :" with the page number, then the title
// lines centred. `width` is the printable width (ReportDefinition::contentSize()).
Band companyPageHeader(const QStringList& titles, double width, bool withPageNumber = true);

struct Column {
    QString title;
    QString name; // the value shown
    double width; // millimetres
    QString mask = {};
    Align align = Align::Left;
};

struct ColumnBands {
    Band header; // titles in bold over a rule
    Band detail;
};

// Columns side by side from the left margin, `gap` millimetres apart. The rule under the titles is
// `ruleWidth` long, or as long as the columns when it is 0.
ColumnBands columnBands(const std::vector<Column>& columns, double ruleWidth = 0, double gap = 3,
                        double rowHeight = 4.5);

} // namespace report
