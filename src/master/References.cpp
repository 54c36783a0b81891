#include "master/References.h"

#include "platform/db/Session.h"

#include <vector>

namespace master {

namespace {

struct User {
    const char* table;  // the master table
    const char* sql;    // one row when some row of the using table names the key (bound as ?)
    const char* where;  // what the user reads: "en uso en <where>"
};

// Each check reads one row at most; the usual users (items, lines by item) go through an index.
const std::vector<User>& users() {
    static const std::vector<User> list = {
        {"EMPRESAS", "SELECT FIRST 1 1 FROM MOVIMIENTO WHERE EMPRESA = ?", "documentos de inventario"},
        {"EMPRESAS", "SELECT FIRST 1 1 FROM CENTROCOSTOS WHERE EMPRESA = ?", "centros de costos"},
        {"GRUPOS", "SELECT FIRST 1 1 FROM PRODUCTOS WHERE GRUPO = ?", "productos"},
        {"SUBGRUPOS", "SELECT FIRST 1 1 FROM PRODUCTOS WHERE SUBGRUPO = ?", "productos"},
        {"UNIDADES",
         "SELECT FIRST 1 1 FROM PRODUCTOS WHERE UNIDAD = ? OR UNIDADS = ? OR UNIDADALMACEN = ?",
         "productos"},
        {"UNIDADES", "SELECT FIRST 1 1 FROM PRODUCTOSVALORVENTA WHERE UNIDAD = ?", "precios de venta"},
        {"UNIDADES",
         "SELECT FIRST 1 1 FROM UNIDADCONVERSION WHERE CODIGOUNIDAD = ? OR CODIGOUNIDADRECIBIR = ?",
         "conversiones de unidades"},
        {"UNIDADES",
         "SELECT FIRST 1 1 FROM MOVIMIENTODETALLE WHERE UNIDADMOVIMIENTO = ? OR UNIDADCOMPRA = ?",
         "líneas de documentos"},
        {"CENTROCOSTOS", "SELECT FIRST 1 1 FROM PRODUCTOSCCOSTOS WHERE CODIGOCOSTOS = ?",
         "productos"},
        {"CENTROCOSTOS", "SELECT FIRST 1 1 FROM MOVIMIENTODETALLE WHERE CENTROCOSTOS = ?",
         "líneas de documentos"},
        {"BODEGAS", "SELECT FIRST 1 1 FROM MOVIMIENTO WHERE BODEGA = ?", "documentos de inventario"},
        {"DOCUMENTOS", "SELECT FIRST 1 1 FROM MOVIMIENTO WHERE DOCUMENTO = ?", "documentos de inventario"},
        {"MONEDA", "SELECT FIRST 1 1 FROM DOCUMENTOS WHERE MONEDA = ?", "tipos de documento"},
    };
    return list;
}

} // namespace

QString whyInUse(db::Session& session, const QString& table, const QVariant& key) {
    for (const User& u : users()) {
        if (table.compare(QLatin1String(u.table), Qt::CaseInsensitive) != 0) continue;
        const QString sql = QString::fromLatin1(u.sql);
        db::Params params;
        for (int i = sql.count(QLatin1Char('?')); i > 0; --i)
            params.add(key);
        if (session.first(sql, params))
            return QStringLiteral("No se puede borrar: el código %1 está en uso en %2.")
                .arg(key.toString().trimmed(), QString::fromUtf8(u.where));
    }
    return {};
}

} // namespace master
