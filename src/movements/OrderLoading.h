#pragma once
// Loading the pending lines of a purchase order into the document that receives it.

#include "movements/HeaderRules.h"
#include "movements/LineRules.h"

#include <QStringList>

namespace db {
class Session;
}

namespace movements {

struct OrderLoadResult {
    int loaded = 0;
    QStringList refused; // "Producto N: <why>" for each order line the line rules refused
};

// How much of an order line is still to receive: what the documents that receive the order do not
// hold yet, or (the direct sale of ordered goods) what the order itself has not marked received,
// without the order's cost centre.
enum class PendingFrom { ReceivingDocuments, OrderReceived };

class OrderLoading {
  public:
    static inline const QString kNoOrder = QStringLiteral("Orden de Compra No Existe");

    // Whether the order the header names (ORDENCOMPRASALIDA) exists for its company.
    static bool orderExists(db::Session& session, const HeaderKey& document);

    // Every line of the header's order still pending (ordered above received) becomes a line of the
    // document with the quantity not yet received by the documents that receive this order, through
    // the line rules; a refused line is left out and reported, the others stay. The document's STATUS
    // becomes "L" (even when nothing was pending). Throws LineRefused with kNoOrder when the order is
    // not there.
    static OrderLoadResult loadPending(db::Session& session, LineRules& rules, const HeaderKey& document,
                                       const LineOptions& options = {},
                                       PendingFrom pendingFrom = PendingFrom::ReceivingDocuments);
};

} // namespace movements
