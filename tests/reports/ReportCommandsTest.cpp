// "almacen-cli report": the catalogue, each output form, parameters and the errors an administrator
// or a script can make.

#include "cli/Cli.h"
#include "platform/report/PdfText.h"
#include "platform/report/Registry.h"
#include "platform/report/SalesFixture.h"
#include "platform/sheet/XlsxReader.h"

#include <QFile>
#include <QRegularExpression>
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

class ReportCommand : public ::testing::Test {
protected:
    void SetUp() override { report::Registry::instance().add(*test::SalesFixture::definition()); }

    test::SalesFixture fixture;
    QTemporaryDir dir;
};

TEST_F(ReportCommand, ListsTheReportsWithTheirParameters) {
    const CliRun r = cli({"report", "--list"});
    ASSERT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("^usuarios +USUARIOS DEL SISTEMA$"),
                                                  QRegularExpression::MultilineOption)));
    EXPECT_TRUE(r.out.contains(
        QRegularExpression(QStringLiteral("^menu +MENU DEL SISTEMA$"), QRegularExpression::MultilineOption)));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    --param DESDE=<fecha dd/mm/aaaa>  primera fecha\n")));
}

TEST_F(ReportCommand, WritesEachForm) {
    const QString db = fixture.db.path();
    const QString pdf = dir.filePath(QStringLiteral("ventas.pdf"));
    CliRun r = cli(
        {"report", "ventas", db, "--pdf", pdf, "--param", "DESDE=01/01/2024", "--print-date", "2024-03-15"});
    ASSERT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_EQ(QStringLiteral("Informe ventas: 65 registros, 2 páginas en %1\n").arg(pdf), r.out);
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_EQ(2, pages.size());
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Page 2")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("15/03/2024")));

    const QString xlsx = dir.filePath(QStringLiteral("ventas.xlsx"));
    r = cli({"report", "ventas", db, "--xlsx", xlsx, "--param", "DESDE=2024-01-06"});
    ASSERT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Informe ventas: 60 registros en ")));
    EXPECT_GT(sheet::XlsxReader(xlsx).rowCount(0), 60);

    const QString html = dir.filePath(QStringLiteral("ventas.html"));
    r = cli({"report", "ventas", db, "--html", html, "--param", "DESDE=01/01/2024"});
    ASSERT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    QFile file(html);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Hospital Sur &amp; Cia"));

    r = cli({"report", "ventas", db, "--txt", "-", "--param", "DESDE=01/01/2024"});
    ASSERT_EQ(cli::kOk, r.rc) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Total Registros : 65")));
}

TEST_F(ReportCommand, RefusesBadInputWithTheUsageExit) {
    const QString db = fixture.db.path();
    struct Case {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"report"}, "Falta el nombre del informe."},
        {{"report", "usuarios"}, "Falta la base de datos."},
        {{"report", "--list", "usuarios"}, "Sobran argumentos."},
        {{"report", "existencias", db, "--txt", "-"}, "Informe desconocido: existencias"},
        {{"report", "usuarios", db}, "Indique la salida: --pdf, --xlsx, --html o --txt ARCHIVO."},
        {{"report", "usuarios", db, "--pdf", "a.pdf", "--txt", "-"}, "Indique una sola salida."},
        {{"report", "usuarios", db, "--pdf", "-"}, "Solo la salida --txt puede ir a la pantalla"},
        {{"report", "usuarios", db, "--txt", "-", "--formato", "x"}, "Opción desconocida: --formato"},
        {{"report", "ventas", db, "--txt", "-"}, "Falta el parámetro DESDE (primera fecha)"},
        {{"report", "ventas", db, "--txt", "-", "--param", "DESDE=ayer"},
         "El parámetro DESDE debe ser una fecha"},
        {{"report", "ventas", db, "--txt", "-", "--param", "DESDE"}, "Parámetro mal escrito: DESDE"},
        {{"report", "usuarios", db, "--txt", "-", "--param", "EMPRESA=01"},
         "El informe usuarios no tiene el parámetro EMPRESA"},
        {{"report", "usuarios", db, "--txt", "-", "--print-date", "15/13/2024"}, "debe ser una fecha"},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(cli::kUsage, r.rc) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << c.args.join(' ').toStdString() << "\n"
                                                                  << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Uso: almacen-cli report")));
    }
}

TEST_F(ReportCommand, FailsWithoutLeavingAFile) {
    CliRun r = cli({"report", "usuarios", dir.filePath(QStringLiteral("no-existe.fdb")), "--txt", "-"});
    EXPECT_EQ(cli::kFailed, r.rc);
    EXPECT_TRUE(r.err.contains(QStringLiteral("No existe la base de datos"))) << r.err.toStdString();

    const QString pdf = dir.filePath(QStringLiteral("sin-carpeta/usuarios.pdf"));
    r = cli({"report", "usuarios", fixture.db.path(), "--pdf", pdf});
    EXPECT_EQ(cli::kFailed, r.rc);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("No se pudo crear el archivo %1").arg(pdf)))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
