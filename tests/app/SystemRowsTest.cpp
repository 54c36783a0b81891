#include "app/SystemRows.h"
#include "platform/db/DbError.h"
#include "support/TestDatabase.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Every program number the dispatcher opens a window for.
const std::vector<int> kDispatcherPrograms = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  51,
                                              52,  53,  54,  61,  62,  64,  100, 101, 200, 201, 202, 203, 204,
                                              205, 206, 207, 208, 209, 210, 211, 212, 213, 214, 215, 216, 217,
                                              220, 221, 222, 300, 301, 302, 303, 304, 402, 403, 601, 801};

class SystemRowsTest : public ::testing::Test {
protected:
    test::TestDatabase tdb;
    db::Session& s = tdb.session();

    // Every row of the tables install writes, as text, in key order.
    QStringList snapshot() {
        QStringList out;
        for (const char* sql :
             {"SELECT * FROM PROGRAMAS ORDER BY NUMEROPROGRAMA", "SELECT * FROM REGISTRO ORDER BY NIT",
              "SELECT * FROM USUARIOS ORDER BY CODIGO", "SELECT * FROM MENU ORDER BY CODIGOUSUARIO"}) {
            for (const db::Row& row : s.all(QString::fromLatin1(sql))) {
                QStringList values;
                for (const QVariant& v : row.values())
                    values << v.toString();
                out << values.join(QLatin1Char('|'));
            }
        }
        return out;
    }

    std::vector<db::Row> menu() { return s.all("SELECT * FROM PROGRAMAS ORDER BY NUMEROPROGRAMA"); }
};

TEST_F(SystemRowsTest, InstallingTwiceGivesTheSameRows) {
    app::SystemRows::install(s);
    const QStringList first = snapshot();
    app::SystemRows::install(s);
    EXPECT_EQ(first, snapshot());
    EXPECT_EQ(int(app::SystemRows::menuRows().size()), s.scalar("SELECT COUNT(*) FROM PROGRAMAS").toInt());
    EXPECT_EQ(1, s.scalar("SELECT COUNT(*) FROM REGISTRO").toInt());
    EXPECT_EQ(1, s.scalar("SELECT COUNT(*) FROM USUARIOS").toInt());
    EXPECT_EQ(1, s.scalar("SELECT COUNT(*) FROM MENU").toInt());
}

// The main window builds the tree by attaching each row to the latest node one level up, so the
// stored order must be a valid pre-order with modules on top and programs below them.
TEST_F(SystemRowsTest, MenuIsAValidPreOrderTree) {
    app::SystemRows::install(s);
    const auto rows = menu();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(0, rows.front().integer("NIVEL"));
    for (size_t i = 0; i < rows.size(); ++i) {
        const db::Row& r = rows[i];
        const std::string where = r.text("DESCRIPCION").toStdString();
        EXPECT_EQ(int(i) + 1, r.integer("NUMEROPROGRAMA")) << where;
        if (i > 0) {
            EXPECT_LE(r.integer("NIVEL"), rows[i - 1].integer("NIVEL") + 1) << where;
        }
        const bool isModule = r.integer("NIVEL") == 0;
        EXPECT_EQ(isModule, r.integer("PROGRAMA") == 0) << where;
        EXPECT_EQ(isModule ? 0 : 2, r.integer("INDIMAGEN")) << where;
        EXPECT_EQ(isModule ? 1 : 3, r.integer("INDSELECION")) << where;
        EXPECT_FALSE(r.text("OBSERVACION").isEmpty()) << where;
        if (isModule) {
            ASSERT_LT(i + 1, rows.size()) << "a module without programs ends the menu: " << where;
            EXPECT_EQ(1, rows[i + 1].integer("NIVEL")) << "module without programs: " << where;
        }
    }
}

TEST_F(SystemRowsTest, EveryDispatcherProgramAppearsExactlyOnceUnderAUniqueText) {
    app::SystemRows::install(s);
    std::vector<int> programs;
    QSet<QString> texts;
    for (const db::Row& r : menu()) {
        if (r.integer("PROGRAMA") != 0) programs.push_back(r.integer("PROGRAMA"));
        const QString text = r.text("DESCRIPCION");
        EXPECT_FALSE(text.isEmpty());
        EXPECT_FALSE(texts.contains(text.toUpper()))
            << "the chosen node is found by its text: " << text.toStdString();
        texts.insert(text.toUpper());
    }
    std::sort(programs.begin(), programs.end());
    EXPECT_EQ(kDispatcherPrograms, programs);
}

