#include "master/ui/lookup/TFrmBuscarSubProducto.h"

#include "master/ui/lookup/LookupResults.h"
#include "platform/db/Row.h"

namespace master {

namespace {

LookupDeclaration searchDeclaration(int item) {
    return LookupDeclaration{
        .className = QStringLiteral("TFrmBuscarSubProducto"),
        .title = QStringLiteral("FrmBuscarSubProducto"),
        .table = QStringLiteral("PRODUCTOSSUB"),
        .searchLabel = QStringLiteral("Buscar Producto :"),
        .orders = {{QStringLiteral("Por SubProducto"), {QStringLiteral("SUBPRODUCTO")}},
                   {QStringLiteral("Por Nombre"), {QStringLiteral("NOMBRE")}}},
        .openingOrder = {QStringLiteral("PRODUCTO"), QStringLiteral("SUBPRODUCTO")},
        .grid = {{QStringLiteral("PRODUCTO"), QStringLiteral("Producto")},
                 {QStringLiteral("SUBPRODUCTO"), QStringLiteral("SubProducto")},
                 {QStringLiteral("NOMBRE"), QStringLiteral("Nombre")}},
        .filter = QStringLiteral("PRODUCTO = ?"),
        .filterParams = {item},
    };
}

} // namespace

TFrmBuscarSubProducto::TFrmBuscarSubProducto(db::Session& session, QWidget* parent)
    : LookupDialog(session, searchDeclaration(lookupResults().subItemFilterItem), parent),
      item_(lookupResults().subItemFilterItem) {}

void TFrmBuscarSubProducto::publish(const db::Row* row) {
    lookupResults().subItem = row ? row->integer(QStringLiteral("SUBPRODUCTO")) : 0;
}

QVariantList TFrmBuscarSubProducto::searchPrefix(const QStringList& order) const {
    // Every row shown belongs to the one item, so in the opening order the typed number is the
    // sub-item's.
    if (order.value(0) == QStringLiteral("PRODUCTO")) return {item_};
    return {};
}

} // namespace master
