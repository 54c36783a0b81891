// The lists of the master tables as the clerk reads them: rendered to PDF and read back, over real
// rows of a fresh database.

#include "master/reports/MasterReports.h"
#include "platform/report/DataPass.h"
#include "platform/report/Output.h"
#include "platform/report/PdfText.h"
#include "platform/report/Registry.h"
#include "platform/report/ReportError.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const report::Registry& lists() {
    static const report::Registry registry = [] {
        report::Registry r;
        master::registerReports(r);
        return r;
    }();
    return registry;
}

class MasterLists : public ::testing::Test {
  protected:
    void SetUp() override {
        db.session().execute(QStringLiteral("INSERT INTO REGISTRO (NIT, NOMBRE) VALUES (900123456, ?)"),
                             {QStringLiteral("FERRETERIA LA PRUEBA S.A.")});
    }

    void seed(const QString& sql, const db::Params& params = {}) { db.session().execute(sql, params); }

    std::shared_ptr<const report::ReportData> run(const QString& name, const QVariantMap& parameters) {
        const auto definition = lists().find(name);
        if (!definition) throw std::runtime_error("no list " + name.toStdString());
        report::DataPass::Options o;
        o.parameters = parameters;
        o.printedAt = QDateTime(QDate(2024, 3, 15), QTime(10, 0));
        return report::DataPass::run(definition, db.session(), o);
    }

    // The first page as pdftotext reads it, with the layout kept.
    QString firstPage(const QString& name, const QVariantMap& parameters) {
        const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
        report::Output::write(*run(name, parameters), report::OutputFormat::Pdf, pdf);
        return test::pdfPages(pdf).value(0);
    }

    test::TestDatabase db;
    QTemporaryDir dir;
};

QStringList trimmedLines(const QString& page) {
    QStringList out;
    for (const QString& l : page.split(QLatin1Char('\n')))
        out << l.simplified();
    return out;
}

// The texts appear in this order on one line of the page.
bool onOneLine(const QString& page, const QStringList& texts) {
    QStringList escaped;
    for (const QString& t : texts)
        escaped << QRegularExpression::escape(t);
    return page.contains(
        QRegularExpression(escaped.join(QStringLiteral(".*")), QRegularExpression::MultilineOption));
}

