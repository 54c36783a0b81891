#pragma once
// Writing a prepared report to a file in any of its forms. Every form is written whole or not at all:
// a failure or a cancellation leaves no partial file behind (an existing file keeps its content).

#include "platform/report/Progress.h"
#include "platform/report/ReportData.h"

#include <optional>

namespace report {

enum class OutputFormat { Pdf, Xlsx, Html, Text };

class Output {
public:
    // By the file's extension: .pdf, .xlsx, .html or .htm, .txt; nullopt for anything else.
    static std::optional<OutputFormat> formatForFile(const QString& path);
    static QString extension(OutputFormat format); // "pdf", "xlsx", "html", "txt"

    // Returns the number of pages for a PDF, 1 for the other forms. Throws ReportError with a Spanish
    // text naming the file, and Cancelled.
    static int write(const ReportData& data, OutputFormat format, const QString& path,
                     const ProgressFn& progress = {});
};

} // namespace report
