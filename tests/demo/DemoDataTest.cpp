#include "demo/DemoData.h"
#include "DocumentChecks.h"
#include "app/NitCheckDigit.h"
#include "app/SystemRows.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

std::string str(const QStringList& faults) {
    return faults.join(QLatin1Char('\n')).toStdString();
}

// Every row of a query, as text, for comparing two databases.
QStringList rowsOf(db::Session& s, const char* sql) {
    QStringList out;
    for (const db::Row& row : s.all(QString::fromLatin1(sql))) {
        QStringList values;
        for (const QVariant& v : row.values())
            values << v.toString();
        out << values.join(QLatin1Char('|'));
    }
    return out;
}

class DemoDataTest : public ::testing::Test {
protected:
    test::TestDatabase tdb;
    db::Session& s = tdb.session();
    void SetUp() override { demo::DemoData::load(s); }
    int count(const QString& sql, const db::Params& params = {}) { return s.scalar(sql, params).toInt(); }
};

// One document type of every kind, with the direction its kind implies, and documents of each kind.
TEST_F(DemoDataTest, EveryKindOfDocumentIsThereWithTheSignOfItsType) {
    const struct {
        const char* kind;
        QSet<QString> operators;
    } kinds[] = {
        {"V", {"R"}}, {"C", {"S"}}, {"I", {"S", "R"}}, {"S", {"R"}},
        {"E", {"S"}}, {"M", {"R"}}, {"R", {"S"}},      {"D", {"N"}},
    };
    for (const auto& k : kinds) {
        QSet<QString> seen;
        for (const db::Row& t : s.all("SELECT OPERADOR FROM DOCUMENTOS WHERE ENTRA = ?", {k.kind}))
            seen.insert(t.text("OPERADOR"));
        EXPECT_EQ(k.operators, seen) << "kind " << k.kind;
        EXPECT_GT(
            count("SELECT COUNT(*) FROM MOVIMIENTODETALLE D JOIN DOCUMENTOS T ON T.DOCUMENTO = D.DOCUMENTO "
                  "WHERE T.ENTRA = ?",
                  {k.kind}),
            0)
            << "no document of kind " << k.kind;
    }
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM DOCUMENTOS D WHERE NOT EXISTS "
                       "(SELECT 1 FROM MOVIMIENTO M WHERE M.DOCUMENTO = D.DOCUMENTO)"))
        << "every document type has a document";
    EXPECT_TRUE(test::documentLineFaults(s).isEmpty()) << str(test::documentLineFaults(s));
}

