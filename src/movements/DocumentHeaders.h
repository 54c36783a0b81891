#pragma once
// Creation of inventory document headers (MOVIMIENTO): a new header takes the next number of its
// company and document type, today's date unless given, status "G" and FACTURA equal to its number.

#include "platform/db/Session.h"

#include <QDate>
#include <QString>

namespace movements {

struct NewHeader {
    QString empresa;
    QString documento;
    int bodega = 0;
    QDate fecha = QDate::currentDate();
    double cliente = 0;
    QString despachara{}; // delivery address; empty stores NULL
};

class DocumentHeaders {
public:
    // Writes the header and returns its number; two workstations creating a header of the same
    // company and type at once both succeed, with different numbers.
    static int create(db::Session& session, const NewHeader& header);
};

} // namespace movements
