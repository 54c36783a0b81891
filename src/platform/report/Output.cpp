#include "platform/report/Output.h"

#include "platform/report/HtmlExport.h"
#include "platform/report/Renderer.h"
#include "platform/report/ReportError.h"
#include "platform/report/TextExport.h"
#include "platform/report/XlsxExport.h"
#include "platform/sheet/Workbook.h"

#include <QFileInfo>
#include <QSaveFile>

namespace report {

std::optional<OutputFormat> Output::formatForFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf")) return OutputFormat::Pdf;
    if (suffix == QLatin1String("xlsx")) return OutputFormat::Xlsx;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) return OutputFormat::Html;
    if (suffix == QLatin1String("txt")) return OutputFormat::Text;
    return std::nullopt;
}

QString Output::extension(OutputFormat format) {
    switch (format) {
    case OutputFormat::Pdf:
        return QStringLiteral("pdf");
    case OutputFormat::Xlsx:
        return QStringLiteral("xlsx");
    case OutputFormat::Html:
        return QStringLiteral("html");
    case OutputFormat::Text:
        return QStringLiteral("txt");
    }
    return {};
}

int Output::write(const ReportData& data, OutputFormat format, const QString& path,
                  const ProgressFn& progress) {
    if (format == OutputFormat::Pdf) return Renderer::writePdf(data, path, progress);
    if (format == OutputFormat::Xlsx) {
        try {
            sheet::Workbook book;
            XlsxExport::fill(data, book.firstSheet());
            book.saveAs(path);
        } catch (const sheet::SheetError& e) {
            throw ReportError(QStringLiteral("No se pudo escribir el archivo %1: %2")
                                  .arg(path, QString::fromUtf8(e.what())));
        }
        return 1;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("No se pudo crear el archivo %1: %2").arg(path, file.errorString()));
    if (format == OutputFormat::Html)
        HtmlExport::write(data, file);
    else
        TextExport::write(data, file);
    if (!file.commit())
        throw ReportError(
            QStringLiteral("No se pudo escribir el archivo %1: %2").arg(path, file.errorString()));
    return 1;
}

} // namespace report