TEST_F(DemoDataTest, HeaderTotalsAreTheSumsOfTheirLines) {
    EXPECT_GE(count("SELECT COUNT(*) FROM MOVIMIENTO"), 24);
    EXPECT_TRUE(test::documentTotalFaults(s).isEmpty()) << str(test::documentTotalFaults(s));
    EXPECT_TRUE(test::entryTotalFaults(s).isEmpty()) << str(test::entryTotalFaults(s));
    EXPECT_GT(count("SELECT COUNT(*) FROM ENTRADASPRODUCTO"), 0);
    // Discounts and VAT really occur, so the sums are not trivially zero.
    EXPECT_GT(count("SELECT COUNT(*) FROM MOVIMIENTO WHERE DESCUENTO > 0"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM MOVIMIENTO WHERE IVA > 0"), 0);
}

TEST_F(DemoDataTest, NoWarehouseEverRunsShort) {
    EXPECT_TRUE(test::negativeBalanceFaults(s).isEmpty()) << str(test::negativeBalanceFaults(s));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM SALDOSBODEGA WHERE SALDO < 0"));
    EXPECT_GT(count("SELECT COUNT(*) FROM SALDOSBODEGA WHERE SALDO > 0"), 0);
}

TEST_F(DemoDataTest, ThirdPartiesCarryTheirCheckDigit) {
    const auto parties = s.all("SELECT NIT, DV, TIPOTERCERO, CLASETERCERO FROM PROVEEDORES");
    EXPECT_GE(parties.size(), 40u);
    QSet<QString> types, classes;
    for (const db::Row& p : parties) {
        EXPECT_EQ(QString::number(app::NitCheckDigit::compute(p.number("NIT"))), p.text("DV"))
            << qint64(p.number("NIT"));
        types.insert(p.text("TIPOTERCERO"));
        classes.insert(p.text("CLASETERCERO"));
    }
    EXPECT_EQ((QSet<QString>{"C", "P"}), types) << "companies and natural persons";
    EXPECT_EQ((QSet<QString>{"C", "P"}), classes) << "customers and suppliers";
    EXPECT_EQ(1, count("SELECT COUNT(*) FROM PROVEEDORES P JOIN REGISTRO R ON R.NIT = P.NIT"));
}

// Every reference between the rows resolves; each query counts the rows that break one.
TEST_F(DemoDataTest, EveryReferenceResolves) {
    const char* broken[] = {
        "SELECT COUNT(*) FROM PRODUCTOS P WHERE NOT EXISTS (SELECT 1 FROM GRUPOS G WHERE G.GRUPO = P.GRUPO)",
        "SELECT COUNT(*) FROM PRODUCTOS P WHERE NOT EXISTS (SELECT 1 FROM SUBGRUPOS G WHERE G.SUBGRUPO = "
        "P.SUBGRUPO)",
        "SELECT COUNT(*) FROM PRODUCTOS P WHERE NOT EXISTS (SELECT 1 FROM UNIDADES U WHERE U.UNIDAD = "
        "P.UNIDAD) "
        "OR NOT EXISTS (SELECT 1 FROM UNIDADES U WHERE U.UNIDAD = P.UNIDADS)",
        "SELECT COUNT(*) FROM PRODUCTOS P WHERE P.UNIDAD <> P.UNIDADS AND NOT EXISTS (SELECT 1 FROM "
        "UNIDADCONVERSION C "
        "WHERE C.CODIGOUNIDAD = P.UNIDAD AND C.CODIGOUNIDADRECIBIR = P.UNIDADS)",
        "SELECT COUNT(*) FROM PRODUCTOS WHERE VALORIVA NOT IN (0, 19) OR VALORUNIDAD <= 0 OR VALORPROMEDIO "
        "<= 0",
        "SELECT COUNT(*) FROM PRODUCTOS P WHERE NOT EXISTS (SELECT 1 FROM CUENTAS C WHERE C.CUENTAINVANTARIO "
        "= "
        "P.CUENTACONTABLE AND C.CUENTAGASTO = P.CUENTACONTABLECOSTO)",
        "SELECT COUNT(*) FROM PRODUCTOSPROVEEDOR X WHERE NOT EXISTS (SELECT 1 FROM PROVEEDORES P WHERE P.NIT "
        "= "
        "X.PROVEEDOR AND P.CLASETERCERO = 'P') OR NOT EXISTS (SELECT 1 FROM PRODUCTOS P WHERE P.PRODUCTO = "
        "X.PRODUCTO)",
        "SELECT COUNT(*) FROM PRODUCTOSVALORVENTA X WHERE NOT EXISTS (SELECT 1 FROM UNIDADES U WHERE "
        "U.UNIDAD = X.UNIDAD)",
        "SELECT COUNT(*) FROM MOVIMIENTO M WHERE NOT EXISTS (SELECT 1 FROM EMPRESAS E WHERE E.EMPRESA = "
        "M.EMPRESA) "
        "OR NOT EXISTS (SELECT 1 FROM BODEGAS B WHERE B.BODEGA = M.BODEGA) "
        "OR NOT EXISTS (SELECT 1 FROM PROVEEDORES P WHERE P.NIT = M.CLIENTE) "
        "OR (M.VENDEDOR IS NOT NULL AND NOT EXISTS (SELECT 1 FROM PROVEEDORES P WHERE P.NIT = M.VENDEDOR))",
        "SELECT COUNT(*) FROM MOVIMIENTODETALLE D WHERE NOT EXISTS (SELECT 1 FROM PRODUCTOS P WHERE "
        "P.PRODUCTO = "
        "D.PRODUCTO) OR (D.CENTROCOSTOS IS NOT NULL AND NOT EXISTS (SELECT 1 FROM CENTROCOSTOS C WHERE "
        "C.CENTROCOSTO = D.CENTROCOSTOS))",
        "SELECT COUNT(*) FROM MOVIMIENTODETALLE D JOIN DOCUMENTOS T ON T.DOCUMENTO = D.DOCUMENTO "
        "WHERE T.CENTROCOSTOS = 'S' AND D.CENTROCOSTOS IS NULL",
        "SELECT COUNT(*) FROM DOCUMENTOS D WHERE D.CONSECUTIVO <> (SELECT MAX(M.CONSECUTIVO) FROM MOVIMIENTO "
        "M "
        "WHERE M.DOCUMENTO = D.DOCUMENTO)",
    };
    for (const char* sql : broken)
        EXPECT_EQ(0, count(QString::fromLatin1(sql))) << sql;
}

TEST_F(DemoDataTest, ItemsAreCodedAndNamedAsTheItemWindowKeepsThem) {
    const auto items = s.all("SELECT CODIGO, GRUPO, SUBGRUPO, PRODUCTO, NOMBRE, CODIGOBARRAS FROM PRODUCTOS");
    EXPECT_GE(items.size(), 200u);
    QSet<QString> names;
    const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    for (const db::Row& it : items) {
        const QString name = it.text("NOMBRE");
        EXPECT_EQ(it.text("GRUPO") + '-' + it.text("SUBGRUPO") + '-' + it.text("PRODUCTO"),
                  it.text("CODIGO"));
        EXPECT_EQ(name.toUpper(), name) << name.toStdString();
        EXPECT_FALSE(names.contains(name)) << name.toStdString();
        names.insert(name);
        if (!it.isNull("CODIGOBARRAS")) {
            EXPECT_TRUE(digits.match(it.text("CODIGOBARRAS")).hasMatch());
        }
    }
    EXPECT_GT(count("SELECT COUNT(*) FROM PRODUCTOS WHERE CODIGOBARRAS IS NOT NULL"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM PRODUCTOSVALORVENTA"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM PRODUCTOSPROVEEDOR"), 0);
}

// Users of every type; a module a user may not see hides all its programs; the system rows came along.
TEST_F(DemoDataTest, UsersHaveTheirTypesAndMenus) {
    EXPECT_GT(count("SELECT COUNT(*) FROM PROGRAMAS"), 0);
    QSet<QString> types;
    const auto& menu = app::SystemRows::menuRows();
    int hiding = 0;
    for (const db::Row& u : s.all("SELECT U.CODIGO, U.NOMBRE, U.ACTIVO, M.OPCIONES FROM USUARIOS U "
                                  "LEFT JOIN MENU M ON M.CODIGOUSUARIO = U.CODIGO")) {
        const std::string who = u.text("NOMBRE").toStdString();
        types.insert(u.text("ACTIVO"));
        const QString options = u.text("OPCIONES");
        ASSERT_EQ(200, options.size()) << who;
        if (options.contains(QLatin1Char('0'))) ++hiding;
        if (u.text("NOMBRE") == QLatin1String("ADMIN")) {
            EXPECT_EQ(QString(200, QLatin1Char('1')), options);
        }
        // Row r of the menu is governed by character r (counted from 1).
        for (size_t r = 1; r < menu.size(); ++r) {
            if (!menu[r].isModule() || options[qsizetype(r - 1)] != QLatin1Char('0')) continue;
            for (size_t c = r + 1; c < menu.size() && !menu[c].isModule(); ++c)
                EXPECT_EQ(QLatin1Char('0'), options[qsizetype(c - 1)])
                    << who << " sees a program of a hidden module";
        }
    }
    EXPECT_EQ((QSet<QString>{"1", "2", "3", "4", "T"}), types);
    EXPECT_GT(hiding, 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM USUARIOS"), count("SELECT COUNT(*) FROM MENU"));
}

TEST_F(DemoDataTest, LoadingAgainIsRefusedAndChangesNothing) {
    const char* tables[] = {"EMPRESAS", "PRODUCTOS",  "PROVEEDORES",
                            "USUARIOS", "MOVIMIENTO", "MOVIMIENTODETALLE"};
    std::vector<int> before;
    for (const char* t : tables)
        before.push_back(count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)));
    try {
        demo::DemoData::load(s);
        FAIL() << "a second load must be refused";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("ya tiene"), std::string::npos) << e.what();
    }
    for (size_t i = 0; i < std::size(tables); ++i)
        EXPECT_EQ(before[i], count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(tables[i]))) << tables[i];
}

