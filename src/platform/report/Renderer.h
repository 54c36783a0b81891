#pragma once
// The render pass: draws the pages of a ReportData on any paged device through a QPainter, the same
// code for the screen preview, a printer and a PDF file. It only reads the data, so rendering twice
// gives the same pages. Each page is drawn and handed to the device before the next one starts.

#include "platform/report/Progress.h"
#include "platform/report/ReportData.h"

#include <QFont>
#include <QHash>

class QPainter;
class QPagedPaintDevice;

namespace report {

class Renderer {
public:
    explicit Renderer(const ReportData& data) : data_(data) {}

    // Gives a printer or PDF writer the declaration's paper, orientation and margins.
    static void applyPageLayout(QPagedPaintDevice& device, const ReportDefinition& definition);

    // Draws every page, the first on the device's current page. Returns the number of pages.
    int render(QPagedPaintDevice& device, const ProgressFn& progress = {}) const;
    // The same with a painter already active on the device (a preview hands one over).
    int render(QPainter& painter, QPagedPaintDevice& device, const ProgressFn& progress = {}) const;

    // One band's layout with the values of band `valuesBand`, `top` millimetres below the printable
    // area's corner, which is the painter's origin.
    void drawBand(QPainter& painter, const Band& layout, int valuesBand, double top, int page) const;

    // Writes the whole report as a PDF file; the file appears only when complete. Returns the pages.
    // Throws ReportError when it cannot be written and Cancelled when the progress callback stops it.
    static int writePdf(const ReportData& data, const QString& path, const ProgressFn& progress = {});

private:
    const QFont& font(const Element& element) const;
    void drawElement(QPainter& painter, const Element& e, int valuesBand, double top, int page) const;

    const ReportData& data_;
    mutable QHash<quint64, QFont> fonts_;
};

} // namespace report
