#pragma once
// Screen preview and printing of a prepared report. The preview draws its pages with the same
// Renderer as the PDF, so what the user sees is what the printer and the file get.

#include "platform/report/ReportData.h"

class QWidget;

namespace report {

class Preview {
public:
    // The print preview window, modal; the user may print from it.
    static void exec(const ReportData& data, QWidget* parent = nullptr);
    // The printer dialog, then the printout. False when the user cancelled.
    static bool print(const ReportData& data, QWidget* parent = nullptr);
};

} // namespace report
