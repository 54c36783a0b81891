#include "movements/LineRules.h"

#include "movements/EntryTotals.h"
#include "movements/LineCellRules.h"
#include "platform/db/DbError.h"
#include "platform/db/Row.h"
#include "platform/db/Session.h"
#include "platform/db/Statement.h"
#include "platform/numbers/Format.h"
#include "platform/numbers/Rounding.h"

#include <QDateTime>
#include <array>
#include <cmath>

namespace movements {

namespace {

using numbers::roundHalfEven;

const QString kYes = QStringLiteral("S");

// Every statement a post or a delete runs, prepared once per LineRules object. Each reads through
// a key or IX_MOVDET_PRODUCTO_EMP_BODEGA (lines of one item), never a whole table.
enum Sql {
    ReadHeader,
    ReadType,
    ReadStoredLine,
    ReadItem,
    ReadItemLocked,
    ReadThirdParty,
    ReadBalance,
    ReadPriceBreak,
    ReadConversion,
    ReadMaxLine,
    InsertLine,
    UpdateLine,
    DeleteLine,
    ReadStockToDate,
    ReadAllEntriesToDate,
    WriteAverage,
    ReadTotals,
    WriteTotals,
    SqlCount
};

const std::array<QString, SqlCount> kSql = {
    QStringLiteral("SELECT BODEGA, FECHA, CLIENTE, TASA FROM MOVIMIENTO "
                   "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
    QStringLiteral("SELECT DOCUMENTO, NOMBRE, OPERADOR, ENTRA, CENTROCOSTOS, ORDENCOMPRA, SUBPRODUCTO, "
                   "CONTROLASALDO, CUENTAS, MONEDA, INFORME FROM DOCUMENTOS WHERE DOCUMENTO = ?"),
    QStringLiteral("SELECT PRODUCTO, CANTIDAD, SUBTOTAL, VALORDESCUENTO, BODEGA FROM MOVIMIENTODETALLE "
                   "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ? AND LINEA = ?"),
    QStringLiteral(
        "SELECT VALORUNIDAD, VALORIVA, PRECIOMASIVA, UNIDAD, UNIDADS, VALORPROMEDIO FROM PRODUCTOS "
        "WHERE PRODUCTO = ?"),
    // The item row is the lock that keeps two workstations from interleaving the balance check and the
    // average of one item: the second fails at once (no wait) instead of computing from stale values.
    QStringLiteral(
        "SELECT VALORUNIDAD, VALORIVA, PRECIOMASIVA, UNIDAD, UNIDADS, VALORPROMEDIO FROM PRODUCTOS "
        "WHERE PRODUCTO = ? WITH LOCK"),
    QStringLiteral("SELECT TIPOTERCERO FROM PROVEEDORES WHERE NIT = ?"),
    QStringLiteral("SELECT SALDO FROM SALDOSBODEGA WHERE EMPRESA = ? AND PRODUCTO = ? AND BODEGA = ?"),
    QStringLiteral("SELECT FIRST 1 VALORVENTAMOSTRADOR FROM PRODUCTOSVALORVENTA "
                   "WHERE PRODUCTO = ? AND CANTIDAD <= ? ORDER BY CANTIDAD DESC, UNIDAD"),
    QStringLiteral(
        "SELECT CANTIDAD, OPERADOR FROM UNIDADCONVERSION WHERE CODIGOUNIDAD = ? AND CODIGOUNIDADRECIBIR = ?"),
    QStringLiteral(
        "SELECT MAX(LINEA) FROM MOVIMIENTODETALLE WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
    QStringLiteral(
        "INSERT INTO MOVIMIENTODETALLE (PRODUCTO, CENTROCOSTOS, CANTIDAD, PRECIOUNIDAD, DESCUENTO, IVA, "
        "SUBTOTAL, VALORIVA, VALORDESCUENTO, COSTO, BODEGA, UNIDADMOVIMIENTO, UNIDADCOMPRA, "
        "CANTIDADRECIBIDA, OBSERVACION, SUBPRODUCTO, EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
    QStringLiteral(
        "UPDATE MOVIMIENTODETALLE SET PRODUCTO = ?, CENTROCOSTOS = ?, CANTIDAD = ?, PRECIOUNIDAD = ?, "
        "DESCUENTO = ?, IVA = ?, SUBTOTAL = ?, VALORIVA = ?, VALORDESCUENTO = ?, COSTO = ?, BODEGA = ?, "
        "UNIDADMOVIMIENTO = ?, UNIDADCOMPRA = ?, CANTIDADRECIBIDA = ?, OBSERVACION = ?, SUBPRODUCTO = ? "
        "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ? AND LINEA = ?"),
    QStringLiteral("DELETE FROM MOVIMIENTODETALLE WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ? "
                   "AND LINEA = ?"),
    // The item's stock in the company up to the document's date.
    QStringLiteral(
        "SELECT SUM(CANTIDAD) FROM MOVIMIENTOGENERAL1 WHERE EMPRESA = ? AND PRODUCTO = ? AND FECHA <= ?"),
    // Every entry of the item up to the document's date, in every company: the item's average is one
    // number for all of them. Left to itself the optimizer may walk the headers by date, which is
    // nearly all of them; the lines of one item are few.
    QStringLiteral(
        "SELECT SUM(D.CANTIDAD), SUM(D.SUBTOTAL) FROM MOVIMIENTODETALLE D "
        "JOIN MOVIMIENTO M ON M.EMPRESA = D.EMPRESA AND M.DOCUMENTO = D.DOCUMENTO "
        "AND M.CONSECUTIVO = D.CONSECUTIVO WHERE D.PRODUCTO = ? AND M.FECHA <= ? AND D.CANTIDAD > 0 "
        "PLAN JOIN (D INDEX (IX_MOVDET_PRODUCTO_EMP_BODEGA), M INDEX (PK_MOVIMIENTO))"),
    QStringLiteral("UPDATE PRODUCTOS SET VALORPROMEDIO = ? WHERE PRODUCTO = ?"),
    QStringLiteral("SELECT SUM(SUBTOTAL), SUM(VALORDESCUENTO), SUM(VALORIVA) FROM MOVIMIENTODETALLE "
                   "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
    QStringLiteral("UPDATE MOVIMIENTO SET SUBTOTAL = ?, DESCUENTO = ?, IVA = ?, NETO = ? "
                   "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
};

struct Header {
    int bodega = 0;
    QVariant fecha;
    QVariant cliente;
    double tasa = 1;
};

struct Item {
    double valorUnidad = 0;
    double valorIva = 0;
    bool precioMasIva = false;
    QString unidad;
    QString unidadS;
    double valorPromedio = 0;
};

struct StoredLine {
    int producto = 0;
    double cantidad = 0;
    double net = 0; // SUBTOTAL - VALORDESCUENTO
    int bodega = 0;
};

QVariant nullable(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// Sums of doubles drift by a hair; the header keeps whole cents.
double cents(const QVariant& sum) {
    return numbers::roundTo(sum.toDouble(), 2);
}

} // namespace

LineRefused::LineRefused(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

struct LineRules::Impl {
    db::Session& s;
    std::array<std::unique_ptr<db::Statement>, SqlCount> prepared;

    EntryTotals entries;

    explicit Impl(db::Session& session) : s(session), entries(session) {}

    db::Statement& statement(Sql which) {
        auto& st = prepared[size_t(which)];
        if (!st) st = std::make_unique<db::Statement>(s, kSql[size_t(which)]);
        return *st;
    }

    std::optional<db::Row> first(Sql which, const db::Params& params) {
        db::Statement& st = statement(which);
        st.bind(params);
        st.execute();
        if (!st.next()) return std::nullopt;
        db::Row row = st.row();
        st.close();
        return row;
    }

    int execute(Sql which, const db::Params& params) {
        db::Statement& st = statement(which);
        st.bind(params);
        return st.execute();
    }

    Header header(const HeaderKey& k) {
        const auto r = first(ReadHeader, {k.empresa, k.documento, k.consecutivo});
        if (!r) throw LineRefused(HeaderRules::kNotFound);
        Header h;
        h.bodega = r->at(0).toInt();
        h.fecha = r->at(1);
        h.cliente = r->at(2);
        // A header without a usable rate is in the local currency.
        const double tasa = r->at(3).toDouble();
        h.tasa = tasa > 0 ? tasa : 1;
        return h;
    }

    DocumentType type(const QString& code) {
        const auto r = first(ReadType, {code});
        if (!r) {
            DocumentType t;
            t.documento = code;
            return t;
        }
        return DocumentType::fromRow(*r);
    }

    std::optional<StoredLine> storedLine(const HeaderKey& k, int linea) {
        const auto r = first(ReadStoredLine, {k.empresa, k.documento, k.consecutivo, linea});
        if (!r) return std::nullopt;
        return StoredLine{r->at(0).toInt(), r->at(1).toDouble(), r->at(2).toDouble() - r->at(3).toDouble(),
                          r->at(4).toInt()};
    }

    std::optional<Item> item(int producto, bool lock) {
        const auto r = first(lock ? ReadItemLocked : ReadItem, {producto});
        if (!r) return std::nullopt;
        return Item{r->at(0).toDouble(),           r->at(1).toDouble(),           r->at(2).toString() == kYes,
                    r->at(3).toString().trimmed(), r->at(4).toString().trimmed(), r->at(5).toDouble()};
    }

    double balance(const QString& empresa, int producto, int bodega) {
        const auto r = first(ReadBalance, {empresa, producto, bodega});
        return r ? r->at(0).toDouble() : 0.0;
    }

    // The average before the stored line was posted, worked back from the current one: the inverse of
    // the incremental update, over the stock of the line's item in the line's warehouse. When the
    // stock without the line is not above 0, the line's share cannot be told apart and the average
    // stays.
    double withoutLine(double average, const QString& empresa, const StoredLine& stored) {
        const double stock = balance(empresa, stored.producto, stored.bodega);
        const double stockWithout = stock - stored.cantidad;
        if (!(stockWithout > 0)) return average;
        const double before = (average * stock - stored.net) / stockWithout;
        return std::isfinite(before) ? before : average;
    }

    // The average of a purchase from all entries of the item: used when the stock up to the
    // document's date, without this line, is above 0; otherwise the line's own price.
    double purchaseAverage(const QString& empresa, const Header& h, const MovementLine& line) {
        const auto stock = first(ReadStockToDate, {empresa, line.producto, h.fecha});
        const double prior = (stock ? stock->at(0).toDouble() : 0.0) - line.cantidad;
        if (!(prior > 0)) return line.precioUnidad;
        const auto entries = first(ReadAllEntriesToDate, {line.producto, h.fecha});
        const double quantity = entries ? entries->at(0).toDouble() : 0.0;
        const double value = entries ? entries->at(1).toDouble() : 0.0;
        return quantity > 0 ? value / quantity : line.precioUnidad;
    }

    void writeAverage(int producto, double average) { execute(WriteAverage, {average, producto}); }

    db::Params lineValues(const MovementLine& l) {
        return {l.producto,
                nullable(l.centroCostos),
                l.cantidad,
                l.precioUnidad,
                l.descuento,
                l.iva,
                l.subtotal,
                l.valorIva,
                l.valorDescuento,
                l.costo,
                l.bodega,
                nullable(l.unidadMovimiento),
                nullable(l.unidadCompra),
                l.cantidadRecibida,
                nullable(l.observacion),
                l.subproducto};
    }

    void writeLine(const HeaderKey& k, const MovementLine& l, Sql which) {
        db::Params p = lineValues(l);
        p.add(k.empresa).add(k.documento).add(k.consecutivo).add(l.linea);
        execute(which, p);
    }

    // Highest line plus one. Another workstation adding a line to the same document at the same moment
    // makes the insert fail on the key (or on its lock); the failed statement leaves nothing in this
    // transaction, so the next number is tried.
    int insertNumbered(const HeaderKey& k, MovementLine& l) {
        int lastTried = 0;
        for (int attempt = 1;; ++attempt) {
            const auto r = first(ReadMaxLine, {k.empresa, k.documento, k.consecutivo});
            l.linea = std::max((r ? r->at(0).toInt() : 0) + 1, lastTried + 1);
            try {
                writeLine(k, l, InsertLine);
                return l.linea;
            } catch (const db::DbError& e) {
                if (!(e.isKeyViolation() || e.isLockConflict()) || attempt >= 50) throw;
                lastTried = l.linea;
            }
        }
    }

    HeaderTotals totals(const HeaderKey& k) {
        const db::Params key{k.empresa, k.documento, k.consecutivo};
        const auto r = first(ReadTotals, key);
        HeaderTotals t;
        if (r) {
            t.subtotal = cents(r->at(0));
            t.descuento = cents(r->at(1));
            t.iva = cents(r->at(2));
        }
        t.neto = numbers::roundTo(t.subtotal + t.iva - t.descuento, 2);
        execute(WriteTotals, {t.subtotal, t.descuento, t.iva, t.neto, k.empresa, k.documento, k.consecutivo});
        return t;
    }
};

LineRules::LineRules(db::Session& session) : d_(std::make_unique<Impl>(session)) {}
LineRules::~LineRules() = default;

QString LineRules::complete(MovementLine& l, const LineContext& c, const LineOptions& o) {
    const QString& entra = c.type.entra;
    const bool sale = entra == QStringLiteral("V");
    const bool purchase = entra == QStringLiteral("C");
    const bool saleOrCredit = sale || entra == QStringLiteral("R");

    if (l.precioUnidad < 0) l.precioUnidad = c.itemPrice;
    if (sale && c.breakPrice && *c.breakPrice > 0) l.precioUnidad = *c.breakPrice;

    // The item's VAT always wins over a typed percentage.
    l.iva = (purchase || saleOrCredit) ? c.itemVat : 0;

    const double q = std::fabs(l.cantidad);
    if (q > 0 && c.type.subproducto != kYes) {
        // Unit cost: the average value of the earlier entries, else the price.
        double costo = c.entriesQuantity > 0 ? c.entriesValue / c.entriesQuantity : l.precioUnidad;
        if (!std::isfinite(costo) || costo < 1) costo = l.precioUnidad;
        if (c.type.documento.trimmed() == QStringLiteral("FC")) costo = l.precioUnidad;
        if (entra == QStringLiteral("S") && o.valuedIssues) l.precioUnidad = costo;
        l.costo = costo;
        l.subtotal = numbers::roundTo(c.tasa * l.precioUnidad * q, 1);
    } else {
        l.subtotal = std::fabs(l.subtotal);
    }

    l.valorDescuento = l.descuento > 0 ? roundHalfEven(l.descuento * l.subtotal / 100) : 0;

    if (purchase) {
        if (l.iva > 0 && !c.naturalPerson) {
            // Without "Iva Con Descuento" the subtotal is taken again unrounded, still in local currency
            // and without sign.
            if (!o.vatWithDiscount) l.subtotal = c.tasa * l.precioUnidad * q;
            l.valorIva = roundHalfEven(l.subtotal * l.iva / 100);
        } else {
            l.valorIva = 0;
        }
    }

    if (saleOrCredit) {
        const double gross = l.subtotal - l.valorDescuento;
        if (!(l.iva > 0)) {
            l.valorIva = 0;
        } else if (c.pricesIncludeVat) {
            // The price holds the VAT: split it out with the factor 1 + IVA/100.
            const double base = roundHalfEven(gross * 100 / (100 + l.iva));
            l.valorIva = gross - base;
            l.subtotal -= l.valorIva;
        } else {
            l.valorIva = roundHalfEven(l.iva * gross / 100);
        }
    }

    QString conversion;
    if (l.cantidad > 0 && c.mayConvert && c.conversionFactor && *c.conversionFactor > 0 &&
        !c.unidad.isEmpty() && !c.unidadS.isEmpty() && c.unidad != c.unidadS && o.confirmConversion &&
        (c.conversionOperator == QStringLiteral("D") || c.conversionOperator == QStringLiteral("M")) &&
        o.confirmConversion(c.unidad, c.unidadS)) {
        const double f = *c.conversionFactor;
        const QString factor = numbers::formatValue(f);
        conversion = QStringLiteral("Convertir de ") + c.unidad + QStringLiteral(" a ") + c.unidadS;
        if (c.conversionOperator == QStringLiteral("D")) {
            conversion += QStringLiteral("  Dividir Por ") + factor;
            l.cantidad = l.cantidad / f;
            l.precioUnidad = roundHalfEven(f * l.precioUnidad);
        } else {
            conversion += QStringLiteral("  Multiplicar Por ") + factor;
            l.cantidad = f * l.cantidad;
            l.precioUnidad = roundHalfEven(l.precioUnidad / f);
        }
    }

    l.valorIva = roundHalfEven(l.valorIva);
    return conversion;
}

PostedLine LineRules::post(const HeaderKey& k, const MovementLine& input, bool isNew, const LineOptions& o) {
    Impl& d = *d_;
    db::Transaction t(d.s);
    const Header h = d.header(k);
    const DocumentType type = d.type(k.documento);
    const bool purchase = type.entra == QStringLiteral("C");
    const bool guarded = type.removes() && type.controlaSaldo == kYes;

    std::optional<StoredLine> stored;
    if (!isNew) {
        stored = d.storedLine(k, input.linea);
        if (!stored) throw LineRefused(kLineGone);
    }

    MovementLine line = input;
    line.bodega = h.bodega;

    // Lock order: the stored line's item first when the line changes item, then the line's item.
    std::optional<Item> oldItem;
    const bool backOut = stored && type.adds();
    if (backOut && stored->producto != line.producto) oldItem = d.item(stored->producto, true);
    const auto item = d.item(line.producto, type.adds() || purchase || guarded);
    if (!item) throw LineRefused(kNoItem);

    // The balance of this item in this warehouse now, inside the transaction that writes the line; an
    // edited line's own stored quantity is in it and is given back first.
    if (guarded) {
        const double balance = d.balance(k.empresa, line.producto, h.bodega);
        const double own = stored && stored->producto == line.producto && stored->bodega == h.bodega
                               ? stored->cantidad
                               : 0.0;
        if (!LineCellRules::checkBalance(line.cantidad, balance, own, type).isEmpty())
            throw LineRefused(kBalanceShort);
    }

    LineContext c;
    c.type = type;
    c.tasa = h.tasa;
    c.itemPrice = item->valorUnidad;
    c.itemVat = item->valorIva;
    c.pricesIncludeVat = item->precioMasIva;
    c.unidad = item->unidad;
    c.unidadS = item->unidadS;
    if (purchase && h.cliente.isValid()) {
        const auto party = d.first(ReadThirdParty, {h.cliente});
        c.naturalPerson = party && party->at(0).toString() == QStringLiteral("P");
    }
    if (type.entra == QStringLiteral("V")) {
        if (const auto r = d.first(ReadPriceBreak, {line.producto, -line.cantidad}))
            c.breakPrice = r->at(0).toDouble();
    }
    if (line.cantidad != 0 && type.subproducto != kYes) {
        // Entries of the item in every warehouse of the company, dated before the document.
        const Entries e = d.entries.before(k.empresa, line.producto, h.fecha);
        c.entriesQuantity = e.quantity;
        c.entriesValue = e.value;
    }
    // A unit is converted once, when the line is first written: a line posted again holds its quantity
    // and price in the unit it was stored in.
    c.mayConvert = isNew;
    if (line.cantidad > 0 && c.mayConvert && o.confirmConversion && !c.unidad.isEmpty() &&
        !c.unidadS.isEmpty() && c.unidad != c.unidadS) {
        if (const auto r = d.first(ReadConversion, {c.unidad, c.unidadS})) {
            c.conversionFactor = r->at(0).toDouble();
            c.conversionOperator = r->at(1).toString().trimmed();
        }
    }

    PostedLine result;
    result.conversion = complete(line, c, o);

    // The average the line is applied to: the item's, less the stored line's earlier share.
    double averageBefore = item->valorPromedio;
    bool averageChanged = false;
    if (backOut) {
        if (!oldItem && stored->producto == line.producto) {
            averageBefore = d.withoutLine(item->valorPromedio, k.empresa, *stored);
            averageChanged = averageBefore != item->valorPromedio;
        } else if (oldItem) {
            const double previous = roundHalfEven(d.withoutLine(oldItem->valorPromedio, k.empresa, *stored));
            if (previous != oldItem->valorPromedio) d.writeAverage(stored->producto, previous);
        }
    }

    if (isNew && line.linea <= 0)
        d.insertNumbered(k, line);
    else
        d.writeLine(k, line, isNew ? InsertLine : UpdateLine);

    std::optional<double> average;
    if (type.adds()) {
        // Incremental average over the item's stock in the warehouse, this line included.
        const double stock = d.balance(k.empresa, line.producto, h.bodega);
        const double n = line.cantidad;
        const double net = line.subtotal - line.valorDescuento;
        if (stock > 0)
            average = roundHalfEven((averageBefore * (stock - n) + net) / stock);
        else if (n != 0)
            average = roundHalfEven(net / n);
        else if (purchase)
            average = d.purchaseAverage(k.empresa, h, line);
        else if (averageChanged)
            average = roundHalfEven(averageBefore);
    } else if (purchase) {
        average = d.purchaseAverage(k.empresa, h, line);
    }
    if (average && std::isfinite(*average)) {
        d.writeAverage(line.producto, *average);
        result.valorPromedio = average;
    }

    result.totals = d.totals(k);
    t.commit();
    result.line = line;
    return result;
}

HeaderTotals LineRules::remove(const HeaderKey& k, int linea) {
    Impl& d = *d_;
    db::Transaction t(d.s);
    if (const auto stored = d.storedLine(k, linea)) {
        if (d.type(k.documento).adds()) {
            if (const auto item = d.item(stored->producto, true)) {
                const double average = roundHalfEven(d.withoutLine(item->valorPromedio, k.empresa, *stored));
                if (average != item->valorPromedio) d.writeAverage(stored->producto, average);
            }
        }
        d.execute(DeleteLine, {k.empresa, k.documento, k.consecutivo, linea});
    }
    const HeaderTotals totals = d.totals(k);
    t.commit();
    return totals;
}

HeaderTotals LineRules::recomputeTotals(const HeaderKey& k) {
    db::Transaction t(d_->s);
    const HeaderTotals totals = d_->totals(k);
    t.commit();
    return totals;
}

std::vector<std::pair<QString, QString>> LineRules::plans() {
    std::vector<std::pair<QString, QString>> out;
    for (int i = 0; i < SqlCount; ++i)
        out.emplace_back(kSql[size_t(i)], d_->statement(Sql(i)).plan());
    out.push_back(d_->entries.plan());
    return out;
}

QString LineRules::subItemName(db::Session& s, int producto, const QVariant& subproducto) {
    if (!subproducto.isValid() || subproducto.isNull()) return kNoSubItem;
    const auto r =
        s.first(QStringLiteral("SELECT NOMBRE FROM PRODUCTOSSUB WHERE PRODUCTO = ? AND SUBPRODUCTO = ?"),
                {producto, subproducto});
    return r ? r->at(0).toString() : kNoSubItem;
}

} // namespace movements
