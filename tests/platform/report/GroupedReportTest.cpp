// The two-level grouped report rendered to PDF and read back as a user would see it.

#include "platform/report/DataPass.h"
#include "platform/report/Output.h"
#include "platform/report/Paginator.h"
#include "platform/report/PdfText.h"
#include "platform/report/SalesFixture.h"
#include "platform/report/TextExport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using report::DataPass;

std::shared_ptr<const report::ReportData> prepare(test::SalesFixture& f) {
    DataPass::Options o;
    o.parameters = {{QStringLiteral("DESDE"), QStringLiteral("01/01/2024")}};
    o.printedAt = QDateTime(QDate(2024, 3, 15), QTime(10, 0));
    return DataPass::run(test::SalesFixture::definition(), f.db.session(), o);
}

// Words of one printed line, whatever the spacing pdftotext keeps between columns.
bool hasLine(const QString& page, const QStringList& words) {
    QStringList escaped;
    for (const QString& w : words)
        escaped << QRegularExpression::escape(w);
    return QRegularExpression(escaped.join(QStringLiteral("[ \\t]+"))).match(page).hasMatch();
}

TEST(GroupedReport, PdfShowsTitlesGroupTotalsTheCountAndEveryPageHeader) {
    test::SalesFixture f;
    const auto data = prepare(f);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ventas.pdf"));
    const int pages = report::Output::write(*data, report::OutputFormat::Pdf, path);
    const QStringList text = test::pdfPages(path);
    ASSERT_EQ(2, pages);
    ASSERT_EQ(2, text.size());

    for (int p = 0; p < pages; ++p) {
        const QString& page = text[p];
        SCOPED_TRACE("page " + std::to_string(p + 1) + ":\n" + page.toStdString());
        EXPECT_TRUE(hasLine(page, {"DISTRIBUIDORA", "LA", "FIXTURA", "Impreso", ":", "15/03/2024"}));
        EXPECT_TRUE(hasLine(page, {"Nit", ":", "800,123,456", "Pagina", ":", QString::number(p + 1)}));
        EXPECT_TRUE(page.contains(QStringLiteral("SUBSISTEMA DE MATERALES")));
        EXPECT_TRUE(page.contains(QStringLiteral("VENTAS POR ZONA Y VENDEDOR")));
        // The column header is repeated on the page that continues the group.
        EXPECT_TRUE(hasLine(page, {"Factura", "Fecha", "Cliente", "Valor", "Acumulado", "Pendiente"}));
        EXPECT_TRUE(page.contains(QStringLiteral("Page %1").arg(p + 1)));
    }
    const QString& first = text[0];
    const QString& second = text[1];
    // The zone header knows the zone's count and total before its rows print.
    EXPECT_TRUE(hasLine(first, {"Zona", ":", "NORTE", "63", "ventas", "1,906.75"})) << first.toStdString();
    EXPECT_TRUE(hasLine(first, {"Vendedor", ":", "ANA", "Meta", ":", "2,000.00"}));
    EXPECT_TRUE(hasLine(
        first, {"1", "05", "ene", "2024", "Ferreteria", "El", "Clavo", "100.50", "100.50", "1,899.50"}));
    EXPECT_TRUE(hasLine(first, {"Total", "Vendedor", "ANA", "1,300.75", "3"}));
    // LUIS's sixty rows run over the page break: his header is repeated on page 2 and his running
    // value goes on from where page 1 stopped.
    EXPECT_TRUE(hasLine(first, {"Vendedor", ":", "LUIS", "Meta", ":", "500.00"}));
    EXPECT_TRUE(hasLine(second, {"Vendedor", ":", "LUIS", "Meta", ":", "500.00"}));
    EXPECT_TRUE(hasLine(second, {"159", "24", "ene", "2024", "Cliente", "60", "10.10", "606.00", "-106.00"}));
    EXPECT_TRUE(hasLine(second, {"Total", "Vendedor", "LUIS", "606.00", "60"}));
    EXPECT_TRUE(hasLine(second, {"Total", "Zona", "NORTE", "1,906.75"}));
    EXPECT_TRUE(hasLine(second, {"Zona", ":", "SUR", "2", "ventas", "1,184.50"}));
    EXPECT_TRUE(hasLine(second, {"500", "05", "ene", "2024", "Devolucion", "-50.00", "-50.00"}));
    EXPECT_TRUE(hasLine(second, {"Total", "Zona", "SUR", "1,184.50"}));
    EXPECT_TRUE(hasLine(second, {"Total", "General", "3,091.25"}));
    EXPECT_TRUE(hasLine(second, {"Fin", "de", "Reporte", "***", "Total", "Registros", ":", "65"}));
    EXPECT_FALSE(second.contains(QStringLiteral("Ferreteria")));
}

TEST(GroupedReport, RenderingTwiceGivesTheSamePages) {
    test::SalesFixture f;
    const auto data = prepare(f);
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.pdf"));
    const QString b = dir.filePath(QStringLiteral("b.pdf"));
    report::Output::write(*data, report::OutputFormat::Pdf, a);
    report::Output::write(*data, report::OutputFormat::Pdf, b);
    EXPECT_EQ(test::pdfPages(a), test::pdfPages(b));
    EXPECT_EQ(test::pdfPagePng(a, 1), test::pdfPagePng(b, 1));
    EXPECT_EQ(test::pdfPagePng(a, 2), test::pdfPagePng(b, 2));
    EXPECT_EQ(2, report::Paginator(*data).pageCount());

    // A second data pass (the hook keeps state between rows) prepares the same report again.
    EXPECT_EQ(report::TextExport::toString(*data), report::TextExport::toString(*prepare(f)));
}

} // namespace
