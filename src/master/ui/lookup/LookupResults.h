#pragma once
// What the lookup dialogs chose, kept for the whole run of the program and shared by every caller of
// the same dialog: a caller shows a dialog and then writes the value into its own field. A value
// keeps what the last choice set until a dialog sets it again; cancelling a dialog sets nothing. The
// two filters are set by the caller before it creates the dialog that reads them.

#include <QDate>
#include <QString>

namespace master {

struct LookupResults {
    // TFrmBuscarProveedor: the chosen supplier's NIT and its referrer (PADRE).
    double supplierNit = 0;
    double supplierReferrer = 0;

    // TFrmBuscarProducto: the chosen item number (PRODUCTO as text) and its unit (UNIDAD).
    QString item{};
    QString itemUnit{};

    // TFrmBuscarSubProducto shows the sub-items of this item (PRODUCTO) and sets the chosen
    // SUBPRODUCTO.
    int subItemFilterItem = 0;
    int subItem = 0;

    // TFrmBuscarDirecciones shows the addresses of this NIT and sets the chosen DIRECCION.
    double addressFilterNit = 0;
    QString address{};

    // TFrmBuscarCentroCosto: the chosen CENTROCOSTO.
    QString costCentre{};

    // TFrmCalendario: the chosen date; null until a date was chosen.
    QDate date{};
};

// The one set of results of the program.
LookupResults& lookupResults();

} // namespace master
