#pragma once
// A report as plain text in fixed columns (one character for every 2 mm of the layout): the "Archivo
// de texto" export and what the golden files of the reports are compared with, so it is exactly the
// same for the same data (the print date comes from the data, never from the clock).

#include "platform/report/ReportData.h"

#include <QString>

class QIODevice;

namespace report {

class TextExport {
public:
    static constexpr double kMmPerCharacter = 2.0;

    static QString toString(const ReportData& data);
    // UTF-8, "\n" line ends.
    static void write(const ReportData& data, QIODevice& device);
};

} // namespace report
