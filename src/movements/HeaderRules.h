#pragma once
// What the header window of a movement document does to MOVIMIENTO besides creating it: deleting a
// document without lines, renumbering, searching by number or invoice, the duplicate-invoice count
// and the invoice-date rule. Typed numbers are read here, never pasted into SQL.

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

namespace db {
class Session;
}

namespace movements {

struct HeaderKey {
    QString empresa;
    QString documento;
    int consecutivo = 0;
};

class HeaderRules {
  public:
    static inline const QString kNotFound = QStringLiteral("Documento no Existe");

    // The refusal of a delete of a document that has lines.
    static QString hasLinesMessage(int number);
    // Deletes a header that has no lines. Returns the refusal (the document has lines) or an empty
    // text when it was deleted; a header that is not there is refused with kNotFound.
    static QString remove(db::Session& session, const HeaderKey& key);

    // Gives the document the typed number, carrying its lines along, in one transaction. Refused
    // (with nothing changed) when the text is not a whole number above 0, when the document is not
    // there, or when the number is taken by another document of the same company and type.
    static QString renumber(db::Session& session, const HeaderKey& key, const QString& typed);

    // The number of the document of that company and type whose CONSECUTIVO (or FACTURA) is the
    // typed number; nullopt with *refusal set to kNotFound (or a text about the typed number).
    static std::optional<int> findByNumber(db::Session& session, const QString& empresa, const QString& documento,
                                           const QString& typed, QString* refusal);
    static std::optional<int> findByInvoice(db::Session& session, const QString& empresa, const QString& documento,
                                            const QString& typed, QString* refusal);

    // How many headers of the document type hold this invoice number for this third party, and the
    // warning the header window shows when there is more than one.
    static int invoiceCount(db::Session& session, const QVariant& factura, const QVariant& cliente,
                            const QString& documento);
    static QString duplicateInvoiceMessage(int count, const QVariant& factura);

    // FECHAFACTURA as a header is posted: an empty invoice date or one before FECHA becomes FECHA.
    static QVariant invoiceDateOnPost(const QVariant& fechaFactura, const QVariant& fecha);

    // A typed document number: nullopt for anything but a whole number above 0.
    static std::optional<int> readNumber(const QString& typed);
};

} // namespace movements