TEST_F(MasterLists, AnEmptyRangePrintsTheHeadersTheColumnTitlesAndAZeroCount) {
    struct Case {
        const char* name;
        QStringList rows; // rows outside the range, which must not print
        QVariantMap range;
        QStringList headerLines;
        QStringList columnTitles;
    } cases[] = {
        {"empresas",
         {"INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('50', 'FUERA')"},
         {{"DESDE", "60"}, {"HASTA", "99"}},
         {"SUBSISTEMA DE MATERALES DE ALMACEN", "EMPRESAS"},
         {"Codigo", "Descripción"}},
        {"grupos",
         {"INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES ('01', 'FUERA')"},
         {},
         {"SUBSISTEMA DE MATERALES", "LISTADO DE GRUPO DE MATERIALES"},
         {"Codigo", "Descripción"}},
        {"subgrupos",
         {"INSERT INTO SUBGRUPOS (SUBGRUPO, NOMBRE) VALUES (1000, 'FUERA')"},
         {},
         {"SUBSISTEMA DE MATERALES", "LISTADO DE SUBGRUPO DE MATERIALES"},
         {"Codigo", "Descripción", "Modelo"}},
        {"unidades",
         {"INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('ZZ', 'FUERA')"},
         {},
         {"SUBSISTEMA DE MATERALES DE ALMACEN", "UNIDADES DE MEDIDA"},
         {"Codigo", "Descripción"}},
        {"conversiones",
         {"INSERT INTO UNIDADCONVERSION (CODIGOUNIDAD, CODIGOUNIDADRECIBIR, CANTIDAD, OPERADOR) "
          "VALUES ('KG', 'GR', 1000, 'D')",
          "INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('KG', 'FUERA')"},
         {{"DESDE", "LB"}, {"HASTA", "UN"}},
         {"UNIDADES DE CONVERSION"},
         {"Código", "Nombre", "Código", "Nombre", "Cantidad", "Tipo Operador"}},
        {"centroscostos",
         {"INSERT INTO CENTROCOSTOS (CENTROCOSTO, NOMBRE) VALUES ('A10', 'FUERA')"},
         {},
         {"SUBSISTEMA DE MATERALES DE ALMACEN", "CENTRO DE COSTOS"},
         {"Codigo", "Descripción", "Àrea", "Compañia"}},
        {"bodegas",
         {"INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (100, 'FUERA')"},
         {},
         {"SUBSISTEMA DE MATERALES DE ALMACEN", "B O D E G A S"},
         {"Codigo", "Descripción"}},
        {"documentos",
         {"INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE) VALUES ('01', 'FUERA')"},
         {},
         {"SUBSISTEMA DE MATERALES DE ALMACEN", "DOCUMENTOS"},
         {"Codigo", "Descripción", "Operador", "Consecutivo", "Centro de Costos?"}},
        {"cuentas",
         {"INSERT INTO CUENTAS (CUENTAINVANTARIO, CUENTAGASTO, OBSERVACION) VALUES ('143505', '510505', "
          "'FUERA')"},
         {},
         {"SUBSISTEMA DE MATERALES DE ALMACEN", "CUENTAS INVENTARIO Vs CUENTAS GASTOS"},
         {"Inventario", "Gasto", "Observación"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& row : c.rows)
            seed(row);
        const QString page = firstPage(QString::fromLatin1(c.name), c.range);
        const QStringList lines = trimmedLines(page);
        EXPECT_TRUE(onOneLine(page, {"FERRETERIA LA PRUEBA S.A.", "Impreso :", "15/03/2024"}))
            << page.toStdString();
        EXPECT_TRUE(onOneLine(page, {"Nit :", "900,123,456", "Pagina :", "1"})) << page.toStdString();
        // Whole lines, blanks aside: pdftotext reads the letter-spaced "B O D E G A S" as one word.
        QStringList compact;
        for (const QString& l : lines)
            compact << QString(l).remove(QLatin1Char(' '));
        for (const QString& header : c.headerLines)
            EXPECT_TRUE(compact.contains(QString(header).remove(QLatin1Char(' '))))
                << header.toStdString() << "\n"
                << page.toStdString();
        EXPECT_TRUE(onOneLine(page, c.columnTitles)) << page.toStdString();
        EXPECT_TRUE(onOneLine(page, {"Total Registros : 0", "Fin de Reporte ***"})) << page.toStdString();
        EXPECT_FALSE(page.contains(QStringLiteral("FUERA"))) << page.toStdString();
    }
}

TEST_F(MasterLists, ListsTheRangeInEachOrder) {
    for (const auto& [code, name, model] :
         std::vector<std::tuple<int, QString, QString>>{{3, "ALAMBRES", "M-100"},
                                                        {1, "TUBERIA", "A-200"},
                                                        {2, "CEMENTOS", "Z-050"},
                                                        {1000, "FUERA", "B"}})
        seed(QStringLiteral("INSERT INTO SUBGRUPOS (SUBGRUPO, NOMBRE, MODELO) VALUES (?, ?, ?)"),
             {code, name, model});
    struct Case {
        const char* order;
        QStringList names;
    } cases[] = {
        {"#", {"TUBERIA", "CEMENTOS", "ALAMBRES"}},
        {"A", {"ALAMBRES", "CEMENTOS", "TUBERIA"}},
        {"M", {"TUBERIA", "ALAMBRES", "CEMENTOS"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.order);
        const QString page = firstPage(QStringLiteral("subgrupos"), {{"ORDEN", c.order}});
        QStringList printed;
        for (const QString& line : trimmedLines(page))
            for (const char* n : {"ALAMBRES", "CEMENTOS", "TUBERIA", "FUERA"})
                if (line.contains(QLatin1String(n))) printed << QString::fromLatin1(n);
        EXPECT_EQ(c.names, printed) << page.toStdString();
        EXPECT_TRUE(trimmedLines(page).contains(QStringLiteral("1 TUBERIA A-200"))) << page.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Total Registros : 3"))) << page.toStdString();
    }
}

TEST_F(MasterLists, ConversionsNameBothUnitsAndTheOperation) {
    seed(QStringLiteral("INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('KG', 'KILOGRAMO')"));
    seed(QStringLiteral("INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('GR', 'GRAMO')"));
    seed(QStringLiteral("INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('CJ', 'CAJA')"));
    const char* insert =
        "INSERT INTO UNIDADCONVERSION (CODIGOUNIDAD, CODIGOUNIDADRECIBIR, CANTIDAD, OPERADOR) "
        "VALUES (?, ?, ?, ?)";
    seed(QString::fromLatin1(insert),
         {QStringLiteral("KG"), QStringLiteral("GR"), 1000.0, QStringLiteral("D")});
    seed(QString::fromLatin1(insert),
         {QStringLiteral("CJ"), QStringLiteral("KG"), 12.5, QStringLiteral("M")});
    // The unit received no longer exists: the line still prints, without its name.
    seed(QString::fromLatin1(insert), {QStringLiteral("CJ"), QStringLiteral("PQ"), 6.0, QStringLiteral("M")});

    const QStringList lines = trimmedLines(firstPage(QStringLiteral("conversiones"), {}));
    EXPECT_TRUE(lines.contains(QStringLiteral("CJ CAJA pasar a KG KILOGRAMO 12.5 Multiplica")))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("CJ CAJA pasar a PQ 6 Multiplica")))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("KG KILOGRAMO pasar a GR GRAMO 1,000 Divide")))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.join('\n').contains(QStringLiteral("Total Registros : 3")));
}