TEST_F(DemoDataTest, EveryLoadWritesTheSameData) {
    test::TestDatabase other;
    demo::DemoData::load(other.session());
    for (const char* sql :
         {"SELECT * FROM PRODUCTOS ORDER BY PRODUCTO", "SELECT * FROM PROVEEDORES ORDER BY NIT",
          "SELECT * FROM MOVIMIENTODETALLE ORDER BY EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA"})
        EXPECT_EQ(rowsOf(s, sql), rowsOf(other.session(), sql)) << sql;
}

// A database that already has data of its own is not touched, not even by the system rows.
TEST(DemoDataRefusalTest, ADatabaseWithDataIsLeftAsItIs) {
    for (const char* seed :
         {"INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'MI EMPRESA')",
          "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) "
          "VALUES ('01-1-1', '01', 1, 1, 'UN')",
          "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA) VALUES ('01', 'EA', 1, 1)"}) {
        test::TestDatabase tdb;
        tdb.session().execute(QString::fromLatin1(seed));
        EXPECT_THROW(demo::DemoData::load(tdb.session()), std::runtime_error) << seed;
        EXPECT_EQ(0, tdb.session().scalar("SELECT COUNT(*) FROM PROGRAMAS").toInt()) << seed;
        EXPECT_EQ(0, tdb.session().scalar("SELECT COUNT(*) FROM PROVEEDORES").toInt()) << seed;
    }
}

} // namespace
