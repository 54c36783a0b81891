// The reader on workbooks as other spreadsheet programs save them (shared strings, rich text, styles,
// rows and cells without references), on damaged files, and its date helpers.
#include "platform/sheet/XlsxReader.h"
#include "platform/sheet/SheetError.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>
#include <vector>
#include <zip.h>

using sheet::SheetError;
using sheet::XlsxReader;

namespace {

using Members = std::vector<std::pair<const char*, QByteArray>>;

void writeZip(const QString& path, const Members& members) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(nullptr, archive) << error;
    for (const auto& [name, data] : members) {
        // The data stays alive in `members` until zip_close reads it.
        zip_source_t* source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        ASSERT_GE(zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8), 0) << name;
    }
    ASSERT_EQ(0, zip_close(archive));
}

const char* const kRootRels = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>)";

// Sheets listed in another order than their relationships, under a prefix other than "r", one target
// absolute and one relative.
const char* const kWorkbook = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:rel="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<sheets><sheet name="Artículos" sheetId="2" rel:id="rId3"/><sheet name="Movimientos" sheetId="1" rel:id="rId1"/></sheets>
</workbook>)";

const char* const kWorkbookRels = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
<Relationship Id="rId5" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>
</Relationships>)";

const char* const kSharedStrings = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" uniqueCount="3">
<si><t>Código</t></si>
<si><r><rPr><b/></rPr><t>Tor</t></r><r><t xml:space="preserve">nillo ñ </t></r><rPh sb="0" eb="1"><t>fonética</t></rPh></si>
<si><t>Línea_x000D_
siguiente</t></si>
</sst>)";

// Cell styles 0..6; the xf under cellStyleXfs is not a cell style and must not shift the indexes.
const char* const kStyles = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts count="4"><numFmt numFmtId="164" formatCode="dd/mm/yyyy"/><numFmt numFmtId="165" formatCode="#,##0.00 &quot;días&quot;"/>
<numFmt numFmtId="166" formatCode="[Red]0.00"/><numFmt numFmtId="167" formatCode="[$-409]d-mmm-yy"/></numFmts>
<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>
<cellXfs count="7"><xf numFmtId="0"/><xf numFmtId="14" applyNumberFormat="1"/><xf numFmtId="164"/><xf numFmtId="165"/>
<xf numFmtId="166"/><xf numFmtId="167"/><xf numFmtId="4"><alignment horizontal="right"/></xf></cellXfs>
</styleSheet>)";

const char* const kItems = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c></row>
<row><c t="inlineStr"><is><t>ABC-01</t></is></c><c><v>12.5</v></c><c t="b"><v>1</v></c><c t="e"><v>#N/A</v></c><c><f>B2*2</f><v>25</v></c><c t="str"><f>A2</f><v>ABC-01</v></c></row>
<row r="4"><c r="A4" s="1"><v>45351</v></c><c r="B4" s="2"><v>45351</v></c><c r="C4" s="3"><v>7</v></c><c r="D4" s="4"><v>7</v></c><c r="E4" s="5"><v>45351</v></c><c r="F4" s="6"><v>1234.5</v></c><c r="G4" s="2"/></row>
</sheetData></worksheet>)";

const char* const kEmptySheet = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData/></worksheet>)";

class ForeignWorkbook : public ::testing::Test {
  protected:
    QString write(const Members& members) {
        const QString path = folder.filePath(QStringLiteral("ajeno.xlsx"));
        writeZip(path, members);
        return path;
    }
    Members workbook(const char* items = kItems) {
        return {{"_rels/.rels", kRootRels},
                {"xl/workbook.xml", kWorkbook},
                {"xl/_rels/workbook.xml.rels", kWorkbookRels},
                {"xl/sharedStrings.xml", kSharedStrings},
                {"xl/styles.xml", kStyles},
                {"xl/worksheets/sheet1.xml", items},
                {"xl/worksheets/sheet2.xml", kEmptySheet}};
    }

    QTemporaryDir folder;
};

