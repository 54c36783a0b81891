#include "platform/db/SchemaUpgrader.h"
#include "platform/db/Statement.h"
#include "schema/InventorySchema.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

QStringList columnsOf(db::Session& s, const QString& relation) {
    QStringList cols;
    for (const auto& r : s.all("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = ? "
                               "ORDER BY RDB$FIELD_POSITION",
                               {relation}))
        cols << r.at(0).toString();
    return cols;
}

int metadataCount(db::Session& s) {
    return s.scalar("SELECT (SELECT COUNT(*) FROM RDB$RELATION_FIELDS) + (SELECT COUNT(*) FROM RDB$INDICES) "
                    "FROM RDB$DATABASE")
        .toInt();
}

TEST(Schema, NewDatabaseHasEveryViewWithItsContractedColumns) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    EXPECT_EQ(schema::inventoryUpgrader().latestVersion(), db::SchemaUpgrader::currentVersion(s));
    const std::vector<std::pair<QString, QStringList>> views = {
        {"MOVIMIENTOGENERAL",
         {"EMPRESA", "DOCUMENTO", "CONSECUTIVO", "LINEA", "FECHA", "PRODUCTO", "SUBPRODUCTO", "CANTIDAD", "SUBTOTAL",
          "CENTROCOSTOS", "BODEGA", "NIT", "UNIDADMOVIMIENTO"}},
        {"MOVIMIENTOGENERAL1", {"EMPRESA", "PRODUCTO", "FECHA", "CANTIDAD", "SUBTOTAL", "GRUPO", "SUBGRUPO", "CUENTA"}},
        {"MOVIMIENTOGENERALBODEGA",
         {"EMPRESA", "DOCUMENTO", "CONSECUTIVO", "LINEA", "FECHA", "PRODUCTO", "CANTIDAD", "SUBTOTAL", "CENTROCOSTOS",
          "BODEGA"}},
        {"MOVIMIENTOCOSTO", {"EMPRESA", "PRODUCTO", "FECHA", "CANTIDAD", "COSTO"}},
        {"MOVIMIENTOEXTRACTO",
         {"EMPRESA", "PRODUCTO", "NIT", "DOCUMENTO", "FECHA", "CONSECUTIVO", "CANTIDAD", "CENTROCOSTOS", "SUBTOTAL"}},
        {"MOVIMIENTOSUBPRODUCTO",
         {"EMPRESA", "PRODUCTO", "SUBPRODUCTO", "NIT", "DOCUMENTO", "FECHA", "CONSECUTIVO", "LINEA", "CANTIDAD",
          "CENTROCOSTOS", "SUBTOTAL", "GRUPO", "CODIGO", "SUBGRUPO", "CUENTA", "UNIDADMOVIMIENTO"}},
        {"MOVIMIENTOACTUALIZAR", {"EMPRESA", "PRODUCTO", "ORDENCOMPRA", "CANTIDADRECIBIDA"}},
        {"SALDOS", {"EMPRESA", "PRODUCTO", "SALDO"}},
        {"SALDOSBODEGA", {"EMPRESA", "PRODUCTO", "BODEGA", "SALDO"}},
        {"SALDOSFECHACORTE", {"EMPRESA", "PRODUCTO", "SALDO", "ULTIMOMOVIMIENTO"}},
        {"SALDOSXGRUPOFECHA", {"EMPRESA", "PRODUCTO", "SALDO"}},
        {"SALDOSXGRUPO1", {"EMPRESA", "PRODUCTO", "SALDO"}},
        {"SALDOSINVENTARIOS", {"EMPRESA", "PRODUCTO", "SALDO"}},
        {"FECHAULTIMOMOVIMIENTO", {"EMPRESA", "PRODUCTO", "DOCUMENTO", "ULTIMOMOVIMIENTO"}},
        {"PRODUCTOPUCCUENTA", {"GRUPO", "SUBGRUPO", "CUENTACONTABLE"}},
    };
    for (const auto& [view, wanted] : views) {
        const QStringList have = columnsOf(s, view);
        for (const QString& col : wanted) EXPECT_TRUE(have.contains(col)) << view.toStdString() << "." << col.toStdString();
    }
}

// The odd column names are the ones stored data and other programs use; they must not be "corrected".
TEST(Schema, KeepsTheHistoricColumnNamesAndWidths) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    struct Case {
        const char* table;
        const char* column;
        int chars;
    } cases[] = {{"CUENTAS", "CUENTAINVANTARIO", 16}, {"MOVIMIENTO", "VENDEDEDOR", 0},
                 {"POSMOVIMIENTODETALLE", "BUSCADOR", 25}, {"MENU", "OPCIONES", 200},
                 {"PRODUCTOS", "CODIGO", 12},           {"MOVIMIENTO", "OBSERVACIONES", 160}};
    for (const auto& c : cases) {
        auto r = s.first("SELECT F.RDB$CHARACTER_LENGTH FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F "
                         "ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME = ? "
                         "AND RF.RDB$FIELD_NAME = ?",
                         {c.table, c.column});
        ASSERT_TRUE(r) << c.table << "." << c.column;
        if (c.chars) {
            EXPECT_EQ(c.chars, r->at(0).toInt()) << c.table << "." << c.column;
        }
    }
    // Headers and lines are unique by their document key.
    s.execute("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA) VALUES ('01', 'EA', 1, 1)");
    EXPECT_ANY_THROW(
        s.execute("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA) VALUES ('01', 'EA', 1, 2)"));
}

TEST(SchemaUpgrade, UpToDateDatabaseIsLeftAlone) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    const int before = metadataCount(s);
    EXPECT_EQ(0, schema::inventoryUpgrader().upgrade(s));
    EXPECT_EQ(before, metadataCount(s));
    EXPECT_EQ(schema::inventoryUpgrader().latestVersion(), db::SchemaUpgrader::currentVersion(s));
}

TEST(SchemaUpgrade, OlderDatabaseGainsWhatIsMissingAndKeepsItsRows) {
    test::TestDatabase tdb(2); // master and movement tables only: no indexes, no views
    auto& s = tdb.session();
    ASSERT_EQ(2, db::SchemaUpgrader::currentVersion(s));
    EXPECT_TRUE(columnsOf(s, "SALDOS").isEmpty());
    s.execute("INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'Ferreteria Central')");
    s.execute("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA) VALUES ('01', 'EA', 7, 1)");
    s.execute("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, BODEGA) "
              "VALUES ('01', 'EA', 7, 1, 10, 25, 1)");

    const int ran = schema::inventoryUpgrader().upgrade(s);
    EXPECT_EQ(schema::inventoryUpgrader().latestVersion() - 2, ran);
    EXPECT_EQ(QStringLiteral("Ferreteria Central"), s.scalar("SELECT NOMBRE FROM EMPRESAS").toString());
    EXPECT_DOUBLE_EQ(25, s.scalar("SELECT SALDO FROM SALDOS WHERE EMPRESA = '01' AND PRODUCTO = 10").toDouble());
}

TEST(SchemaUpgrade, ScriptsAreNumberedWithoutGaps) {
    const auto scripts = schema::inventoryScripts();
    ASSERT_FALSE(scripts.empty());
    for (size_t i = 0; i < scripts.size(); ++i) EXPECT_EQ(int(i + 1), scripts[i].version) << scripts[i].name.toStdString();
}

} // namespace
