#include "master/ui/lookup/TFrmBuscarDirecciones.h"

#include "master/ui/lookup/LookupResults.h"
#include "platform/db/Row.h"

namespace master {

namespace {

LookupDeclaration searchDeclaration(double nit) {
    return LookupDeclaration{
        .className = QStringLiteral("TFrmBuscarDirecciones"),
        .title = QStringLiteral("FrmBuscarDirecciones"),
        .table = QStringLiteral("TERCEROSDIRECCIONES"),
        .searchLabel = QStringLiteral("Buscar nit: "),
        // An address row has no name of its own: the name choice sorts by the contact person, the
        // name an address is known by.
        .orders = {{QStringLiteral("Por Nit"), {QStringLiteral("NIT")}},
                   {QStringLiteral("Por Nombre Razon Social"), {QStringLiteral("CONTACTO")}},
                   {QStringLiteral("Por Telefono"), {QStringLiteral("TELEFONO")}},
                   {QStringLiteral("Por Ciudad"), {QStringLiteral("CIUDAD")}}},
        .grid = {{QStringLiteral("CONTACTO")},
                 {QStringLiteral("DIRECCION")},
                 {QStringLiteral("TELEFONO")},
                 {QStringLiteral("FAX")},
                 {QStringLiteral("CIUDAD")},
                 {QStringLiteral("PAIS")},
                 {QStringLiteral("EMAIL")}},
        .filter = QStringLiteral("NIT = ?"),
        .filterParams = {nit},
    };
}

} // namespace

TFrmBuscarDirecciones::TFrmBuscarDirecciones(db::Session& session, QWidget* parent)
    : LookupDialog(session, searchDeclaration(lookupResults().addressFilterNit), parent) {}

void TFrmBuscarDirecciones::publish(const db::Row* row) {
    lookupResults().address = row ? row->text(QStringLiteral("DIRECCION")) : QString();
}

} // namespace master
