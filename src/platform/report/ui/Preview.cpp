#include "platform/report/ui/Preview.h"

#include "platform/report/Renderer.h"
#include "platform/report/ReportError.h"
#include "platform/ui/Messages.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace report {

namespace {

void renderOn(const ReportData& data, QPrinter& printer, QWidget* parent) {
    try {
        Renderer(data).render(printer);
    } catch (const ReportError& e) {
        ::ui::Messages::current().error(parent, e.text());
    }
}

} // namespace

void Preview::exec(const ReportData& data, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    Renderer::applyPageLayout(printer, data.definition());
    printer.setDocName(data.definition().title);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(data.definition().title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&](QPrinter* p) { renderOn(data, *p, &dialog); });
    dialog.exec();
}

bool Preview::print(const ReportData& data, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    Renderer::applyPageLayout(printer, data.definition());
    printer.setDocName(data.definition().title);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    renderOn(data, printer, parent);
    return true;
}

} // namespace report
