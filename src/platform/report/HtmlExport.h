#pragma once
// A report as an HTML document (the "Archivo de Internet" export): one table whose columns are cut
// at every left and right edge of the layout's elements, so the printed columns stay columns.

#include "platform/report/ReportData.h"

class QIODevice;

namespace report {

class HtmlExport {
public:
    static QString toString(const ReportData& data);
    static void write(const ReportData& data, QIODevice& device);
};

} // namespace report
