// Workbooks written to real .xlsx files and read back: cell kinds, sheet names, the row limit, and what
// a failed save leaves behind.
#include "platform/sheet/Workbook.h"
#include "platform/sheet/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using sheet::SheetError;
using sheet::Workbook;
using sheet::XlsxReader;

namespace {

class WorkbookFile : public ::testing::Test {
  protected:
    QString path(const QString& name = QStringLiteral("libro.xlsx")) const { return folder.filePath(name); }
    // Everything in the folder, hidden files included: a failed save must leave nothing behind.
    QStringList folderContents() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir folder;
};

TEST_F(WorkbookFile, CellsKeepTheirKindsAndFormats) {
    struct Case {
        const char* what;
        QVariant written;
        QString format;
        QVariant expected; // invalid: an empty cell
        bool date;
        QString expectedFormat;
    };
    const QString accents = QStringLiteral("Año contable: compañía, café, ÁÉÍÓÚ ñÑ ü");
    const QString longText(40000, u'x');
    const Case cases[] = {
        {"int", 42, {}, 42.0, false, "General"},
        {"qlonglong", qlonglong(1234567890123), {}, 1234567890123.0, false, "General"},
        {"double with thousands", 1234567.891, "#,##0.00", 1234567.891, false, "#,##0.00"},
        {"negative fraction", -0.5, {}, -0.5, false, "General"},
        {"zero-padded code", 7, "000000", 7.0, false, "000000"},
        {"text with accents", accents, {}, accents, false, "General"},
        {"digits written as text stay text",
         QStringLiteral("000123"),
         {},
         QStringLiteral("000123"),
         false,
         "General"},
        {"line break and tab",
         QStringLiteral("Línea 1\nLínea 2\tfin"),
         {},
         QStringLiteral("Línea 1\nLínea 2\tfin"),
         false,
         "General"},
        {"control character", QStringLiteral("a\x01b"), {}, QStringLiteral("a\x01b"), false, "General"},
        {"text that looks like an escape",
         QStringLiteral("COD_x0041_9"),
         {},
         QStringLiteral("COD_x0041_9"),
         false,
         "General"},
        {"text longer than a cell holds", longText, {}, longText.left(32767), false, "General"},
        {"true", true, {}, true, false, "General"},
        {"false", false, {}, false, false, "General"},
        {"date", QDate(2024, 2, 29), {}, 45351.0, true, "dd/mm/yyyy"},
        {"date with its own format", QDate(2024, 12, 31), "yyyy-mm-dd", 45657.0, true, "yyyy-mm-dd"},
        {"date and time", QDateTime(QDate(2024, 2, 29), QTime(18, 0)), {}, 45351.75, true, "dd/mm/yyyy"},
        {"null", QVariant(), {}, QVariant(), false, "General"},
        {"empty text", QString(""), {}, QVariant(), false, "General"},
        {"not a number", std::nan(""), {}, QVariant(), false, "General"},
    };
    Workbook book;
    int row = 0;
    for (const auto& c : cases)
        book.firstSheet().setCell(++row, 2, c.written, c.format);
    book.saveAs(path());

    XlsxReader reader(path());
    row = 0;
    for (const auto& c : cases) {
        ++row;
        const QVariant read = reader.cell(0, row, 2);
        EXPECT_EQ(c.expected.typeId(), read.typeId()) << c.what;
        EXPECT_EQ(c.expected, read) << c.what;
        EXPECT_EQ(c.date, reader.isDate(0, row, 2)) << c.what;
        EXPECT_EQ(c.expectedFormat, reader.numberFormat(0, row, 2)) << c.what;
        if (c.date) {
            EXPECT_EQ(c.written.toDate(), XlsxReader::fromSerial(read.toDouble())) << c.what;
        }
    }
}

TEST_F(WorkbookFile, BoldLabelsAndColumnWidthsAreSaved) {
    Workbook book;
    auto& sheet = book.firstSheet();
    sheet.setBold(1, 1, QStringLiteral("Código"));
    sheet.setBold(1, 2, QStringLiteral("Saldo"));
    sheet.setColumnWidth(1, 14.5);
    sheet.setCell(2, 1, QStringLiteral("A-001"));
    sheet.setCell(2, 2, 10.25, QStringLiteral("#,##0.00"));
    book.saveAs(path());

    XlsxReader reader(path());
    EXPECT_EQ(QVariant(QStringLiteral("Código")), reader.cell(0, 1, 1));
    EXPECT_EQ(QVariant(10.25), reader.cell(0, 2, 2));
    EXPECT_EQ(2, reader.rowCount(0));
    EXPECT_EQ(2, reader.columnCount(0));
}

TEST_F(WorkbookFile, SheetNamesAreMadeValidAndUnique) {
    struct Case {
        QString asked;
        QString expected;
    } cases[] = {
        {QStringLiteral("Movimientos de inventario por bodega 2024"),
         QStringLiteral("Movimientos de inventario por b")},
        {QStringLiteral("Saldos [1]: a/b*c?d\\e"), QStringLiteral("Saldos _1__ a_b_c_d_e")},
        {QStringLiteral("Ventas"), QStringLiteral("Ventas")},
        {QStringLiteral("VENTAS"), QStringLiteral("VENTAS (2)")},
        {QStringLiteral("Ventas"), QStringLiteral("Ventas (3)")},
        {QStringLiteral("Movimientos de inventario por bodega 2025"),
         QStringLiteral("Movimientos de inventario p (2)")},
        {QStringLiteral("'Citado'"), QStringLiteral("_Citado_")},
        {QStringLiteral("Año ñandú"), QStringLiteral("Año ñandú")},
        {QString(), QStringLiteral("Hoja10")},
    };
    Workbook book;
    QStringList expected{QStringLiteral("Hoja1")};
    book.firstSheet().setCell(1, 1, QStringLiteral("Hoja1"));
    for (const auto& c : cases) {
        auto& sheet = book.addSheet(c.asked);
        EXPECT_EQ(c.expected, sheet.name()) << c.asked.toStdString();
        sheet.setCell(1, 1, sheet.name());
        expected << c.expected;
    }
    book.saveAs(path());

    XlsxReader reader(path());
    ASSERT_EQ(expected, reader.sheetNames());
    for (int i = 0; i < reader.sheetCount(); ++i)
        EXPECT_EQ(QVariant(expected[i]), reader.cell(i, 1, 1));
}

TEST_F(WorkbookFile, RowsPastTheLimitContinueOnSheetsPlacedAfterTheirOwn) {
    Workbook book;
    book.setRowLimit(5);
    auto& counted = book.addSheet(QStringLiteral("Inventario físico bodega central"));
    auto& summary = book.addSheet(QStringLiteral("Resumen"));
    summary.setCell(1, 1, QStringLiteral("total"));
    counted.setBold(1, 1, QStringLiteral("Fila"));
    for (int row = 2; row <= 12; ++row)
        counted.setCell(row, 1, row);
    // Rows given to a continuation sheet count in that sheet's own numbering and flow on in turn.
    book.sheet(1).setCell(6, 2, QStringLiteral("fila 11"));

    EXPECT_EQ(12, counted.lastRow());
    EXPECT_EQ(7, book.sheet(1).lastRow());
    EXPECT_EQ(13, counted.lastRow() + 1) << "the next free row of the sheet the caller writes to";
    EXPECT_THROW(book.setRowLimit(100), SheetError) << "the limit cannot change under written rows";
    book.saveAs(path());

    XlsxReader reader(path());
    EXPECT_EQ((QStringList{QStringLiteral("Inventario físico bodega centra"),
                           QStringLiteral("Inventario físico bodega ce (2)"),
                           QStringLiteral("Inventario físico bodega ce (3)"), QStringLiteral("Resumen")}),
              reader.sheetNames());
    EXPECT_EQ(5, reader.rowCount(0));
    EXPECT_EQ(5, reader.rowCount(1));
    EXPECT_EQ(2, reader.rowCount(2));
    EXPECT_EQ(QVariant(QStringLiteral("Fila")), reader.cell(0, 1, 1)) << "headings are not repeated";
    EXPECT_EQ(QVariant(6.0), reader.cell(1, 1, 1));
    EXPECT_EQ(QVariant(10.0), reader.cell(1, 5, 1));
    EXPECT_EQ(QVariant(11.0), reader.cell(2, 1, 1));
    EXPECT_EQ(QVariant(QStringLiteral("fila 11")), reader.cell(2, 1, 2));
    EXPECT_EQ(QVariant(12.0), reader.cell(2, 2, 1));
    EXPECT_EQ(QVariant(QStringLiteral("total")), reader.cell(3, 1, 1));
}

TEST_F(WorkbookFile, CellsOutsideASheetAreRefused) {
    struct Case {
        int row;
        int column;
    } cases[] = {{0, 1}, {1, 0}, {-3, 2}, {1, 16385}};
    Workbook book;
    for (const auto& c : cases)
        EXPECT_THROW(book.firstSheet().setCell(c.row, c.column, 1), SheetError) << c.row << "," << c.column;
    EXPECT_THROW(book.firstSheet().setColumnWidth(0, 10), SheetError);
    EXPECT_THROW(book.sheet(1), SheetError);
    EXPECT_NO_THROW(book.firstSheet().setCell(1048576, 16384, 1));
}

TEST_F(WorkbookFile, AFailedSaveLeavesNoFile) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("ocupado.xlsx")));
    const QString targets[] = {
        path(QStringLiteral("no-existe/libro.xlsx")), // a folder that does not exist
        path(QStringLiteral("ocupado.xlsx")),         // a folder already holds the name
    };
    for (const QString& target : targets) {
        Workbook book;
        book.firstSheet().setCell(1, 1, QStringLiteral("dato"));
        EXPECT_THROW(book.saveAs(target), SheetError) << target.toStdString();
        EXPECT_EQ(QStringList{QStringLiteral("ocupado.xlsx")}, folderContents()) << target.toStdString();
    }
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("ocupado.xlsx"))).isDir());
}

