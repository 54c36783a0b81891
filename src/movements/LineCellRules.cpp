#include "movements/LineCellRules.h"

#include "platform/db/Row.h"
#include "platform/db/Session.h"
#include "platform/numbers/Format.h"
#include "platform/numbers/Rounding.h"

#include <cmath>

namespace movements {

namespace {

const QString kItemColumns =
    QStringLiteral("SELECT PRODUCTO, NOMBRE, REFERENCIA, UNIDAD, GRUPO, VALORUNIDAD, VALORPROMEDIO FROM PRODUCTOS ");

std::optional<ItemDefaults> itemOf(const std::optional<db::Row>& r) {
    if (!r) return std::nullopt;
    return ItemDefaults{r->at(0).toInt(),     r->at(1).toString(),   r->at(2).toString(), r->at(3).toString(),
                        r->at(4).toString(), r->at(5).toDouble(), r->at(6).toDouble()};
}

} // namespace

std::optional<ItemDefaults> LineCellRules::item(db::Session& s, const QString& typed) {
    bool ok = false;
    const int producto = typed.trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return itemOf(s.first(kItemColumns + QStringLiteral("WHERE PRODUCTO = ?"), {producto}));
}

std::optional<ItemDefaults> LineCellRules::itemByBarcode(db::Session& s, const QString& barcode) {
    if (barcode.trimmed().isEmpty()) return std::nullopt;
    return itemOf(s.first(kItemColumns + QStringLiteral("WHERE CODIGOBARRAS = ? ORDER BY PRODUCTO ROWS 1"),
                          {barcode.trimmed()}));
}

double LineCellRules::priceForItem(double typedPrice, const ItemDefaults& item, const DocumentType& type,
                                   bool valuedIssues) {
    double price = typedPrice == 0 ? item.valorUnidad : typedPrice;
    if (valuedIssues && type.entra == QStringLiteral("S")) price = item.valorPromedio;
    return price;
}

double LineCellRules::signedQuantity(double typed, const DocumentType& type) {
    if ((type.subproducto == QStringLiteral("S") || type.removes()) && typed > 0) return -typed;
    return typed;
}

double LineCellRules::warehouseBalance(db::Session& s, const QString& empresa, int producto, int bodega) {
    return s.scalar(QStringLiteral("SELECT SALDO FROM SALDOSBODEGA WHERE EMPRESA = ? AND PRODUCTO = ? AND BODEGA = ?"),
                    {empresa, producto, bodega})
        .toDouble();
}

QString LineCellRules::balanceText(double balance, const ItemDefaults& item) {
    return numbers::formatMask(balance, QStringLiteral("###,###.00")) + QStringLiteral("  ") +
           QString::number(item.producto) + QLatin1Char(' ') + item.nombre;
}

QString LineCellRules::checkBalance(double quantity, double balance, double storedQuantity, const DocumentType& type) {
    if (!type.removes() || type.controlaSaldo != QStringLiteral("S") || quantity >= 0) return {};
    // Compared at two decimals, so a balance reached by adding tenths is not short by a hair.
    const double wanted = numbers::roundTo(std::fabs(quantity), 2);
    const double available = numbers::roundTo(balance - storedQuantity, 2);
    return wanted > available ? kBalanceShort : QString();
}

bool LineCellRules::costCentreExists(db::Session& s, const QString& code) {
    return s.first(QStringLiteral("SELECT 1 FROM CENTROCOSTOS WHERE CENTROCOSTO = ?"), {code.trimmed()}).has_value();
}

std::optional<double> LineCellRules::priceFromSubtotal(double subtotal, double subtotalBefore, double quantity) {
    if (subtotal == 0 || subtotal == subtotalBefore || quantity == 0) return std::nullopt;
    return subtotal / std::fabs(quantity);
}

} // namespace movements
