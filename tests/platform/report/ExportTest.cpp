// The exports of one prepared report: text in fixed columns, HTML, a typed .xlsx, and files that are
// written whole or not at all.

#include "platform/report/DataPass.h"
#include "platform/report/HtmlExport.h"
#include "platform/report/Output.h"
#include "platform/report/ReportError.h"
#include "platform/report/SalesFixture.h"
#include "platform/report/TextExport.h"
#include "platform/sheet/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace report;

std::shared_ptr<const ReportData> prepare(test::SalesFixture& f) {
    DataPass::Options o;
    o.parameters = {{QStringLiteral("DESDE"), QDate(2024, 1, 1)}};
    o.printedAt = QDateTime(QDate(2024, 3, 15), QTime(10, 0));
    return DataPass::run(test::SalesFixture::definition(), f.db.session(), o);
}

QString lineWith(const QString& text, const QString& part) {
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (line.contains(part)) return line;
    return {};
}

TEST(Export, TextKeepsColumnsAndNumbersRightAligned) {
    test::SalesFixture f;
    const QString text = TextExport::toString(*prepare(f));
    EXPECT_TRUE(text.startsWith(QStringLiteral("DISTRIBUIDORA LA FIXTURA"))) << text.toStdString();
    EXPECT_TRUE(
        lineWith(text, QStringLiteral("DISTRIBUIDORA")).endsWith(QStringLiteral("Impreso : 15/03/2024")));
    EXPECT_TRUE(lineWith(text, QStringLiteral("Nit :")).startsWith(QStringLiteral("Nit : 800,123,456")));
    // Amounts end in the same column whatever their width.
    const QString small = lineWith(text, QStringLiteral("Ferreteria El Clavo"));
    const QString large = lineWith(text, QStringLiteral("Obra Calle 80"));
    const QString negative = lineWith(text, QStringLiteral("Devolucion"));
    ASSERT_FALSE(small.isEmpty());
    EXPECT_EQ(small.indexOf(QStringLiteral("100.50")) + 6, large.indexOf(QStringLiteral("1,000.00")) + 8);
    EXPECT_EQ(small.indexOf(QStringLiteral("100.50")) + 6, negative.indexOf(QStringLiteral("-50.00")) + 6);
    EXPECT_EQ(small.indexOf(QStringLiteral("05 ene 2024")), negative.indexOf(QStringLiteral("05 ene 2024")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1")));
    EXPECT_FALSE(text.contains(QStringLiteral("Page 2"))); // an export is one long page
    EXPECT_EQ(
        1, text.count(QRegularExpression(QStringLiteral("Factura +Fecha +Cliente")))); // column header once
}

TEST(Export, HtmlIsOneTableWithEscapedText) {
    test::SalesFixture f;
    const QString html = HtmlExport::toString(*prepare(f));
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<title>VENTAS POR ZONA Y VENDEDOR</title>")));
    EXPECT_EQ(1, html.count(QStringLiteral("<table>")));
    EXPECT_TRUE(html.contains(QStringLiteral("Hospital Sur &amp; Cia")));
    EXPECT_TRUE(html.contains(QStringLiteral(" class=\"r\">1,234.50</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<b>Total General</b>")));
    // Every row spans the same number of grid columns.
    int width = -1;
    for (const QString& row : html.split(QStringLiteral("<tr>")).mid(1)) {
        int span = 0;
        for (const QString& cell : row.split(QStringLiteral("colspan=\"")).mid(1))
            span += cell.section(QLatin1Char('"'), 0, 0).toInt();
        if (width < 0) width = span;
        EXPECT_EQ(width, span) << row.toStdString();
    }
}

TEST(Export, SpreadsheetHoldsTypedNumbersAndDates) {
    test::SalesFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ventas.xlsx"));
    Output::write(*prepare(f), OutputFormat::Xlsx, path);
    const sheet::XlsxReader book(path);
    int customerRow = 0, countRow = 0, customerColumn = 0;
    for (int r = 1; r <= book.rowCount(0); ++r)
        for (int c = 1; c <= book.columnCount(0); ++c) {
            const QVariant v = book.cell(0, r, c);
            if (v == QStringLiteral("Ferreteria El Clavo")) customerRow = r, customerColumn = c;
            if (v.toString().startsWith(QStringLiteral("Total Registros :"))) countRow = r;
        }
    ASSERT_GT(customerRow, 0);
    // Invoice, date, customer, value, running value, pending: one column each.
    EXPECT_EQ(1.0, book.cell(0, customerRow, customerColumn - 2).toDouble());
    EXPECT_TRUE(book.isDate(0, customerRow, customerColumn - 1));
    EXPECT_EQ(QDate(2024, 1, 5),
              sheet::XlsxReader::fromSerial(book.cell(0, customerRow, customerColumn - 1).toDouble()));
    const QVariant value = book.cell(0, customerRow, customerColumn + 1);
    EXPECT_EQ(QMetaType::Double, value.typeId());
    EXPECT_DOUBLE_EQ(100.5, value.toDouble());
    EXPECT_EQ(QStringLiteral("#,##0.00"), book.numberFormat(0, customerRow, customerColumn + 1));
    EXPECT_DOUBLE_EQ(1899.5, book.cell(0, customerRow, customerColumn + 3).toDouble());
    ASSERT_GT(countRow, 0);
    bool count = false;
    for (int c = 1; c <= book.columnCount(0); ++c)
        count = count || book.cell(0, countRow, c) == QVariant(65.0);
    EXPECT_TRUE(count);
}

TEST(Export, AFileIsWrittenWholeOrNotAtAll) {
    test::SalesFixture f;
    const auto data = prepare(f);
    QTemporaryDir dir;
    for (const OutputFormat format :
         {OutputFormat::Pdf, OutputFormat::Xlsx, OutputFormat::Html, OutputFormat::Text}) {
        const QString path =
            dir.filePath(QStringLiteral("no-such-folder/ventas.") + Output::extension(format));
        try {
            Output::write(*data, format, path);
            ADD_FAILURE() << "wrote " << path.toStdString();
        } catch (const ReportError& e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("No se pudo"))) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(path)) << e.text().toStdString();
        }
        EXPECT_FALSE(QFile::exists(path));
    }

    // Stopped half-way, the PDF leaves the earlier file as it was.
    const QString path = dir.filePath(QStringLiteral("ventas.pdf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("anterior");
    }
    EXPECT_THROW(Output::write(*data, OutputFormat::Pdf, path, [](const Progress&) { return false; }),
                 Cancelled);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(QByteArray("anterior"), kept.readAll());
    EXPECT_EQ(1, QDir(dir.path()).entryList(QDir::Files).size());
}

} // namespace