TEST_F(WorkbookFile, SavingAgainReplacesTheFile) {
    for (const char* text : {"viejo", "nuevo"}) {
        Workbook book;
        book.firstSheet().setCell(1, 1, QString::fromLatin1(text));
        book.saveAs(path());
    }
    EXPECT_EQ(QVariant(QStringLiteral("nuevo")), XlsxReader(path()).cell(0, 1, 1));
    EXPECT_EQ(QStringList{QStringLiteral("libro.xlsx")}, folderContents());
#ifdef Q_OS_UNIX
    // Others may read the sheet as far as the user's umask lets them, like any file the user saves.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(!(mask & S_IRGRP), bool(QFileInfo(path()).permissions() & QFileDevice::ReadGroup));
    EXPECT_EQ(!(mask & S_IROTH), bool(QFileInfo(path()).permissions() & QFileDevice::ReadOther));
#endif
}

TEST_F(WorkbookFile, AnEmptyWorkbookStillSavesOneSheet) {
    Workbook book;
    book.saveAs(path());
    XlsxReader reader(path());
    EXPECT_EQ(QStringList{QStringLiteral("Hoja1")}, reader.sheetNames());
    EXPECT_EQ(0, reader.rowCount(0));
}

// The tests run under a QCoreApplication: there is no desktop to show a sheet with.
TEST_F(WorkbookFile, ShowingReportsTheSpreadsheetMessages) {
    Workbook book;
    book.firstSheet().setCell(1, 1, QStringLiteral("dato"));
    try {
        sheet::saveAndShow(book, path(QStringLiteral("no-existe/libro.xlsx")));
        FAIL() << "saved into a missing folder";
    } catch (const SheetError& e) {
        EXPECT_STREQ("Error intentando abrir con OLE el Excel", e.what());
    }
    try {
        sheet::saveAndShow(book, path());
        FAIL() << "showed a sheet without a desktop";
    } catch (const SheetError& e) {
        EXPECT_STREQ("MS Excel 97 not this installed", e.what());
    }
    EXPECT_EQ(QVariant(QStringLiteral("dato")), XlsxReader(path()).cell(0, 1, 1))
        << "the file stays for the user";
}

} // namespace
