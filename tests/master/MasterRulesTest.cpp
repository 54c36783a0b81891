// The rule classes of the master data: text loads, the in-use check before a delete and "Pasa Cuenta".

#include "master/AccountAssignment.h"
#include "master/References.h"
#include "master/TextLoad.h"
#include "platform/db/Session.h"
#include "support/TestDatabase.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

master::TextLoadResult load(db::Session& s, master::TextLoadKind kind, const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return master::loadTextFile(s, kind, buffer);
}

QString nameOfGroup(db::Session& s, const QString& grupo) {
    return s.scalar(QStringLiteral("SELECT NOMBRE FROM GRUPOS WHERE GRUPO = ?"), {grupo}).toString();
}

TEST(TextLoad, GroupsComeFromFixedColumnsAndBadLinesAreReported) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    s.execute(QStringLiteral("INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES ('03', 'YA EXISTE')"));
    const QByteArray file =
        "          01    FERRETERIA\r\n"            // ten blanks, the code, four blanks, the name
        "\n"                                        // a blank line
        "          02    " + QByteArray(45, 'X') + "\n"  // a name longer than its 40 characters
        "                SIN CODIGO\n"              // a blank key
        "          03    REPETIDO\n"                // a key that exists
        "          4\n";                            // shorter than the key: only what exists
    const auto r = load(s, master::TextLoadKind::Groups, file);

    EXPECT_EQ(nameOfGroup(s, QStringLiteral("01")), QStringLiteral("FERRETERIA"));
    EXPECT_EQ(nameOfGroup(s, QStringLiteral("02")), QString(40, QLatin1Char('X')));
    EXPECT_EQ(nameOfGroup(s, QStringLiteral("03")), QStringLiteral("YA EXISTE"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM GRUPOS WHERE GRUPO = '4'")).toInt(), 1);
    EXPECT_EQ(r.loaded, 3);
    EXPECT_EQ(r.skipped, 2);
    ASSERT_EQ(r.failed(), 1);
    EXPECT_TRUE(r.failures[0].startsWith(QStringLiteral("Línea 5: 03    REPETIDO - "))) << r.failures[0].toStdString();
    EXPECT_EQ(r.summary(), QStringLiteral("3 cargados, 1 con error"));
    EXPECT_TRUE(r.report().endsWith(QStringLiteral("\n\n3 cargados, 1 con error")));
}

TEST(TextLoad, SubgroupsAreNumberedByTheirLineAndExistingNumbersAreRefused) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    s.execute(QStringLiteral("INSERT INTO SUBGRUPOS (SUBGRUPO, NOMBRE) VALUES (1, 'UNO')"));
    s.execute(QStringLiteral("INSERT INTO SUBGRUPOS (SUBGRUPO, NOMBRE) VALUES (2, 'DOS')"));
    // MODELO is characters 10-18, NOMBRE 19-57. The blank fourth line keeps its number.
    const QByteArray file = "xxxxxxxxxMOD-1    PRIMERO\n"
                            "xxxxxxxxxMOD-2    SEGUNDO\n"
                            "xxxxxxxxxMOD-3    TERCERO\n"
                            "   \n"
                            "xxxxxxxxxMOD-5    CA\xd1" "ERIA\n"; // Latin-1, as older systems write
    const auto r = load(s, master::TextLoadKind::Subgroups, file);

    EXPECT_EQ(r.loaded, 2);
    EXPECT_EQ(r.failed(), 2);
    EXPECT_EQ(r.skipped, 1);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT NOMBRE FROM SUBGRUPOS WHERE SUBGRUPO = 1")).toString(),
              QStringLiteral("UNO"));
    const auto third = s.first(QStringLiteral("SELECT MODELO, NOMBRE FROM SUBGRUPOS WHERE SUBGRUPO = 3"));
    ASSERT_TRUE(third);
    EXPECT_EQ(third->at(0).toString(), QStringLiteral("MOD-3"));
    EXPECT_EQ(third->at(1).toString(), QStringLiteral("TERCERO"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT NOMBRE FROM SUBGRUPOS WHERE SUBGRUPO = 5")).toString(),
              QStringLiteral("CAÑERIA"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM SUBGRUPOS WHERE SUBGRUPO = 4")).toInt(), 0);
}

TEST(TextLoad, AMissingFileIsToldInSpanish) {
    test::TestDatabase tdb;
    try {
        master::loadTextFile(tdb.session(), master::TextLoadKind::Groups, QStringLiteral("/no/existe.txt"));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("No se pudo abrir el archivo")));
    }
}

