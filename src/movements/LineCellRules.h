#pragma once
// What the line grid checks and fills as the user leaves a cell, before the line is posted: the item
// and its defaults, the sign of the quantity, the warehouse balance hint, the cost centre, and the
// price worked back from a typed subtotal. Posting runs the line rules again on the whole line.

#include "movements/DocumentTypes.h"

#include <QString>
#include <optional>

namespace db {
class Session;
}

namespace movements {

struct ItemDefaults {
    int producto = 0;
    QString nombre{};
    QString referencia{};
    QString unidad{};
    QString grupo{};
    double valorUnidad = 0;
    double valorPromedio = 0;
};

class LineCellRules {
  public:
    static inline const QString kBalanceShort = QStringLiteral("El Saldo es Menor(<) a la Cantidad a Retirar");
    static inline const QString kNoCostCentre = QStringLiteral("Centro de costos no existe");
    // Items of this group ask for their cost centre when chosen.
    static inline const QString kCostCentreGroup = QStringLiteral("Q");

    // The item of a typed code (its PRODUCTO number); nullopt for text that is no item.
    static std::optional<ItemDefaults> item(db::Session& session, const QString& typed);
    // The item whose CODIGOBARRAS is the scanned code.
    static std::optional<ItemDefaults> itemByBarcode(db::Session& session, const QString& barcode);

    // The unit price once the item is known: the item's sale price for a line without price, and the
    // average cost for a valued production issue.
    static double priceForItem(double typedPrice, const ItemDefaults& item, const DocumentType& type,
                               bool valuedIssues);

    // The quantity as stored: negative for documents that take stock out and for sub-item documents.
    static double signedQuantity(double typed, const DocumentType& type);

    // SALDOSBODEGA.SALDO of the item in the warehouse (0 when it never moved there), and the text the
    // balance status shows: "###,###.00", two blanks, the item's number and name.
    static double warehouseBalance(db::Session& session, const QString& empresa, int producto, int bodega);
    static QString balanceText(double balance, const ItemDefaults& item);

    // The refusal of an issue beyond the balance, or an empty text. `storedQuantity` is what the line
    // already holds in the database (0 for a new line): it is in the balance and is given back first.
    static QString checkBalance(double signedQuantity, double balance, double storedQuantity,
                                const DocumentType& type);

    static bool costCentreExists(db::Session& session, const QString& code);

    // The unit price of a new line whose subtotal was typed: subtotal / |quantity|; nullopt when the
    // subtotal is 0, did not change, or there is no quantity to divide by.
    static std::optional<double> priceFromSubtotal(double subtotal, double subtotalBefore, double quantity);
};

} // namespace movements
