#pragma once
// The rules every line of an inventory document goes through when it is posted, whether typed in the
// grid, loaded from a purchase order or added by a line utility: completion (warehouse, price breaks,
// VAT, cost, subtotal, discount, unit conversion), the warehouse-balance guard, the header totals and
// the item's weighted average cost. A post or a delete is one transaction: the line, the header
// totals and the item's average are written together or not at all.

#include "movements/DocumentTypes.h"
#include "movements/HeaderRules.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace db {
class Session;
class Statement;
} // namespace db

namespace movements {

// One line of a movement document (MOVIMIENTODETALLE) as a caller hands it over: what was typed or
// copied. The rules fill in BODEGA, IVA, COSTO, SUBTOTAL, VALORDESCUENTO and VALORIVA and may change
// the price and, by a unit conversion, the quantity.
struct MovementLine {
    int linea = 0; // 0: a new line, numbered when it is written
    int producto = 0;
    QString centroCostos{};
    double cantidad = 0; // signed: entries positive, issues negative
    double precioUnidad = 0;
    double descuento = 0; // discount percentage
    double iva = 0;       // VAT percentage; always replaced by the rules
    double subtotal = 0;  // unsigned, local currency
    double valorIva = 0;
    double valorDescuento = 0;
    double costo = 0;
    QString unidadMovimiento{};
    QString unidadCompra{};
    QVariant cantidadRecibida{}; // invalid: NULL
    QString observacion{};
    QVariant subproducto{}; // invalid: NULL
    int bodega = 0;         // always the header's warehouse once posted
};

struct HeaderTotals {
    double subtotal = 0;
    double descuento = 0;
    double iva = 0;
    double neto = 0;
};

// The switches of the windows the rules run under.
struct LineOptions {
    bool valuedIssues = false;    // "Salidas Valorizadas Con Promedio Ponderado"
    bool vatWithDiscount = false; // "Iva Con Descuento"
    // "Realizamos Conversion ?": asked when an entry's item is kept in another unit than it moves in and
    // a conversion between the two exists. Unset, or answered false: the line is not converted.
    std::function<bool(const QString& fromUnit, const QString& toUnit)> confirmConversion{};
};

// What a post wrote.
struct PostedLine {
    MovementLine line{};
    HeaderTotals totals{};
    // The conversion status text ("Convertir de UN a DO  Dividir Por 12"); empty when none was made.
    QString conversion{};
    // The item's VALORPROMEDIO when this post changed it.
    std::optional<double> valorPromedio{};
};

// A line the rules refuse, with the Spanish text for the user. Nothing was written.
class LineRefused : public std::runtime_error {
  public:
    explicit LineRefused(const QString& message);
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// What the completion of a line reads from the database, gathered before the line is computed.
struct LineContext {
    DocumentType type{};
    double tasa = 1;               // exchange rate of the header
    double itemPrice = 0;          // PRODUCTOS.VALORUNIDAD
    double itemVat = 0;            // PRODUCTOS.VALORIVA (a percentage)
    bool pricesIncludeVat = false; // PRODUCTOS.PRECIOMASIVA = "S"
    QString unidad{};              // PRODUCTOS.UNIDAD, the unit an item enters in
    QString unidadS{};             // PRODUCTOS.UNIDADS, the unit it is kept in
    bool naturalPerson = false;    // third party's TIPOTERCERO = "P": no VAT on purchases from it
    std::optional<double>
        breakPrice{};           // VALORVENTAMOSTRADOR of the largest price break not above the quantity sold
    double entriesQuantity = 0; // entries of the item in the company dated before the document
    double entriesValue = 0;
    // The UNIDADCONVERSION row from UNIDAD to UNIDADS, when there is one.
    std::optional<double> conversionFactor{};
    QString conversionOperator{}; // "D" divides the quantity by the factor, "M" multiplies it
    // Only a line being written for the first time is converted; an edited line is in its stored unit.
    bool mayConvert = true;
};

class LineRules {
  public:
    static inline const QString kBalanceShort = QStringLiteral("Saldo menor a la cantidad solicitada");
    static inline const QString kNoItem = QStringLiteral("Producto no Existe");
    static inline const QString kLineGone = QStringLiteral("La linea ya no existe en el documento");
    static inline const QString kNoSubItem = QStringLiteral("Sin Crear");
    static inline const QString kConvertQuestion = QStringLiteral("Realizamos Conversion ?");

    // Statements are prepared on first use and kept for the life of the object, so one object should
    // serve a whole grid session or load.
    explicit LineRules(db::Session& session);
    ~LineRules();
    LineRules(const LineRules&) = delete;
    LineRules& operator=(const LineRules&) = delete;

    // Completes and writes a line of the document: inserted when `isNew` (numbered after the
    // document's highest line when line.linea is 0), else the stored line of that number is replaced.
    // Throws LineRefused (the balance guard, an unknown item or document, an edited line that is gone)
    // or db::DbError (a lock conflict or any other database failure, with the engine's text); either
    // way nothing is written.
    PostedLine post(const HeaderKey& document, const MovementLine& line, bool isNew,
                    const LineOptions& options = {});

    // Deletes a line: gives its share of the item's average back and recomputes the header totals, in
    // one transaction. A line that is not there changes nothing but the totals.
    HeaderTotals remove(const HeaderKey& document, int linea);

    // The totals of the document's lines, stored on the header.
    HeaderTotals recomputeTotals(const HeaderKey& document);

    // Every statement the rules run with the engine's access plan, as (statement, plan) pairs: the
    // per-line reads must all go through an index.
    std::vector<std::pair<QString, QString>> plans();

    // The completion of a line from what was read for it; the database is not touched. Returns the
    // conversion status text (empty when the line was not converted).
    static QString complete(MovementLine& line, const LineContext& context, const LineOptions& options);

    // The line's sub-item as the grid shows it: PRODUCTOSSUB.NOMBRE, or "Sin Crear".
    static QString subItemName(db::Session& session, int producto, const QVariant& subproducto);

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace movements
