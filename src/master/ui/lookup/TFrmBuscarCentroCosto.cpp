#include "master/ui/lookup/TFrmBuscarCentroCosto.h"

#include "master/ui/lookup/LookupResults.h"
#include "platform/db/Row.h"

namespace master {

namespace {

LookupDeclaration searchDeclaration() {
    return LookupDeclaration{
        .className = QStringLiteral("TFrmBuscarCentroCosto"),
        .title = QStringLiteral("FrmBuscarCentroCosto"),
        .table = QStringLiteral("CENTROCOSTOS"),
        .searchLabel = QStringLiteral("Buscar c.c.: "),
        .orders = {{QStringLiteral("Por Codigo"), {QStringLiteral("CENTROCOSTO")}},
                   {QStringLiteral("Por Descripción"), {QStringLiteral("NOMBRE")}}},
        .grid = {{QStringLiteral("CENTROCOSTO"), QStringLiteral("Centro de Costos")},
                 {QStringLiteral("NOMBRE"), QStringLiteral("Descripción")}},
    };
}

} // namespace

TFrmBuscarCentroCosto::TFrmBuscarCentroCosto(db::Session& session, QWidget* parent)
    : LookupDialog(session, searchDeclaration(), parent) {}

void TFrmBuscarCentroCosto::publish(const db::Row* row) {
    lookupResults().costCentre = row ? row->text(QStringLiteral("CENTROCOSTO")) : QString();
}

} // namespace master
