#include "master/ui/lookup/TFrmBuscarProveedor.h"

#include "master/ui/lookup/LookupResults.h"
#include "platform/db/Row.h"

namespace master {

namespace {

LookupDeclaration searchDeclaration() {
    return LookupDeclaration{
        .className = QStringLiteral("TFrmBuscarProveedor"),
        .title = QStringLiteral("FrmBuscarProveedor"),
        .table = QStringLiteral("PROVEEDORES"),
        .searchLabel = QStringLiteral("Buscar nit: "),
        .orders = {{QStringLiteral("Por Nit"), {QStringLiteral("NIT")}},
                   {QStringLiteral("Por Nombre Razon Social"), {QStringLiteral("NOMBRE")}},
                   {QStringLiteral("Por Telefono"), {QStringLiteral("TELEFONO")}},
                   {QStringLiteral("Por Ciudad"), {QStringLiteral("CIUDAD")}}},
        .grid = {{QStringLiteral("NIT")},
                 {QStringLiteral("DV")},
                 {QStringLiteral("NOMBRE")},
                 {QStringLiteral("DIRECCION")},
                 {QStringLiteral("TELEFONO")},
                 {QStringLiteral("FAX")},
                 {QStringLiteral("CIUDAD")}},
        .resultColumns = {QStringLiteral("PADRE")},
    };
}

} // namespace

TFrmBuscarProveedor::TFrmBuscarProveedor(db::Session& session, QWidget* parent)
    : LookupDialog(session, searchDeclaration(), parent) {}

void TFrmBuscarProveedor::publish(const db::Row* row) {
    LookupResults& r = lookupResults();
    r.supplierNit = row ? row->number(QStringLiteral("NIT")) : 0;
    // A supplier without a referrer reads as 0, as a NIT that was never chosen.
    r.supplierReferrer = row ? row->number(QStringLiteral("PADRE")) : 0;
}

} // namespace master
