#include "master/reports/MasterReports.h"

#include "master/reports/ListReport.h"
#include "platform/report/Registry.h"
#include "platform/report/ReportData.h"

namespace master {

namespace {

using report::Align;
using report::Ordering;

const QString kMaterials = QStringLiteral("SUBSISTEMA DE MATERALES");
const QString kWarehouse = QStringLiteral("SUBSISTEMA DE MATERALES DE ALMACEN");
const QString kCode = QStringLiteral("Codigo");
const QString kDescription = QStringLiteral("Descripción");

// "A" by the name, "#" by the key; rows of the same name keep the order of their keys.
std::vector<Ordering> byNameOrCode(const QString& name, const QString& key) {
    return {{QStringLiteral("A"), QStringLiteral("Nombre"), name + QStringLiteral(", ") + key},
            {QStringLiteral("#"), QStringLiteral("Código"), key}};
}

// The usual list: code and name of one table keyed by a text code.
ListLayout codeAndName(const char* name, const QString& table, const QString& key, QStringList titles,
                     const QString& first, const QString& last) {
    const QString k = table + QLatin1Char('.') + key;
    const QString n = table + QStringLiteral(".NOMBRE");
    return {QString::fromLatin1(name),
            std::move(titles),
            QStringLiteral("SELECT %1, %2 FROM %3").arg(k, n, table),
            k,
            false,
            first,
            last,
            byNameOrCode(n, k),
            {{kCode, key, 22}, {kDescription, QStringLiteral("NOMBRE"), 100}}};
}

QVariant operatorName(const report::BandValues& b) {
    const QString op = b.text(QStringLiteral("OPERADOR"));
    if (op == QLatin1String("D")) return QStringLiteral("Divide");
    if (op == QLatin1String("M")) return QStringLiteral("Multiplica");
    return op;
}

std::vector<ListLayout> lists() {
    std::vector<ListLayout> out;
    out.push_back(codeAndName("empresas", QStringLiteral("EMPRESAS"), QStringLiteral("EMPRESA"),
                              {kWarehouse, QStringLiteral("EMPRESAS")}, QStringLiteral("01"),
                              QStringLiteral("99")));
    out.push_back(codeAndName("grupos", QStringLiteral("GRUPOS"), QStringLiteral("GRUPO"),
                              {kMaterials, QStringLiteral("LISTADO DE GRUPO DE MATERIALES")},
                              QStringLiteral("A"), QStringLiteral("Z")));

    ListLayout subgroups{
        QStringLiteral("subgrupos"),
        {kMaterials, QStringLiteral("LISTADO DE SUBGRUPO DE MATERIALES")},
        QStringLiteral("SELECT SUBGRUPOS.SUBGRUPO, SUBGRUPOS.NOMBRE, SUBGRUPOS.CUENTA, SUBGRUPOS.MODELO "
                       "FROM SUBGRUPOS"),
        QStringLiteral("SUBGRUPOS.SUBGRUPO"),
        true,
        qint64(1),
        qint64(999),
        byNameOrCode(QStringLiteral("SUBGRUPOS.NOMBRE"), QStringLiteral("SUBGRUPOS.SUBGRUPO")),
        {{kCode, QStringLiteral("SUBGRUPO"), 16, {}, Align::Right},
         {kDescription, QStringLiteral("NOMBRE"), 100},
         {QStringLiteral("Modelo"), QStringLiteral("MODELO"), 30}}};
    subgroups.orderings.push_back({QStringLiteral("M"), QStringLiteral("Modelo"),
                                   QStringLiteral("SUBGRUPOS.MODELO, SUBGRUPOS.SUBGRUPO")});
    out.push_back(std::move(subgroups));

    out.push_back(codeAndName("unidades", QStringLiteral("UNIDADES"), QStringLiteral("UNIDAD"),
                              {kWarehouse, QStringLiteral("UNIDADES DE MEDIDA")}, QStringLiteral("A"),
                              QStringLiteral("Z")));

    // A conversion lists with the name of its unit (joined, so a conversion of a unit missing from
    // UNIDADES does not list) and of the unit received, looked up by its exact code and left empty
    // when that unit no longer exists. The window offers the first and last unit code of the table;
    // the defaults cover every code: from "" to the highest character there is.
    ListLayout conversions{
        QStringLiteral("conversiones"),
        {QStringLiteral("UNIDADES DE CONVERSION")},
        QStringLiteral(
            "SELECT UNIDADCONVERSION.CODIGOUNIDAD, UNIDADES.NOMBRE, UNIDADCONVERSION.CODIGOUNIDADRECIBIR, "
            "RECIBE.NOMBRE AS NOMBRERECIBE, UNIDADCONVERSION.CANTIDAD, UNIDADCONVERSION.OPERADOR "
            "FROM UNIDADCONVERSION "
            "JOIN UNIDADES ON UNIDADES.UNIDAD = UNIDADCONVERSION.CODIGOUNIDAD "
            "LEFT JOIN UNIDADES RECIBE ON RECIBE.UNIDAD = UNIDADCONVERSION.CODIGOUNIDADRECIBIR"),
        QStringLiteral("UNIDADCONVERSION.CODIGOUNIDAD"),
        false,
        QString(),
        QString::fromUcs4(U"\U0010FFFF"),
        {{QStringLiteral("A"), QStringLiteral("Nombre"),
          QStringLiteral(
              "UNIDADES.NOMBRE, UNIDADCONVERSION.CODIGOUNIDAD, UNIDADCONVERSION.CODIGOUNIDADRECIBIR")},
         {QStringLiteral("#"), QStringLiteral("Código"),
          QStringLiteral("UNIDADCONVERSION.CODIGOUNIDAD, UNIDADCONVERSION.CODIGOUNIDADRECIBIR")}},
        {{QStringLiteral("Código"), QStringLiteral("CODIGOUNIDAD"), 14},
         {QStringLiteral("Nombre"), QStringLiteral("NOMBRE"), 42},
         {{}, {}, 14, {}, Align::Left, QStringLiteral("pasar a ")},
         {QStringLiteral("Código"), QStringLiteral("CODIGOUNIDADRECIBIR"), 14},
         {QStringLiteral("Nombre"), QStringLiteral("NOMBRERECIBE"), 42},
         {QStringLiteral("Cantidad"), QStringLiteral("CANTIDAD"), 22, QStringLiteral("###,##0.####"),
          Align::Right},
         {QStringLiteral("Tipo Operador"), QStringLiteral("OPERADOR"), 26}}};
    conversions.columns.back().compute = operatorName;
    out.push_back(std::move(conversions));

    out.push_back(ListLayout{
        QStringLiteral("centroscostos"),
        {kWarehouse, QStringLiteral("CENTRO DE COSTOS")},
        QStringLiteral("SELECT CENTROCOSTOS.CENTROCOSTO, CENTROCOSTOS.NOMBRE, CENTROCOSTOS.AREA, "
                       "CENTROCOSTOS.EMPRESA FROM CENTROCOSTOS"),
        QStringLiteral("CENTROCOSTOS.CENTROCOSTO"),
        false,
        QStringLiteral("000000"),
        QStringLiteral("999999"),
        byNameOrCode(QStringLiteral("CENTROCOSTOS.NOMBRE"), QStringLiteral("CENTROCOSTOS.CENTROCOSTO")),
        {{kCode, QStringLiteral("CENTROCOSTO"), 22},
         {kDescription, QStringLiteral("NOMBRE"), 100},
         {QStringLiteral("Àrea"), QStringLiteral("AREA"), 14},
         {QStringLiteral("Compañia"), QStringLiteral("EMPRESA"), 18}}});

    // BODEGA is an integer column: typed bounds are read as integers ("01" is warehouse 1), the way
    // the database compares a quoted number with it, so warehouse 10 lies between 2 and 99.
    ListLayout warehouses = codeAndName("bodegas", QStringLiteral("BODEGAS"), QStringLiteral("BODEGA"),
                                      {kWarehouse, QStringLiteral("B O D E G A S")}, {}, {});
    warehouses.numericKey = true;
    warehouses.first = qint64(1);
    warehouses.last = qint64(99);
    warehouses.columns.front() = {kCode, QStringLiteral("BODEGA"), 16, {}, Align::Right};
    out.push_back(std::move(warehouses));

    out.push_back(ListLayout{
        QStringLiteral("documentos"),
        {kWarehouse, QStringLiteral("DOCUMENTOS")},
        QStringLiteral(
            "SELECT DOCUMENTOS.DOCUMENTO, DOCUMENTOS.NOMBRE, DOCUMENTOS.OPERADOR, DOCUMENTOS.CONSECUTIVO, "
            "DOCUMENTOS.CENTROCOSTOS FROM DOCUMENTOS"),
        QStringLiteral("DOCUMENTOS.DOCUMENTO"),
        false,
        QStringLiteral("AA"),
        QStringLiteral("ZZ"),
        byNameOrCode(QStringLiteral("DOCUMENTOS.NOMBRE"), QStringLiteral("DOCUMENTOS.DOCUMENTO")),
        {{kCode, QStringLiteral("DOCUMENTO"), 16},
         {kDescription, QStringLiteral("NOMBRE"), 80},
         {QStringLiteral("Operador"), QStringLiteral("OPERADOR"), 16, {}, Align::Center},
         {QStringLiteral("Consecutivo"), QStringLiteral("CONSECUTIVO"), 22, {}, Align::Right},
         {QStringLiteral("Centro de Costos?"), QStringLiteral("CENTROCOSTOS"), 32, {}, Align::Center}}});

    out.push_back(ListLayout{
        QStringLiteral("cuentas"),
        {kWarehouse, QStringLiteral("CUENTAS INVENTARIO Vs CUENTAS GASTOS")},
        QStringLiteral(
            "SELECT CUENTAS.CUENTAINVANTARIO, CUENTAS.CUENTAGASTO, CUENTAS.OBSERVACION FROM CUENTAS"),
        QStringLiteral("CUENTAS.CUENTAINVANTARIO"),
        false,
        QStringLiteral("A"),
        QStringLiteral("Z"),
        {{QStringLiteral("A"), QStringLiteral("Cuenta Gasto"),
          QStringLiteral("CUENTAS.CUENTAGASTO, CUENTAS.CUENTAINVANTARIO")},
         {QStringLiteral("#"), QStringLiteral("Cuenta Inventario"),
          QStringLiteral("CUENTAS.CUENTAINVANTARIO")}},
        {{QStringLiteral("Inventario"), QStringLiteral("CUENTAINVANTARIO"), 34},
         {QStringLiteral("Gasto"), QStringLiteral("CUENTAGASTO"), 34},
         {QStringLiteral("Observación"), QStringLiteral("OBSERVACION"), 100}}});
    return out;
}

} // namespace

void registerReports(report::Registry& registry) {
    for (const ListLayout& list : lists())
        registry.add(listReport(list));
}

} // namespace master
