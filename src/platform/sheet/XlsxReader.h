#pragma once
// Reads the cells of an .xlsx file: sheets a user prepared in any spreadsheet program and the files the
// exports write. Values only: numbers, texts and booleans; a date is the serial number the file stores,
// and isDate() tells whether its cell is shown as a date.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace sheet {

class XlsxReader {
  public:
    // Throws SheetError when the file is missing or is not a readable workbook.
    explicit XlsxReader(const QString& path);
    ~XlsxReader();
    XlsxReader(const XlsxReader&) = delete;
    XlsxReader& operator=(const XlsxReader&) = delete;

    // In the order the workbook shows them. Sheet indexes below are 0-based; rows and columns count
    // from 1. A sheet is read on its first use; a bad index or a damaged sheet throws SheetError.
    QStringList sheetNames() const;
    int sheetCount() const;
    // Highest row and column that hold a value; 0 for an empty sheet.
    int rowCount(int sheet) const;
    int columnCount(int sheet) const;
    // Invalid QVariant for an empty cell; double for numbers and dates, bool, QString for texts and for
    // error values such as "#N/A". A formula gives the value last calculated.
    QVariant cell(int sheet, int row, int column) const;
    // The cell holds a number shown with a date or time format.
    bool isDate(int sheet, int row, int column) const;
    // The number format code of a cell ("General" when it has none).
    QString numberFormat(int sheet, int row, int column) const;

    // The day a date serial falls on; invalid for serials below 1 and for the phantom 29/02/1900.
    static QDate fromSerial(double serial);
    // Whether a number format code shows a date or time: it has day, month or year fields outside
    // quoted text, escapes and bracketed colour or locale tags.
    static bool isDateFormat(const QString& formatCode);

  private:
    struct Data;
    std::unique_ptr<Data> d_;
};

} // namespace sheet
