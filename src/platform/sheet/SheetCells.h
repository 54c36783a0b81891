#pragma once
// The cells of one sheet, held in memory until the workbook is saved. A cell takes 16 bytes and texts
// are packed as UTF-8 into one buffer, so an export of a hundred thousand rows of ten columns stays in
// tens of megabytes instead of a QVariant and a QString per cell.

#include <QString>
#include <QtGlobal>
#include <string>
#include <vector>

namespace sheet {

class SheetCells {
  public:
    enum class Kind : quint8 { Blank, Number, Text, Boolean };

    struct Cell {
        union {
            double number;
            quint64 textOffset;
            bool boolean;
        };
        quint16 format = 0;
        Kind kind = Kind::Blank;
        Cell() : number(0) {}
    };

    // Rows and columns counted from 1. A blank cell with format 0 is the same as no cell.
    void setNumber(int row, int column, double value, quint16 format);
    void setText(int row, int column, const QString& value, quint16 format);
    void setBoolean(int row, int column, bool value, quint16 format);
    void setBlank(int row, int column, quint16 format);

    // Highest row that holds a cell, 0 when the sheet is empty.
    int lastRow() const { return int(rows_.size()); }
    // The cells of a row (index 0 is column 1); empty for a row never written.
    const std::vector<Cell>& row(int row) const { return rows_[size_t(row - 1)]; }
    // NUL-terminated UTF-8 of a text cell, valid until the next write.
    const char* text(const Cell& cell) const { return texts_.data() + cell.textOffset; }

  private:
    Cell& slot(int row, int column);

    std::vector<std::vector<Cell>> rows_;
    std::string texts_;
};

} // namespace sheet