TEST_F(ForeignWorkbook, ReadsSheetsTextsAndValues) {
    XlsxReader reader(write(workbook()));
    EXPECT_EQ((QStringList{QStringLiteral("Artículos"), QStringLiteral("Movimientos")}), reader.sheetNames());

    struct Case {
        int row;
        int column;
        QVariant expected;
    } cases[] = {
        {1, 1, QStringLiteral("Código")},
        {1, 2, QStringLiteral("Tornillo ñ ")},
        {1, 3, QStringLiteral("Línea\r\nsiguiente")},
        {2, 1, QStringLiteral("ABC-01")},
        {2, 2, 12.5},
        {2, 3, true},
        {2, 4, QStringLiteral("#N/A")},
        {2, 5, 25.0},
        {2, 6, QStringLiteral("ABC-01")},
        {3, 1, QVariant()},
        {4, 7, QVariant()},
        {9, 9, QVariant()},
    };
    for (const auto& c : cases) {
        const QVariant read = reader.cell(0, c.row, c.column);
        EXPECT_EQ(c.expected.typeId(), read.typeId()) << c.row << "," << c.column;
        EXPECT_EQ(c.expected, read) << c.row << "," << c.column;
    }
    EXPECT_EQ(4, reader.rowCount(0));
    EXPECT_EQ(6, reader.columnCount(0));
    EXPECT_EQ(0, reader.rowCount(1));
    EXPECT_THROW(reader.cell(2, 1, 1), SheetError);
}

TEST_F(ForeignWorkbook, TellsDateCellsByTheirFormat) {
    XlsxReader reader(write(workbook()));
    struct Case {
        int column;
        bool date;
        QString format;
    } cases[] = {
        {1, true, "mm-dd-yy"},   {2, true, "dd/mm/yyyy"},      {3, false, "#,##0.00 \"días\""},
        {4, false, "[Red]0.00"}, {5, true, "[$-409]d-mmm-yy"}, {6, false, "#,##0.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.date, reader.isDate(0, 4, c.column)) << c.column;
        EXPECT_EQ(c.format, reader.numberFormat(0, 4, c.column)) << c.column;
    }
    EXPECT_EQ(QDate(2024, 2, 29), XlsxReader::fromSerial(reader.cell(0, 4, 1).toDouble()));
    EXPECT_FALSE(reader.isDate(0, 1, 1)) << "a text is never a date";
}

TEST_F(ForeignWorkbook, DamagedFilesAreRefused) {
    const QString text = folder.filePath(QStringLiteral("texto.xlsx"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Código;Descripción\n");
    file.close();
    EXPECT_THROW(XlsxReader(folder.filePath(QStringLiteral("no-existe.xlsx"))), SheetError);
    EXPECT_THROW(XlsxReader{text}, SheetError);
    EXPECT_THROW(XlsxReader(write({{"hola.txt", "hola"}})), SheetError) << "a zip that is no workbook";

    Members broken = workbook();
    broken[1].second = "<workbook><sheets><sheet name=";
    EXPECT_THROW(XlsxReader{write(broken)}, SheetError) << "unreadable workbook part";

    // A damaged sheet fails when it is read, not before: the other sheets stay readable.
    XlsxReader reader(write(workbook("<worksheet><sheetData><row><c><v>1</v></row>")));
    EXPECT_EQ(2, reader.sheetCount());
    EXPECT_THROW(reader.cell(0, 1, 1), SheetError);
    EXPECT_EQ(0, reader.rowCount(1));
}

TEST(XlsxDates, SerialsGiveTheirDay) {
    struct Case {
        double serial;
        QDate date;
    } cases[] = {
        {1, QDate(1900, 1, 1)},
        {59, QDate(1900, 2, 28)},
        {60, QDate()}, // the phantom 29/02/1900
        {61, QDate(1900, 3, 1)},
        {45351, QDate(2024, 2, 29)},
        {45351.75, QDate(2024, 2, 29)},
        {2958465, QDate(9999, 12, 31)},
        {0.5, QDate()},
        {-1, QDate()},
        {2958466, QDate()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.date, XlsxReader::fromSerial(c.serial)) << c.serial;
}

TEST(XlsxDates, DateFormatsAreToldFromNumberFormats) {
    struct Case {
        const char* code;
        bool date;
    } cases[] = {
        {"dd/mm/yyyy", true},
        {"yyyy-mm-dd hh:mm", true},
        {"[$-F800]dddd, mmmm dd, yyyy", true},
        {"[h]:mm:ss", true},
        {"mmm-yy", true},
        {"General", false},
        {"#,##0.00", false},
        {"0.00 \"días\"", false},
        {"[Red]#,##0;[Blue]-#,##0", false},
        {"0\\d", false},
        {"_(* #,##0_)", false},
        {"000000", false},
        {"0.00E+00", false},
        {"@", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.date, XlsxReader::isDateFormat(QString::fromUtf8(c.code))) << c.code;
}

} // namespace
