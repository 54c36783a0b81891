#pragma once
// A report as a real spreadsheet: one row for every printed line, one column for every left edge of
// the layout's elements; amounts and dates go in as typed cells with the mask as their number
// format, so the sheet can be summed and sorted.

#include "platform/report/ReportData.h"

namespace sheet {
class Worksheet;
}

namespace report {

class XlsxExport {
public:
    // Writes from row 1 of the sheet on.
    static void fill(const ReportData& data, sheet::Worksheet& sheet);
    // The spreadsheet number format for a layout mask ("###,###.00" gives "#,##0.00").
    static QString numberFormat(const QString& mask);
    static QString dateFormat(const QString& mask, bool withTime);
};

} // namespace report