TEST_F(SystemRowsTest, AdministratorMayOpenEverything) {
    app::SystemRows::install(s);
    const auto admin = s.first("SELECT * FROM USUARIOS WHERE NOMBRE = 'ADMIN'");
    ASSERT_TRUE(admin);
    EXPECT_EQ(1, admin->integer("CODIGO"));
    EXPECT_EQ(QStringLiteral("admin"), admin->text("CLAVE"));
    EXPECT_EQ(QStringLiteral("T"), admin->text("ACTIVO"));
    EXPECT_TRUE((*admin)["FECHAHORA"].toDateTime().isValid());
    EXPECT_EQ(QString(200, QLatin1Char('1')),
              s.scalar("SELECT OPCIONES FROM MENU WHERE CODIGOUSUARIO = 1").toString());
    EXPECT_DOUBLE_EQ(900123456, s.scalar("SELECT NIT FROM REGISTRO").toDouble());
}

// An installation that already has its own profile, users and menu keeps them.
TEST_F(SystemRowsTest, KeepsWhatTheInstallationAlreadyHas) {
    s.execute("INSERT INTO REGISTRO (NIT, NOMBRE) VALUES (800111222, 'MI EMPRESA')");
    s.execute(
        "INSERT INTO PROGRAMAS (NUMEROPROGRAMA, DESCRIPCION, NIVEL, PROGRAMA) VALUES (1, 'Mi Menu', 0, 0)");
    s.execute("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (1, 'PEDRO', 'x', '1')");
    s.execute("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (1, '0')");
    s.execute("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (7, 'LUISA', 'y', '2')");
    s.execute("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (8, '000')"); // left by a deleted user
    app::SystemRows::install(s);

    EXPECT_EQ(1, s.scalar("SELECT COUNT(*) FROM REGISTRO").toInt());
    EXPECT_EQ(QStringLiteral("MI EMPRESA"), s.scalar("SELECT NOMBRE FROM REGISTRO").toString());
    EXPECT_EQ(1, s.scalar("SELECT COUNT(*) FROM PROGRAMAS").toInt());
    EXPECT_EQ(QStringLiteral("Mi Menu"), s.scalar("SELECT DESCRIPCION FROM PROGRAMAS").toString());
    EXPECT_EQ(QStringLiteral("0"), s.scalar("SELECT OPCIONES FROM MENU WHERE CODIGOUSUARIO = 1").toString());
    EXPECT_EQ(8, s.scalar("SELECT CODIGO FROM USUARIOS WHERE NOMBRE = 'ADMIN'").toInt())
        << "code 1 is taken, so the administrator gets the next free one";
    EXPECT_EQ(QString(200, QLatin1Char('1')),
              s.scalar("SELECT OPCIONES FROM MENU WHERE CODIGOUSUARIO = 8").toString());
    EXPECT_EQ(1, s.scalar("SELECT COUNT(*) FROM MENU WHERE CODIGOUSUARIO = 8").toInt());

    s.execute("DELETE FROM USUARIOS WHERE NOMBRE = 'ADMIN'");
    s.execute("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (20, 'ADMIN', 'otra', 'T')");
    app::SystemRows::install(s);
    EXPECT_EQ(1, s.scalar("SELECT COUNT(*) FROM USUARIOS WHERE NOMBRE = 'ADMIN'").toInt());
    EXPECT_EQ(QStringLiteral("otra"),
              s.scalar("SELECT CLAVE FROM USUARIOS WHERE NOMBRE = 'ADMIN'").toString());
}

TEST_F(SystemRowsTest, AFailureHalfWayLeavesNothingWritten) {
    s.execute("CREATE EXCEPTION E_MENU_CERRADO 'menu cerrado'");
    s.execute("CREATE TRIGGER T_MENU_CERRADO FOR MENU BEFORE INSERT AS BEGIN EXCEPTION E_MENU_CERRADO; END");
    EXPECT_THROW(app::SystemRows::install(s), db::DbError);
    for (const char* table : {"PROGRAMAS", "REGISTRO", "USUARIOS", "MENU"})
        EXPECT_EQ(0, s.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))).toInt())
            << table;
}

} // namespace
