#include "platform/report/Barcode.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using report::Barcode;

TEST(Barcode, WidthCountsStartPairsAndStop) {
    struct Case {
        QString digits;
        int width;
    } cases[] = {
        {"", 9},
        {"12", 27},
        {"123", 27},
        {"1234", 45},
        {"0000000000", 99},
        {QString(198, '5'), 9 + 99 * 18},
        {QString(250, '5'), 9 + 99 * 18}, // at most 99 pairs
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.width, Barcode::width(c.digits)) << c.digits.toStdString();
}

// One row of the drawing as "B" (black), "W" (white) and "." (untouched).
QString scan(const QImage& image, int y, int from, int to) {
    QString out;
    for (int x = from; x < to; ++x) {
        const QRgb p = image.pixel(x, y);
        out += p == qRgb(0, 0, 0)         ? QLatin1Char('B')
               : p == qRgb(255, 255, 255) ? QLatin1Char('W')
                                          : QLatin1Char('.');
    }
    return out;
}

TEST(Barcode, DrawsInterleavedBarsAndSpaces) {
    QImage image(60, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        QPainter p(&image);
        Barcode::draw(p, QStringLiteral("12"), QPoint(5, 10));
    }
    // start "0000", then bars of 1 (10001) interleaved with spaces of 2 (01001), then stop "100".
    const QString expected =
        QStringLiteral("BWBW") + QStringLiteral("BBBWBWWWBWBWBBBWWW") + QStringLiteral("BBBWB");
    for (const int y : {10, 50, 89})
        EXPECT_EQ(QStringLiteral(".") + expected + QStringLiteral("."), scan(image, y, 4, 33));
    EXPECT_EQ(QString(27, QLatin1Char('.')), scan(image, 9, 5, 32));
    EXPECT_EQ(QString(27, QLatin1Char('.')), scan(image, 90, 5, 32));
}

TEST(Barcode, AcceptsDigitsOnly) {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter p(&image);
    for (const char* bad : {"12a4", " 12", "1.5", "١٢"}) {
        EXPECT_THROW(Barcode::draw(p, QString::fromUtf8(bad)), std::invalid_argument) << bad;
        EXPECT_THROW(Barcode::width(QString::fromUtf8(bad)), std::invalid_argument) << bad;
    }
}

} // namespace
