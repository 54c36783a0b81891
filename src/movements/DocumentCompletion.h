#pragma once
// What happens to a document when its lines are done: the withholding, the received quantities of
// the purchase order it receives, its closing, and the request handed to the posting to accounting.

#include "movements/DocumentTypes.h"
#include "movements/HeaderRules.h"

#include <QDateTime>
#include <QString>

namespace db {
class Session;
}

namespace movements {

// What the posting to accounting needs to know of a closed document.
struct PostingRequest {
    HeaderKey document{};
    QDateTime fecha{};
    QString cuentaRetencionV{}; // the company's withholding accounts
    QString cuentaRetencionC{};
    bool costOfSales = false; // "Contabiliza Costo de Ventas"
};

// The header fields the line window shows and lets the user change, as text: numbers formatted with
// the fixed separators, an empty text for NULL.
struct HeaderFields {
    QString despachara{};
    QString plazo{};
    QString flete{};
    QString retencion{};
    QString reteica{};
    QString reteiva{};
    QString observaciones{};
};

class DocumentCompletion {
  public:
    static HeaderFields headerFields(db::Session& session, const HeaderKey& document);
    // Stores typed header fields in one statement. A number that is not one, a term that is not a
    // whole number of days or a text too long for its column is refused with a Spanish message
    // (std::invalid_argument) and nothing is stored. An empty field stores NULL.
    static void saveHeaderFields(db::Session& session, const HeaderKey& document, const HeaderFields& fields);

    // The percentage the window proposes: 2.5 when the third party withholds itself
    // (AUTERRETENEDOR "S"), else 0.
    static double defaultRetentionPercent(db::Session& session, const HeaderKey& document);
    // A typed percentage; text that is not a number counts as 0.
    static double readPercent(const QString& typed);
    // rounded ((subtotal - discount) x percent / 100); 0 for a percentage not above 0.
    static double retention(double subtotal, double discount, double percent);
    // Stores the withholding of the header's own totals.
    static void applyRetention(db::Session& session, const HeaderKey& document, double percent);

    // Printing an order receipt: every order line of an item of this document gets the quantity
    // received over all the order's documents, the document becomes "A" and the order "C", in one
    // transaction. Documents of types that do not receive orders, or without an order number, only
    // leave the order alone.
    static void finishOrderReceipt(db::Session& session, const HeaderKey& document, const DocumentType& type);

    // Closing the line window: the document becomes "C".
    static void close(db::Session& session, const HeaderKey& document);

    // Whether closing asks to post the document (types that post to accounting, "S" or "I").
    static bool postsToAccounting(const DocumentType& type);
    static PostingRequest postingRequest(db::Session& session, const HeaderKey& document, bool costOfSales);
};

} // namespace movements