// A range is compared as the text or number it is: a quote in it is a character like any other,
// and the query that runs is the same whatever the clerk typed.
TEST_F(MasterLists, RangeValuesAreBoundNeverWrittenIntoTheQuery) {
    for (const char* code : {"AA", "BB", "CC"})
        seed(QStringLiteral("INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES (?, ?)"),
             {QString::fromLatin1(code), QStringLiteral("GRUPO ") + QString::fromLatin1(code)});
    struct Case {
        QString from, to;
        QStringList codes;
    } cases[] = {
        // Pasted into the query, this would read GRUPO >= 'Z' OR GRUPO <> '' and list every group.
        {"Z' OR GRUPOS.GRUPO <> '", "ZZ", {}},
        // "A'" sorts before "AA", "C'" before "CC".
        {"A'", "C'", {"AA", "BB"}},
        // A bound longer than the two-character code is compared, not cut or refused.
        {"B", "ZZZZZZZZZZ", {"BB", "CC"}},
    };
    const auto definition = lists().find(QStringLiteral("grupos"));
    const QString plainQuery =
        report::DataPass::mainQuery(*definition, report::DataPass::checkParameters(*definition, {}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from.toStdString());
        const QVariantMap range = {{"DESDE", c.from}, {"HASTA", c.to}};
        const auto data = run(QStringLiteral("grupos"), range);
        QStringList codes;
        for (int b = 0; b < int(data->bands().size()); ++b)
            if (data->bands()[size_t(b)].kind == report::BandKind::Detail)
                codes << data->value(b, QStringLiteral("GRUPO")).toString();
        EXPECT_EQ(c.codes, codes);
        EXPECT_EQ(plainQuery, report::DataPass::mainQuery(
                                  *definition, report::DataPass::checkParameters(*definition, range)));
    }
}

TEST_F(MasterLists, RefusesARangeOrOrderTheListCannotTake) {
    struct Case {
        const char* list;
        QVariantMap parameters;
        const char* message;
    } cases[] = {
        {"subgrupos", {{"DESDE", "1'"}}, "El parámetro DESDE debe ser un número entero: 1'"},
        {"bodegas", {{"HASTA", "Z"}}, "El parámetro HASTA debe ser un número entero: Z"},
        {"grupos",
         {{"ORDEN", "M"}},
         "El informe grupos no tiene el orden \"M\"; los órdenes son: A (Nombre), # (Código)"},
        {"cuentas",
         {{"ORDEN", "CUENTAS.OBSERVACION"}},
         "El informe cuentas no tiene el orden \"CUENTAS.OBSERVACION\"; los órdenes son: A (Cuenta Gasto), "
         "# (Cuenta Inventario)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            run(QString::fromLatin1(c.list), c.parameters);
            ADD_FAILURE() << "printed " << c.list;
        } catch (const report::ReportError& e) {
            EXPECT_EQ(QString::fromUtf8(c.message), e.text());
        }
    }
}

} // namespace
