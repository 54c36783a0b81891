#pragma once
// Lays the bands of a ReportData out on pages: page header, the title on the first page, column
// header, the data bands, the page footer at the bottom. It works in millimetres from the
// declaration alone, so the preview, the printer and the PDF break pages at the same rows.
// Placements are handed out one at a time: nothing of a page is kept once the next one starts.

#include "platform/report/Progress.h"
#include "platform/report/ReportData.h"

namespace report {

class PageSink {
public:
    virtual ~PageSink() = default;
    virtual void beginPage(int page) = 0;
    // A band's layout placed at `top` millimetres from the top of the printable area; `valuesBand`
    // is the band of ReportData::bands() whose values it shows (-1: the report's only).
    virtual void place(const Band& layout, int valuesBand, double top, int page) = 0;
    virtual void endPage(int page) = 0;
};

class Paginator {
public:
    explicit Paginator(const ReportData& data) : data_(data) {}
    // Returns the number of pages. Throws Cancelled when the progress callback says stop.
    int run(PageSink& sink, const ProgressFn& progress = {}) const;
    // Pages without drawing anything.
    int pageCount() const;

private:
    const ReportData& data_;
};

} // namespace report
