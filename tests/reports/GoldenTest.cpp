// One test per registered report: a small fixture database rendered through the command line to text
// and compared with the reviewed file golden/<name>.txt beside this test. A new declaration shows up
// here by itself and fails until its golden file has been reviewed and added; running the test with
// ALMACEN_UPDATE_GOLDEN=1 writes the file for that review.

#include "app/SystemRows.h"
#include "cli/Cli.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>

namespace {

// Parameters of the reports that need some, or whose default range would hide the fixture's rows; a
// declaration with required parameters adds its line. The accounts list starts its range at "A",
// which numbered accounts come before.
const std::map<QString, QStringList> kParameters = {
    {QStringLiteral("cuentas"), {QStringLiteral("DESDE=1"), QStringLiteral("HASTA=9")}},
};

const QString kPrintDate = QStringLiteral("2024-03-15");

QString run(const QStringList& args, int* rc = nullptr) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = cli::run(args, o, e);
    o.flush();
    e.flush();
    if (rc) *rc = code;
    return code == cli::kOk ? out : err;
}

std::vector<std::string> registeredReports() {
    std::vector<std::string> names;
    for (const QString& line :
         run({QStringLiteral("report"), QStringLiteral("--list")}).split(QLatin1Char('\n')))
        if (!line.isEmpty() && !line.startsWith(QLatin1Char(' ')))
            names.push_back(line.section(QLatin1Char(' '), 0, 0).toStdString());
    return names;
}

// The rows the golden files show: the installation's own rows with their clock values fixed, two more
// users (one without a permission row) and a permission string with denied entries.
void seed(db::Session& s) {
    app::SystemRows::install(s);
    s.execute(QStringLiteral("UPDATE USUARIOS SET FECHAHORA = ? WHERE NOMBRE = 'ADMIN'"),
              {QDateTime(QDate(2024, 1, 2), QTime(8, 30))});
    s.execute(
        QStringLiteral("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO, FECHAHORA, FECHAVENCIMIENTO) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {2, QStringLiteral("ALMACENISTA PRINCIPAL"), QStringLiteral("bodega2024"), QStringLiteral("1"),
         QDateTime(QDate(2024, 2, 10), QTime(14, 5, 30)), QDateTime(QDate(2024, 12, 31), QTime(0, 0))});
    s.execute(QStringLiteral(
                  "INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO, FECHAHORA) VALUES (?, ?, ?, ?, ?)"),
              {3, QStringLiteral("RESIDENTE OBRA"), QStringLiteral("obra*77"), QStringLiteral("2"),
               QDateTime(QDate(2024, 2, 11), QTime(9, 0))});
    QString options(int(app::SystemRows::menuRows().size()) - 1, QLatin1Char('1'));
    for (const int denied : {3, 4, 14, 15, 16, 40})
        options[denied - 1] = QLatin1Char('0');
    s.execute(QStringLiteral("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (?, ?)"), {2, options});
}

// A few rows of each master table for their lists; group 01 lies outside the default range "A" to "Z".
void seedMasters(db::Session& s) {
    const auto insert = [&](const char* sql, const std::vector<db::Params>& rows) {
        for (const db::Params& row : rows)
            s.execute(QString::fromLatin1(sql), row);
    };
    insert("INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES (?, ?)",
           {{"01", "EMPRESA DE DEMOSTRACION S.A.S."}, {"02", "SUCURSAL NORTE"}});
    insert("INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES (?, ?)",
           {{"FE", "FERRETERIA"}, {"EL", "ELECTRICOS"}, {"01", "PAPELERIA"}});
    insert("INSERT INTO SUBGRUPOS (SUBGRUPO, NOMBRE, CUENTA, MODELO) VALUES (?, ?, ?, ?)",
           {{1, "TORNILLERIA", "143505", "TR-01"},
            {2, "HERRAMIENTA MANUAL", "143510", "HM-02"},
            {10, "CABLES", "143515", QVariant()}});
    insert("INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES (?, ?)",
           {{"UN", "UNIDAD"}, {"KG", "KILOGRAMO"}, {"GR", "GRAMO"}, {"CJ", "CAJA"}});
    insert("INSERT INTO UNIDADCONVERSION (CODIGOUNIDAD, CODIGOUNIDADRECIBIR, CANTIDAD, OPERADOR) "
           "VALUES (?, ?, ?, ?)",
           {{"GR", "KG", 1000.0, "D"}, {"CJ", "UN", 24.0, "M"}});
    insert("INSERT INTO CENTROCOSTOS (CENTROCOSTO, NOMBRE, AREA, EMPRESA) VALUES (?, ?, ?, ?)",
           {{"100100", "ADMINISTRACION", "ADM", "01"}, {"200100", "OBRA PUENTE NORTE", "OBR", "02"}});
    insert("INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (?, ?)",
           {{1, "BODEGA PRINCIPAL"}, {2, "BODEGA OBRA"}});
    insert("INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, CONSECUTIVO, CENTROCOSTOS) VALUES (?, ?, ?, "
           "?, ?)",
           {{"EA", "ENTRADA DE ALMACEN", "S", 15, "N"},
            {"SA", "SALIDA DE ALMACEN", "R", 42, "S"},
            {"FV", "FACTURA DE VENTA", "R", 1250, "N"}});
    insert("INSERT INTO CUENTAS (CUENTAINVANTARIO, CUENTAGASTO, OBSERVACION) VALUES (?, ?, ?)",
           {{"14350501", "51959501", "MATERIALES DE FERRETERIA"}, {"14351001", "51959502", "HERRAMIENTAS"}});
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesTheReviewedText) {
    const QString name = QString::fromStdString(GetParam());
    test::TestDatabase db;
    seed(db.session());
    seedMasters(db.session());
    QStringList args = {
        QStringLiteral("report"),       name,      db.path(), QStringLiteral("--txt"), QStringLiteral("-"),
        QStringLiteral("--print-date"), kPrintDate};
    const auto params = kParameters.find(name);
    if (params != kParameters.end())
        for (const QString& p : params->second)
            args << QStringLiteral("--param") << p;
    int rc = 0;
    const QString text = run(args, &rc);
    ASSERT_EQ(cli::kOk, rc) << text.toStdString();

    const QString path = QStringLiteral(ALMACEN_GOLDEN_DIR "/%1.txt").arg(name);
    QFile file(path);
    if (qEnvironmentVariableIntValue("ALMACEN_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        GTEST_SKIP() << "wrote " << path.toStdString() << ": review it before committing";
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly))
        << "no golden file " << path.toStdString() << " for report " << GetParam()
        << "; run with ALMACEN_UPDATE_GOLDEN=1, review the file, and add it. The output was:\n"
        << text.toStdString();
    EXPECT_EQ(QString::fromUtf8(file.readAll()).toStdString(), text.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Report, Golden, ::testing::ValuesIn(registeredReports()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return QString::fromStdString(info.param)
                                 .replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")),
                                          QStringLiteral("_"))
                                 .toStdString();
                         });

} // namespace
