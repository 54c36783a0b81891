#include "platform/sheet/SheetCells.h"

namespace sheet {

SheetCells::Cell& SheetCells::slot(int row, int column) {
    if (rows_.size() < size_t(row)) rows_.resize(size_t(row));
    auto& cells = rows_[size_t(row - 1)];
    if (cells.size() < size_t(column)) cells.resize(size_t(column));
    return cells[size_t(column - 1)];
}

void SheetCells::setNumber(int row, int column, double value, quint16 format) {
    Cell& cell = slot(row, column);
    cell.number = value;
    cell.format = format;
    cell.kind = Kind::Number;
}

void SheetCells::setText(int row, int column, const QString& value, quint16 format) {
    Cell& cell = slot(row, column);
    // A text replaced in place leaves its old bytes behind; exports write each cell once, so the
    // buffer is not compacted.
    cell.textOffset = texts_.size();
    const QByteArray utf8 = value.toUtf8();
    texts_.append(utf8.constData(), size_t(utf8.size()));
    texts_.push_back('\0');
    cell.format = format;
    cell.kind = Kind::Text;
}

void SheetCells::setBoolean(int row, int column, bool value, quint16 format) {
    Cell& cell = slot(row, column);
    cell.boolean = value;
    cell.format = format;
    cell.kind = Kind::Boolean;
}

void SheetCells::setBlank(int row, int column, quint16 format) {
    if (format == 0 && (rows_.size() < size_t(row) || rows_[size_t(row - 1)].size() < size_t(column))) return;
    Cell& cell = slot(row, column);
    cell.number = 0;
    cell.format = format;
    cell.kind = Kind::Blank;
}

} // namespace sheet
