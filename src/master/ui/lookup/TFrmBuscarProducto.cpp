#include "master/ui/lookup/TFrmBuscarProducto.h"

#include "master/ui/lookup/LookupResults.h"
#include "platform/db/Row.h"

namespace master {

namespace {

LookupDeclaration searchDeclaration() {
    auto by = [](const char* caption, const char* column) {
        return LookupDeclaration::Order{QString::fromUtf8(caption), {QString::fromLatin1(column)}};
    };
    return LookupDeclaration{
        .className = QStringLiteral("TFrmBuscarProducto"),
        .title = QStringLiteral("FrmBuscarProducto"),
        .table = QStringLiteral("PRODUCTOS"),
        .searchLabel = QStringLiteral("Buscar Producto :"),
        .orders = {by("Producto", "PRODUCTO"), by("Nombre", "NOMBRE"), by("Referencia", "REFERENCIA"),
                   by("Titulo", "TITULO"), by("Autor", "AUTOR"), by("Editorial", "EDITORIAL"),
                   by("Tema", "TEMA"), by("Lote", "LOTE")},
        .openingOrder = {QStringLiteral("NOMBRE")},
        .preselected = 1,
        .grid = {{QStringLiteral("CODIGO"), QStringLiteral("Codigo")},
                 {QStringLiteral("PRODUCTO"), QStringLiteral("Producto")},
                 {QStringLiteral("REFERENCIA"), QStringLiteral("Referencia")},
                 {QStringLiteral("NOMBRE"), QStringLiteral("Nombre Producto")},
                 {QStringLiteral("UNIDAD"), QStringLiteral("Unidad")},
                 {QStringLiteral("VALORUNIDAD"), QStringLiteral("Valor Unidad"), QStringLiteral("#,##0.00")},
                 {QStringLiteral("VALORIVA"), QStringLiteral("Valor Iva"), QStringLiteral("0.000")},
                 {QStringLiteral("TITULO")},
                 {QStringLiteral("AUTOR")},
                 {QStringLiteral("EDITORIAL")},
                 {QStringLiteral("TEMA")},
                 {QStringLiteral("LOTE")}},
    };
}

} // namespace

TFrmBuscarProducto::TFrmBuscarProducto(db::Session& session, QWidget* parent)
    : LookupDialog(session, searchDeclaration(), parent) {}

void TFrmBuscarProducto::publish(const db::Row* row) {
    LookupResults& r = lookupResults();
    r.item = row ? QString::number(row->integer(QStringLiteral("PRODUCTO"))) : QString();
    r.itemUnit = row ? row->text(QStringLiteral("UNIDAD")) : QString();
}

} // namespace master
