#include "app/InstallationFile.h"
#include "app/LoginFlow.h"
#include "app/MenuTree.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using app::LoginFlow;
using Outcome = app::LoginFlow::Outcome;

namespace {

class LoginFlowTest : public ::testing::Test {
protected:
    test::TestDatabase tdb;
    db::Session& s = tdb.session();
    void SetUp() override {
        s.execute("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (1, 'ana', 'Secreta', '1')");
        s.execute("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (2, 'sinclave', NULL, '2')");
        s.execute("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (7, 'doble', 'primera', '3')");
        s.execute("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (5, 'doble', 'segunda', '4')");
    }
};

// Each step is (kind, typed text, expected outcome): 'u' user check, 'p' password check.
TEST_F(LoginFlowTest, AttemptCounterPaths) {
    struct Step {
        char kind;
        const char* text;
        Outcome expected;
    };
    const std::vector<std::pair<const char*, std::vector<Step>>> paths = {
        {"three wrong names, then the fourth check ends whatever is typed",
         {{'u', "x", Outcome::UserMissing}, {'u', "ANA", Outcome::UserMissing}, {'u', "", Outcome::UserMissing},
          {'u', "ana", Outcome::TooManyAttempts}}},
        {"a found name resets the counter: three password tries, the fourth ends",
         {{'u', "x", Outcome::UserMissing}, {'u', "x", Outcome::UserMissing}, {'u', "ana", Outcome::UserFound},
          {'p', "secreta", Outcome::PasswordWrong}, {'p', "Secreta ", Outcome::PasswordWrong},
          {'p', "", Outcome::PasswordWrong}, {'p', "Secreta", Outcome::TooManyAttempts}}},
        {"exact and case-sensitive password",
         {{'u', "ana", Outcome::UserFound}, {'p', "Secreta", Outcome::PasswordAccepted}}},
        {"a name with a trailing blank is another name", {{'u', "ana ", Outcome::UserMissing}}},
        {"an empty stored password accepts an empty one",
         {{'u', "sinclave", Outcome::UserFound}, {'p', "", Outcome::PasswordAccepted}}},
        {"two users of one name: the first by code is checked",
         {{'u', "doble", Outcome::UserFound}, {'p', "primera", Outcome::PasswordWrong},
          {'p', "segunda", Outcome::PasswordAccepted}}},
    };
    for (const auto& [name, steps] : paths) {
        LoginFlow flow(s);
        for (const Step& st : steps) {
            const Outcome got = st.kind == 'u' ? flow.checkUser(QString::fromUtf8(st.text))
                                               : flow.checkPassword(QString::fromUtf8(st.text));
            EXPECT_EQ(st.expected, got) << name << " at '" << st.text << "'";
        }
    }
    LoginFlow flow(s);
    flow.checkUser("doble");
    flow.checkPassword("segunda");
    EXPECT_TRUE(flow.accepted());
    EXPECT_EQ(5, flow.user()->codigo);
}

TEST_F(LoginFlowTest, PasswordChange) {
    LoginFlow flow(s);
    ASSERT_EQ(Outcome::UserFound, flow.checkUser("ana"));
    ASSERT_EQ(Outcome::PasswordAccepted, flow.checkPassword("Secreta"));
    EXPECT_EQ(Outcome::ConfirmationDiffers, flow.confirmNewPassword("nueva1", "nueva2"));
    // Longer than the column: refused rather than stored cut.
    EXPECT_EQ(Outcome::PasswordTooLong, flow.confirmNewPassword(QString(21, 'x'), QString(21, 'x')));
    EXPECT_EQ(QStringLiteral("Secreta"), s.scalar("SELECT CLAVE FROM USUARIOS WHERE CODIGO = 1").toString());
    EXPECT_EQ(Outcome::PasswordChanged, flow.confirmNewPassword("nueva", "nueva"));
    EXPECT_EQ(QStringLiteral("nueva"), s.scalar("SELECT CLAVE FROM USUARIOS WHERE CODIGO = 1").toString());
    EXPECT_TRUE(flow.accepted());

    LoginFlow again(s);
    again.checkUser("ana");
    again.checkPassword("x");
    for (int i = 0; i < 2; ++i) again.checkPassword("x");
    EXPECT_EQ(Outcome::TooManyAttempts, again.checkPassword("nueva"));

    // Three mismatched confirmations are allowed; the fourth check abandons the change.
    LoginFlow change(s);
    change.checkUser("ana");
    change.checkPassword("nueva");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Outcome::ConfirmationDiffers, change.confirmNewPassword("a", "b"));
    EXPECT_EQ(Outcome::TooManyAttempts, change.confirmNewPassword("c", "c"));
    EXPECT_EQ(QStringLiteral("nueva"), s.scalar("SELECT CLAVE FROM USUARIOS WHERE CODIGO = 1").toString());
}

