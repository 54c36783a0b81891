#include "cli/Cli.h"
#include "cli/DatabaseFiles.h"
#include "platform/db/SchemaUpgrader.h"
#include "schema/InventorySchema.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int rc;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int rc = cli::run(args, o, e);
    o.flush();
    e.flush();
    return {rc, out, err};
}

TEST(Cli, BadArgumentsGiveAClearMessageAndUsageExit) {
    struct Case {
        QStringList args;
        const char* message;
    } cases[] = {
        {{}, "Uso: almacen-cli"},
        {{"borrar", "x.fdb"}, "Comando desconocido: borrar"},
        {{"create"}, "Falta la base de datos."},
        {{"create", "a.fdb", "b.fdb"}, "Sobran argumentos."},
        {{"create", "a.fdb", "--rapido"}, "Opción desconocida: --rapido"},
        {{"bench-data", "a.fdb", "--lines"}, "Falta el valor de la opción --lines"},
        {{"bench-data", "a.fdb", "--lines", "mil"}, "debe ser un número entero positivo: mil"},
        {{"bench-data", "a.fdb", "--lines", "-5"}, "debe ser un número entero positivo: -5"},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(cli::kUsage, r.rc) << c.args.join(' ').toStdString();
        EXPECT_TRUE((r.err + r.out).contains(QString::fromUtf8(c.message)))
            << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists("a.fdb"));
    }
    EXPECT_EQ(cli::kOk, cli({"--help"}).rc);
}

TEST(Cli, CreateMakesThenLeavesAnUpToDateDatabase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("inv.fdb");
    CliRun r = cli({"create", path});
    ASSERT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Base de datos creada"));
    r = cli({"create", path});
    EXPECT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("ya está al día"));

    db::ConnectionParams p;
    p.database = path;
    auto s = db::Session::attach(p);
    EXPECT_EQ(schema::inventoryUpgrader().latestVersion(), db::SchemaUpgrader::currentVersion(*s));
    EXPECT_EQ(1, s->scalar("SELECT COUNT(*) FROM USUARIOS WHERE NOMBRE = 'ADMIN'").toInt());
    EXPECT_EQ(1, s->scalar("SELECT COUNT(*) FROM REGISTRO").toInt());
    EXPECT_GT(s->scalar("SELECT COUNT(*) FROM PROGRAMAS").toInt(), 50);
}

TEST(Cli, UnreachablePlacesFailWithoutLeavingAFile) {
    CliRun r = cli({"create", "/nonexistent-folder/inv.fdb"});
    EXPECT_EQ(cli::kFailed, r.rc);
    EXPECT_TRUE(r.err.startsWith("Error de la base de datos:")) << r.err.toStdString();
    r = cli({"bench", "/tmp/no-such-almacen.fdb"});
    EXPECT_EQ(cli::kFailed, r.rc);
    EXPECT_TRUE(r.err.contains("No existe la base de datos"));
}

TEST(Cli, FailedCreationRemovesTheHalfMadeDatabase) {
    QTemporaryDir dir;
    db::ConnectionParams p;
    p.database = dir.filePath("half.fdb");
    EXPECT_THROW(cli::createDatabase(p, [](db::Session&) { throw std::runtime_error("corte de luz"); }),
                 std::runtime_error);
    EXPECT_FALSE(QFileInfo::exists(p.database));
}

TEST(Cli, DemoRefusesToOverwriteUnlessForced) {
    QTemporaryDir dir;
    const QString path = dir.filePath("demo.fdb");
    CliRun r = cli({"demo", path});
    ASSERT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("ADMIN"));
    r = cli({"demo", path});
    EXPECT_EQ(cli::kFailed, r.rc);
    EXPECT_TRUE(r.err.contains("ya existe"));
    r = cli({"demo", path, "--force"});
    EXPECT_EQ(cli::kOk, r.rc) << r.err.toStdString();
}

TEST(Cli, BenchDataThenBenchOnASmallHistory) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.fdb");
    CliRun r = cli({"bench-data", path, "--lines", "2000", "--items", "50"});
    ASSERT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Generadas 2000 líneas"));
    r = cli({"bench", path, "--repeat", "3"});
    EXPECT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("saldo por bodega"));
}

} // namespace
