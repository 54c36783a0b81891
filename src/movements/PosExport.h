#pragma once
// The files a document of a point-of-sale type (print layout 99) leaves for the point-of-sale
// system: its lines, its items and the third parties of its zone, rewritten whole each time.
//
//   Movimiento.CSV  item; absolute quantity; VAT %; unit price;       one line of the document each
//   Productos.CSV   item; reference; name; unit; VAT %; unit price;   one per line, by item
//   Terceros.CSV    NIT; name; address; telephone                     third parties whose SUBZONA is
//                                                                     the document's SOLICITADOPOR
//
// Numbers are written with a point and no grouping; text in Latin-1, as the point-of-sale
// workstations read it. A file is replaced only once it is complete.

#include "movements/HeaderRules.h"

#include <QString>

namespace db {
class Session;
}

namespace movements {

class PosExport {
  public:
    // ALMACEN_POS_DIR, else c:\Orvel\Pos on Windows and ~/.local/share/almacen/pos elsewhere.
    static QString defaultFolder();

    // Writes the three files into `folder` (made when missing). Throws std::runtime_error with a
    // Spanish text naming the file that could not be written; the files already replaced stay.
    static void write(db::Session& session, const HeaderKey& document, const QString& folder);
};

} // namespace movements
