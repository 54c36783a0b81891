#include "platform/numbers/Format.h"

#include <QLocale>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

TEST(Format, NumberMasks) {
    struct Case {
        double value;
        const char* mask;
        const char* expected;
    } cases[] = {
        {1234567.891, "###,###.00", "1,234,567.89"},
        {0, "###,###.00", ".00"}, // optional digits: zero has no whole part
        {0.5, "###,###.00", ".50"},
        {-1234.5, "###,###.00", "-1,234.50"},
        {-0.004, "###,###.00", ".00"}, // rounds to zero: no minus sign
        {999.995, "###,###.00", "1,000.00"},
        {1234567.5, "###,###.", "1,234,568"}, // no decimals; the half goes to the even neighbour
        {1234566.5, "###,###.", "1,234,566"},
        {2.5, "###,###.", "2"},
        {900123456, "###,###.", "900,123,456"},
        {0, "###,###.", ""},
        {0, "#,##0.00", "0.00"},
        {-0.25, "#,##0.0", "-0.2"}, // half to even at one decimal
        {-0.35, "#,##0.0", "-0.4"},
        {1234.5, "###,###", "1,234"},
        {1235.5, "###,###", "1,236"},
        {1234.5, "######.##", "1234.5"},
        {1234, "0.##", "1234"},
        {7, "000", "007"},
        {12.5, "$ ###,###.00", "$ 12.50"},
        {12.5, "###.00 %", "12.50 %"},
        {1e12, "###,###.00", "1,000,000,000,000.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QString::fromUtf8(c.expected), numbers::formatMask(c.value, QString::fromUtf8(c.mask)))
            << c.value << " with " << c.mask;
}

TEST(Format, SeparatorsDoNotFollowTheWorkstationLocale) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    EXPECT_EQ(QStringLiteral("1,234.50"), numbers::formatMask(1234.5, QStringLiteral("###,###.00")));
    EXPECT_EQ(QStringLiteral("12.5"), numbers::formatValue(12.5));
    EXPECT_EQ(1234.5, numbers::parseNumber(QStringLiteral("1,234.5")).value_or(0));
    QLocale::setDefault(previous);
}

TEST(Format, DateMasksWithSpanishMonths) {
    const QDate d(2024, 1, 5);
    const QDateTime t(QDate(2023, 9, 30), QTime(14, 7, 9));
    struct Case {
        QDateTime moment;
        const char* mask;
        const char* expected;
    } cases[] = {
        {QDateTime(d, QTime()), "dd/mm/yyyy", "05/01/2024"},
        {QDateTime(d, QTime()), "dd mmm yyyy", "05 ene 2024"},
        {QDateTime(d, QTime()), "dd mmmm yyyy", "05 enero 2024"},
        {QDateTime(d, QTime()), "yyyy-mm-dd", "2024-01-05"},
        {QDateTime(d, QTime()), "d/m/yy", "5/1/24"},
        {QDateTime(d, QTime()), "dddd d 'de' mmmm", "viernes 5 de enero"},
        {QDateTime(QDate(2024, 12, 31), QTime()), "DD MMMM YYYY", "31 diciembre 2024"},
        {QDateTime(QDate(2024, 8, 1), QTime()), "dd mmm yyyy", "01 ago 2024"},
        {QDateTime(QDate(2024, 9, 1), QTime()), "dd mmmm yyyy", "01 septiembre 2024"},
        {t, "dd/mm/yyyy hh:nn:ss", "30/09/2023 14:07:09"},
        {t, "hh:mm", "14:07"}, // minutes after an hour
    };
    for (const auto& c : cases)
        EXPECT_EQ(QString::fromUtf8(c.expected), numbers::formatDate(c.moment, QString::fromUtf8(c.mask)))
            << c.mask;
    EXPECT_EQ(QString(), numbers::formatDate(QDate(), QStringLiteral("dd/mm/yyyy")));
}

TEST(Format, ValuesChooseTheirFormatter) {
    struct Case {
        QVariant value;
        const char* mask;
        const char* expected;
    } cases[] = {
        {QVariant(), "###,###.00", ""},
        {QVariant(42), "", "42"},
        {QVariant(900123456.0), "", "900123456"},
        {QVariant(0.1 + 0.2), "", "0.3"},
        {QVariant(-12.25), "", "-12.25"},
        {QVariant(qint64(1500)), "###,###.00", "1,500.00"},
        {QVariant(QDate(2024, 2, 29)), "", "29/02/2024"},
        {QVariant(QDate(2024, 2, 29)), "###,###.00", "29/02/2024"}, // a number mask on a date is ignored
        {QVariant(QDateTime(QDate(2024, 2, 29), QTime(8, 30))), "", "29/02/2024 08:30:00"},
        {QVariant(QDateTime(QDate(2024, 2, 29), QTime(8, 30))), "dd mmm yyyy", "29 feb 2024"},
        {QVariant(QStringLiteral("ADMIN")), "###,###.", "ADMIN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QString::fromUtf8(c.expected), numbers::formatValue(c.value, QString::fromUtf8(c.mask)))
            << c.value.toString().toStdString() << " with " << c.mask;
}

TEST(Format, ParsesTypedNumbersWithTheFixedSeparators) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"1,234.56", 1234.56},
        {"-1234.5", -1234.5},
        {" 12 ", 12},
        {".5", 0.5},
        {"+7", 7},
        {"1,234,567", 1234567},
        {"10.", 10},
        {"12,34", std::nullopt},
        {"1234,5", std::nullopt},
        {"1.234,56", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"12a", std::nullopt},
        {"1e5", std::nullopt},
        {",123", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, numbers::parseNumber(QString::fromUtf8(c.text))) << '"' << c.text << '"';
}

} // namespace