// What uses a master row, as a table: the row to delete, what refers to it, and whether it may go.
struct InUseCase {
    const char* name;
    const char* table;
    QVariant key;
    const char* seed; // inserts a row that uses the key, or nothing
    const char* where;
};

void PrintTo(const InUseCase& c, std::ostream* os) { *os << c.name; }

class InUse : public ::testing::TestWithParam<InUseCase> {};

TEST_P(InUse, RefusesOnlyWhileSomethingUsesTheRow) {
    const auto& c = GetParam();
    test::TestDatabase tdb;
    auto& s = tdb.session();
    EXPECT_EQ(master::whyInUse(s, QString::fromLatin1(c.table), c.key), QString());
    s.execute(QString::fromLatin1(c.seed));
    const QString why = master::whyInUse(s, QString::fromLatin1(c.table), c.key);
    EXPECT_EQ(why, QStringLiteral("No se puede borrar: el código %1 está en uso en %2.")
                       .arg(c.key.toString(), QString::fromUtf8(c.where)));
}

INSTANTIATE_TEST_SUITE_P(
    MasterRows, InUse,
    ::testing::Values(
        InUseCase{"GroupByItem", "GRUPOS", QStringLiteral("01"),
                  "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) VALUES ('01-1-1', '01', 1, 1, 'UN')",
                  "productos"},
        InUseCase{"SubgroupByItem", "SUBGRUPOS", 7,
                  "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) VALUES ('01-7-1', '01', 7, 1, 'UN')",
                  "productos"},
        InUseCase{"UnitByIssueUnit", "UNIDADES", QStringLiteral("KG"),
                  "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, UNIDADS) "
                  "VALUES ('01-1-1', '01', 1, 1, 'UN', 'KG')",
                  "productos"},
        InUseCase{"WarehouseByDocument", "BODEGAS", 3,
                  "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA) VALUES ('01', 'EA', 1, 3)",
                  "documentos de inventario"},
        InUseCase{"DocumentTypeByDocument", "DOCUMENTOS", QStringLiteral("EA"),
                  "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA) VALUES ('01', 'EA', 1, 3)",
                  "documentos de inventario"},
        InUseCase{"CostCentreByLine", "CENTROCOSTOS", QStringLiteral("100"),
                  "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CENTROCOSTOS) "
                  "VALUES ('01', 'SA', 1, 1, 5, '100')",
                  "líneas de documentos"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AccountAssignment, GivesTheTypedAccountToTheItemsOfOnePairOnly) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    for (const char* sql :
         {"INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) VALUES ('01-1-1', '01', 1, 1, 'UN')",
          "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) VALUES ('01-1-2', '01', 1, 2, 'UN')",
          "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, CUENTACONTABLE) "
          "VALUES ('01-2-3', '01', 2, 3, 'UN', '999')"})
        s.execute(QString::fromLatin1(sql));
    // A quote in the account is stored as typed: the value is bound, never part of the statement.
    EXPECT_EQ(master::assignInventoryAccount(s, QStringLiteral("01"), 1, QStringLiteral("14'55")), 2);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS WHERE CUENTACONTABLE = '14''55'")).toInt(), 2);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT CUENTACONTABLE FROM PRODUCTOS WHERE PRODUCTO = 3")).toString(),
              QStringLiteral("999"));

    EXPECT_THROW(master::assignInventoryAccount(s, QStringLiteral("01"), 2, QString(17, QLatin1Char('1'))),
                 std::invalid_argument);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT CUENTACONTABLE FROM PRODUCTOS WHERE PRODUCTO = 3")).toString(),
              QStringLiteral("999"));
}

} // namespace
