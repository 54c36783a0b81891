#include "cli/Cli.h"
#include "cli/DatabaseFiles.h"
#include "platform/db/SchemaUpgrader.h"
#include "platform/db/Session.h"
#include "schema/InventorySchema.h"

#include <QFile>
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

namespace {

TEST(Cli, DocumentoPostsEachLineThroughTheRulesAndStopsAtARefusal) {
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("doc.fdb"));
    ASSERT_EQ(cli({QStringLiteral("create"), base}).rc, 0);
    {
        db::ConnectionParams p;
        p.database = base;
        auto s = db::Session::attach(p);
        for (const char* sql : {
                 "INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'CONSTRUCTORA')",
                 "INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (1, 'PRINCIPAL')",
                 "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA, CONTROLASALDO) "
                 "VALUES ('EA', 'ENTRADA', 'S', 'I', 'N')",
                 "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA, CONTROLASALDO) "
                 "VALUES ('SA', 'SALIDA', 'R', 'I', 'S')",
                 "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, UNIDADS, NOMBRE) "
                 "VALUES ('01-1-7', '01', 1, 7, 'UN', 'UN', 'VARILLA')",
             })
            s->execute(QString::fromLatin1(sql));
    }
    const auto write = [&](const char* name, const QByteArray& text) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    const QStringList common = {QStringLiteral("--empresa"), QStringLiteral("01"), QStringLiteral("--bodega"),
                                QStringLiteral("1"), QStringLiteral("--fecha"), QStringLiteral("2026-03-01"),
                                QStringLiteral("--tercero"), QStringLiteral("900")};
    auto entry = cli(QStringList{QStringLiteral("documento"), base, QStringLiteral("--documento"), QStringLiteral("EA"),
                                 QStringLiteral("--lineas"), write("entrada.txt", "7;10;500;0\n\n7;2.5;500;10\n")} +
                     common);
    ASSERT_EQ(entry.rc, 0) << entry.err.toStdString();
    EXPECT_TRUE(entry.out.contains(QStringLiteral("Documento EA No. 1"))) << entry.out.toStdString();
    EXPECT_TRUE(entry.out.contains(QStringLiteral("Subtotal 6,250.00  Descuento 125.00"))) << entry.out.toStdString();

    // An issue beyond the 12.5 units: the first line goes, the second is refused and not written.
    auto issue = cli(QStringList{QStringLiteral("documento"), base, QStringLiteral("--documento"), QStringLiteral("SA"),
                                 QStringLiteral("--lineas"), write("salida.txt", "7;10;500;0\n7;5;500;0\n")} +
                     common);
    EXPECT_EQ(issue.rc, 1);
    EXPECT_TRUE(issue.err.contains(QStringLiteral("Línea 2 del archivo: Saldo menor a la cantidad solicitada")))
        << issue.err.toStdString();
    db::ConnectionParams p;
    p.database = base;
    auto s = db::Session::attach(p);
    EXPECT_EQ(s->scalar(QStringLiteral("SELECT SUM(CANTIDAD) FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'SA'")).toDouble(),
              -10.0);

    // A bad file is refused before anything is written.
    auto bad = cli(QStringList{QStringLiteral("documento"), base, QStringLiteral("--documento"), QStringLiteral("EA"),
                               QStringLiteral("--lineas"), write("mala.txt", "7;diez;500;0\n")} +
                   common);
    EXPECT_EQ(bad.rc, 2);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("Línea 1 del archivo (7;diez;500;0)"))) << bad.err.toStdString();
    EXPECT_EQ(s->scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIMIENTO WHERE DOCUMENTO = 'EA'")).toInt(), 1);
}

} // namespace