std::vector<app::ProgramRow> rows(const std::vector<std::pair<int, const char*>>& levels) {
    std::vector<app::ProgramRow> out;
    for (const auto& [level, text] : levels) out.push_back({QString::fromUtf8(text), level, 0, 0, "0", {}});
    return out;
}

// Flattens a tree as "text(depth)" in pre-order.
QStringList flat(const std::vector<app::MenuNode>& nodes, int depth = 0) {
    QStringList out;
    for (const auto& n : nodes) {
        out << QStringLiteral("%1(%2)").arg(n.text).arg(depth);
        out << flat(n.children, depth + 1);
    }
    return out;
}

TEST(MenuTree, BuildsThePreOrderRowsIntoATree) {
    const auto tree = app::MenuTree::build(rows({{0, "A"}, {1, "A1"}, {2, "A1a"}, {1, "A2"}, {0, "B"}, {1, "B1"}}));
    EXPECT_EQ(QStringList({"A(0)", "A1(1)", "A1a(2)", "A2(1)", "B(0)", "B1(1)"}), flat(tree));
    EXPECT_EQ(3, tree[0].children[1].stateIndex);
    // A row more than one level below the row before hangs under the deepest node there is.
    EXPECT_EQ(QStringList({"A(0)", "X(1)"}), flat(app::MenuTree::build(rows({{0, "A"}, {5, "X"}}))));
}

TEST(MenuTree, PermissionFilter) {
    const auto programs = rows({{0, "Inicio"}, {0, "A"}, {1, "A1"}, {1, "A2"}, {0, "B"}, {1, "B1"}});
    struct Case {
        const char* name;
        QString permissions;
        QStringList expected;
    } cases[] = {
        {"'0' then blanks hides only the second row and its subtree", QStringLiteral("0    "),
         {"Inicio(0)", "B(0)", "B1(1)"}},
        {"a hidden child alone", QStringLiteral("1101"), {"Inicio(0)", "A(0)", "A1(1)", "B(0)", "B1(1)"}},
        {"a hidden parent takes its children whatever they say", QStringLiteral("0111"),
         {"Inicio(0)", "B(0)", "B1(1)"}},
        {"the first row is never hidden", QString(200, '0'), {"Inicio(0)"}},
        {"rows beyond the string are shown", QStringLiteral("11"),
         {"Inicio(0)", "A(0)", "A1(1)", "A2(1)", "B(0)", "B1(1)"}},
    };
    for (const auto& c : cases) {
        auto tree = app::MenuTree::build(programs);
        app::MenuTree::filter(tree, c.permissions);
        EXPECT_EQ(c.expected, flat(tree)) << c.name;
    }
}

TEST(MenuTree, ChosenNodeRunsTheProgramOfTheFirstRowWithItsText) {
    std::vector<app::ProgramRow> programs = {{"Kardex", 1, 0, 0, "200", {}}, {"Kardex", 1, 0, 0, "201", {}}};
    EXPECT_EQ(QStringLiteral("200"), app::MenuTree::programFor(programs, "Kardex")->program);
    EXPECT_FALSE(app::MenuTree::programFor(programs, "kardex"));
}

TEST(MenuTree, UserWithoutMenuRowHasNoPermissionString) {
    test::TestDatabase tdb;
    tdb.session().execute("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (3, '0101')");
    EXPECT_EQ(QStringLiteral("0101"), app::MenuTree::readPermissions(tdb.session(), 3).value());
    EXPECT_FALSE(app::MenuTree::readPermissions(tdb.session(), 4));
}

TEST(InstallationFile, OnlyLinesFiveAndSevenMatter) {
    QTemporaryDir dir;
    auto write = [&](const char* name, const char* text) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return dir.filePath(name);
    };
    auto full = app::InstallationFile::read(write("full", "a\nb\nc\nd\nledger.fdb\nf\n/db/almacen.fdb\nh\n"));
    ASSERT_TRUE(full);
    EXPECT_EQ(QStringLiteral("ledger.fdb"), full->ledgerPath());
    EXPECT_EQ(QStringLiteral("/db/almacen.fdb"), full->inventoryPath());
    auto six = app::InstallationFile::read(write("six", "1\n2\n3\n4\n\n6\n"));
    ASSERT_TRUE(six);
    EXPECT_TRUE(six->inventoryPath().isEmpty());
    EXPECT_TRUE(six->ledgerPath().isEmpty());
    EXPECT_FALSE(app::InstallationFile::read(dir.filePath("missing")));

    const QString made = dir.filePath("sub/DireccionBd.txt");
    ASSERT_TRUE(app::InstallationFile::write(made, "/x/demo.fdb"));
    EXPECT_EQ(QStringLiteral("/x/demo.fdb"), app::InstallationFile::read(made)->inventoryPath());
    EXPECT_EQ(made, app::InstallationFile::locate({"almacen", "--instalacion", made}));
}

} // namespace
