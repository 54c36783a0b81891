#include "platform/db/SqlScript.h"
#include "platform/db/Statement.h"

#include <gtest/gtest.h>

TEST(SqlScript, SplitsOnTerminatorOutsideQuotesAndComments) {
    const QString script = QStringLiteral(
        "-- a comment; with a semicolon\n"
        "CREATE TABLE A (X CHAR(1));\n"
        "/* block; comment */ INSERT INTO A VALUES (';');\n"
        "INSERT INTO A VALUES ('it''s; fine')\n;\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER TA FOR A BEFORE INSERT AS BEGIN NEW.X = 'a'; END^\n"
        "SET TERM ; ^\n"
        "SELECT 1 FROM RDB$DATABASE;   \n\n");
    const QStringList parts = db::splitSqlScript(script);
    ASSERT_EQ(5, parts.size());
    EXPECT_EQ(QStringLiteral("CREATE TABLE A (X CHAR(1))"), parts[0]);
    EXPECT_EQ(QStringLiteral("INSERT INTO A VALUES (';')"), parts[1]);
    EXPECT_EQ(QStringLiteral("INSERT INTO A VALUES ('it''s; fine')"), parts[2]);
    EXPECT_TRUE(parts[3].endsWith(QStringLiteral("NEW.X = 'a'; END")));
    EXPECT_EQ(QStringLiteral("SELECT 1 FROM RDB$DATABASE"), parts[4]);
}

TEST(NamedParameters, BecomePositionalMarkersOutsideLiterals) {
    QStringList names;
    const QString sql = db::translateNamedParameters(
        QStringLiteral("SELECT ':X' FROM T /* :Y */ WHERE A = :EMPRESA AND B = :Producto -- :Z\n AND C=:EMPRESA"),
        &names);
    EXPECT_EQ(QStringLiteral("SELECT ':X' FROM T /* :Y */ WHERE A = ? AND B = ? -- :Z\n AND C=?"), sql);
    EXPECT_EQ(QStringList({"EMPRESA", "PRODUCTO", "EMPRESA"}), names);
    names.clear();
    const QString block = QStringLiteral("EXECUTE BLOCK AS DECLARE I INT; BEGIN I = :I; END");
    EXPECT_EQ(block, db::translateNamedParameters(block, &names));
    EXPECT_TRUE(names.isEmpty());
}
