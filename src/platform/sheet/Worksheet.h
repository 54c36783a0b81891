#pragma once
// One sheet of a Workbook, written cell by cell the way the exports fill a spreadsheet. Rows past the
// workbook's row limit flow on to continuation sheets (see Workbook).

#include "platform/sheet/SheetCells.h"

#include <QMap>
#include <QString>
#include <QVariant>
#include <vector>

namespace sheet {

class Workbook;

// Only a Workbook makes sheets; the key keeps the constructor usable by std::make_unique.
class SheetKey {
    friend class Workbook;
    SheetKey() = default;
};

class Worksheet {
  public:
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;
    ~Worksheet();

    QString name() const { return name_; }

    // Row and column counted from 1. An invalid or null QVariant leaves the cell empty; int, qlonglong
    // and double are numbers; QDate and QDateTime are date cells (a serial number shown with
    // "dd/mm/yyyy" unless numberFormat says otherwise), QTime a fraction of a day ("hh:mm:ss"); bool is
    // a boolean; QString and anything else convertible to text is text, never reinterpreted as a number.
    // numberFormat ("#,##0.00", "dd/mm/yyyy", "000000"...) applies to this cell only. Throws SheetError
    // for a row or column outside the sheet.
    void setCell(int row, int column, const QVariant& value, const QString& numberFormat = {});
    // Width in characters of the default font; also applies to this sheet's continuation sheets.
    void setColumnWidth(int column, double width);
    // A label in bold: titles and column headings.
    void setBold(int row, int column, const QVariant& value);
    // Highest row written through this sheet, counted in this sheet's own numbering, so rows that went
    // on to continuation sheets count too: lastRow() + 1 is always the next free row. 0 when empty.
    int lastRow() const;

    // origin is null for a sheet the caller named, else the sheet this one continues.
    Worksheet(SheetKey, Workbook& book, QString name, Worksheet* origin, int part);

  private:
    friend class Workbook;

    void write(int row, int column, const QVariant& value, const QString& numberFormat, bool bold);
    // The sheet that holds a row of this sheet, and the row's number there.
    std::pair<Worksheet*, int> locate(int row, int column);

    Workbook& book_;
    QString name_;
    // The sheet the user named and the part this sheet is of it: 0 for the named sheet itself, k for
    // its continuation " (k+1)", which holds the named sheet's rows k*limit+1 to (k+1)*limit.
    Worksheet* origin_;
    int part_;
    std::vector<Worksheet*> parts_; // only on the origin: parts_[k] is part k
    QMap<int, double> columnWidths_;
    SheetCells cells_;
};

} // namespace sheet
