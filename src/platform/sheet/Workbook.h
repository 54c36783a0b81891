#pragma once
// A spreadsheet built in memory and saved as an .xlsx file, the system's way of producing what the
// exports used to type into a running spreadsheet program. Nothing touches the disk before saveAs().
//
// Rows past the row limit (1,048,576, the most a sheet can hold) continue on a continuation sheet
// named after the sheet with " (2)", " (3)"... placed right after it: row r of sheet S goes to row
// r - k*limit of the continuation sheet k+1, with k = (r-1) / limit. Heading rows are not repeated
// there; a caller that wants headings on every sheet splits the data into sheets of its own.

#include "platform/sheet/SheetError.h"
#include "platform/sheet/Worksheet.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace sheet {

class Workbook {
  public:
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // The first sheet; on an empty workbook it is created and named "Hoja1".
    Worksheet& firstSheet();
    // Names are cut to 31 characters, the characters []:*?/\ become "_", and a name already taken
    // (case aside) gets " (2)", " (3)"... so any text the caller has is accepted.
    Worksheet& addSheet(const QString& name);
    // 0-based, in the order the file shows them, continuation sheets included (a new continuation sheet
    // moves the sheets after it one place on). Throws SheetError.
    Worksheet& sheet(int index);
    int sheetCount() const { return int(sheets_.size()); }

    // Rows per sheet before a continuation sheet starts; set it before writing any cell.
    void setRowLimit(int rows);
    int rowLimit() const { return rowLimit_; }

    // Writes the .xlsx into a temporary file beside path and renames it over path at the end, so a
    // failure (no such folder, disk full, no permission) leaves no partial file. Throws SheetError.
    void saveAs(const QString& path);

  private:
    friend class Worksheet;
    struct Format {
        QString numberFormat;
        bool bold = false;
    };

    quint16 formatId(const QString& numberFormat, bool bold);
    Worksheet& part(Worksheet& origin, int part);
    QString uniqueName(const QString& wanted) const;
    bool nameTaken(const QString& name) const;
    bool hasCells() const;

    std::vector<std::unique_ptr<Worksheet>> sheets_;
    std::vector<Format> formats_; // index 0 is the default format
    QHash<QString, quint16> formatIds_;
    int rowLimit_;
};

// Saves the workbook to path and opens it with the desktop's program for .xlsx files: what the exports
// do where a spreadsheet used to be made visible. Throws SheetError with "Error intentando abrir con OLE
// el Excel" when the file cannot be written (the cause goes to the log) and with "MS Excel 97 not this
// installed" when there is no program to show it; in that case the file stays at path.
void saveAndShow(Workbook& book, const QString& path);

} // namespace sheet
