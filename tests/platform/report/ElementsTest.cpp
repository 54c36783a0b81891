// Elements that are drawn rather than written: a barcode bound to a column and a fixed picture.

#include "platform/report/DataPass.h"
#include "platform/report/Output.h"
#include "platform/report/PdfText.h"
#include "platform/report/TextExport.h"
#include "support/TestDatabase.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace report;

int pixels(const QImage& page, const QRect& area, QRgb colour, int tolerance = 60) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) < tolerance &&
                std::abs(qGreen(p) - qGreen(colour)) < tolerance &&
                std::abs(qBlue(p) - qBlue(colour)) < tolerance)
                ++n;
        }
    return n;
}

TEST(Elements, BarcodeAndPictureAreDrawnWhereTheLayoutPutsThem) {
    test::TestDatabase db;
    auto def = std::make_shared<ReportDefinition>();
    def->name = QStringLiteral("etiqueta");
    def->sql = QStringLiteral("SELECT CAST('12345678' AS VARCHAR(20)) AS CODIGO FROM RDB$DATABASE");
    QImage logo(40, 40, QImage::Format_RGB32);
    logo.fill(Qt::red);
    // Left margin 10 mm: the barcode takes 10 to 60 mm, the picture 80 to 100 mm, both 20 mm high
    // from 10 mm down.
    def->detail = {30,
                   {barcode(0, 50, 20, QStringLiteral("CODIGO")), picture(70, 20, 20, logo),
                    field(0, 50, QStringLiteral("CODIGO")).at(22)}};
    const auto data = DataPass::run(def, db.session(), {});
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("etiqueta.pdf"));
    Output::write(*data, OutputFormat::Pdf, pdf);

    const QImage page = QImage::fromData(test::pdfPagePng(pdf, 1, 254)); // 10 pixels a millimetre
    ASSERT_FALSE(page.isNull());
    const QRect bars(100, 100, 500, 200);
    const QRect pictureArea(800, 100, 200, 200);
    EXPECT_GT(pixels(page, bars, qRgb(0, 0, 0)), 5000);
    EXPECT_GT(pixels(page, bars, qRgb(255, 255, 255)), 5000);
    EXPECT_EQ(0, pixels(page, bars, qRgb(255, 0, 0)));
    EXPECT_GT(pixels(page, pictureArea, qRgb(255, 0, 0)), 30000);
    EXPECT_EQ(0, pixels(page, QRect(1100, 100, 200, 200), qRgb(0, 0, 0)));
    // The text forms show the digits instead.
    EXPECT_EQ(QStringLiteral("12345678\n12345678\n"), TextExport::toString(*data));
}

} // namespace
