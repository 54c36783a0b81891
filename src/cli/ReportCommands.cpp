// "report": any declared report to PDF, .xlsx, HTML or text; "bench-report": how fast a large grouped
// report renders to PDF and how much memory it takes.

#include "cli/Cli.h"
#include "cli/DatabaseFiles.h"
#include "platform/db/Session.h"
#include "platform/report/DataPass.h"
#include "platform/report/Layouts.h"
#include "platform/report/Output.h"
#include "platform/report/Registry.h"
#include "platform/report/ReportError.h"
#include "platform/report/TextExport.h"
#include "reports/ReportCatalog.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/resource.h>

namespace cli {

namespace {

report::Registry& reports() {
    return reports::catalog();
}

const QString kReportUsage =
    QStringLiteral("--list\n"
                   "       almacen-cli report INFORME BASE (--pdf ARCHIVO | --xlsx ARCHIVO | --html ARCHIVO "
                   "| --txt ARCHIVO|-)\n"
                   "                   [--param NOMBRE=VALOR]... [--print-date AAAA-MM-DD]");

QString typeName(report::Parameter::Type type) {
    switch (type) {
    case report::Parameter::Type::Text:
        return QStringLiteral("texto");
    case report::Parameter::Type::Integer:
        return QStringLiteral("entero");
    case report::Parameter::Type::Number:
        return QStringLiteral("número");
    case report::Parameter::Type::Date:
        return QStringLiteral("fecha dd/mm/aaaa");
    }
    return {};
}

// A default as an administrator can read it: an empty text as "", a character that does not print
// (the highest one, which ends a range that covers every code) by its number.
QString shownDefault(const QVariant& value) {
    if (value.typeId() != QMetaType::QString) return value.toString();
    const QString text = value.toString();
    if (text.isEmpty()) return QStringLiteral("\"\"");
    QString out;
    for (const char32_t c : text.toUcs4())
        out += QChar::isPrint(c) ? QString::fromUcs4(&c, 1)
                                 : QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    return out;
}

int usage(Context& ctx, const QString& message) {
    ctx.err << message << "\nUso: almacen-cli report " << kReportUsage << "\n";
    return kUsage;
}

int list(Context& ctx) {
    for (const QString& name : reports().names()) {
        const auto def = reports().find(name);
        ctx.out << name.leftJustified(16) << " " << def->title << "\n";
        for (const report::Parameter& p : def->parameters) {
            // The order parameter takes one of the report's codes, shown with their captions.
            const bool order = p.name.compare(def->orderParameter, Qt::CaseInsensitive) == 0;
            QStringList codes, captions;
            for (const report::Ordering& o : def->orderings) {
                codes << o.code;
                captions << o.code + QLatin1Char(' ') + o.caption;
            }
            ctx.out << "    --param " << p.name << "=<"
                    << (order ? codes.join(QLatin1Char('|')) : typeName(p.type)) << ">";
            if (!p.description.isEmpty()) ctx.out << "  " << p.description;
            if (order) ctx.out << ": " << captions.join(QStringLiteral(", "));
            if (p.defaultValue.isValid()) ctx.out << " (por omisión " << shownDefault(p.defaultValue) << ")";
            ctx.out << "\n";
        }
    }
    return kOk;
}

int runReport(const Args& args, Context& ctx) {
    if (args.has(QStringLiteral("list"))) {
        if (!args.positional().isEmpty()) return usage(ctx, QStringLiteral("Sobran argumentos."));
        return list(ctx);
    }
    if (args.positional().size() < 2)
        return usage(ctx, args.positional().isEmpty() ? QStringLiteral("Falta el nombre del informe.")
                                                      : QStringLiteral("Falta la base de datos."));
    if (args.positional().size() > 2) return usage(ctx, QStringLiteral("Sobran argumentos."));
    const QString name = args.positional()[0];
    const auto def = reports().find(name);
    if (!def)
        return usage(ctx, QStringLiteral(
                              "Informe desconocido: %1 (\"almacen-cli report --list\" muestra los informes).")
                              .arg(name));

    const std::pair<const char*, report::OutputFormat> outputs[] = {{"pdf", report::OutputFormat::Pdf},
                                                                    {"xlsx", report::OutputFormat::Xlsx},
                                                                    {"html", report::OutputFormat::Html},
                                                                    {"txt", report::OutputFormat::Text}};
    std::optional<report::OutputFormat> format;
    QString path;
    for (const auto& [option, f] : outputs) {
        if (!args.has(QLatin1String(option))) continue;
        if (format) return usage(ctx, QStringLiteral("Indique una sola salida."));
        format = f;
        path = args.value(QLatin1String(option));
    }
    if (!format)
        return usage(ctx, QStringLiteral("Indique la salida: --pdf, --xlsx, --html o --txt ARCHIVO."));
    if (path == QLatin1String("-") && format != report::OutputFormat::Text)
        return usage(ctx, QStringLiteral("Solo la salida --txt puede ir a la pantalla (\"-\")."));

    QVariantMap given;
    for (const QString& p : args.values(QStringLiteral("param"))) {
        const qsizetype eq = p.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return usage(ctx, QStringLiteral("Parámetro mal escrito: %1 (use --param NOMBRE=VALOR).").arg(p));
        given.insert(p.left(eq), p.mid(eq + 1));
    }
    report::DataPass::Options options;
    try {
        options.parameters = report::DataPass::checkParameters(*def, given);
    } catch (const report::ReportError& e) {
        return usage(ctx, e.text());
    }
    if (args.has(QStringLiteral("print-date"))) {
        QString error;
        const QDate date = report::Parameter{QStringLiteral("print-date"), report::Parameter::Type::Date}
                               .parse(args.value(QStringLiteral("print-date")), &error)
                               .toDate();
        if (!date.isValid()) return usage(ctx, error);
        options.printedAt = QDateTime(date, QTime(0, 0));
    }

    auto session = ctx.attachExisting(args.positional()[1], args);
    if (!session) return kFailed;
    try {
        const auto data = report::DataPass::run(def, *session, options);
        if (path == QLatin1String("-")) {
            ctx.out << report::TextExport::toString(*data);
            return kOk;
        }
        const int pages = report::Output::write(*data, *format, path, {});
        ctx.out << "Informe " << name << ": " << data->detailCount()
                << (data->detailCount() == 1 ? " registro" : " registros");
        if (format == report::OutputFormat::Pdf)
            ctx.out << ", " << pages << (pages == 1 ? " página" : " páginas");
        ctx.out << " en " << path << "\n";
        return kOk;
    } catch (const report::ReportError& e) {
        ctx.err << e.text() << "\n";
        return kFailed;
    }
}

// ---- bench-report ----------------------------------------------------------------------------

// Rows made by the database itself, so the benchmark needs no table: two recursive counters give
// row numbers 0..N-1 in order; every 500 rows are one seller, every 5000 one zone.
const char* const kBenchSql =
    "WITH RECURSIVE MILES AS (SELECT 0 AS I FROM RDB$DATABASE UNION ALL SELECT I + 1 FROM MILES WHERE I < "
    ":MILES),"
    " UNIDADES AS (SELECT 0 AS I FROM RDB$DATABASE UNION ALL SELECT I + 1 FROM UNIDADES WHERE I < 999),"
    " FILAS AS (SELECT M.I * 1000 + U.I AS FILA FROM MILES M CROSS JOIN UNIDADES U)"
    " SELECT FILA / 5000 + 1 AS ZONA, FILA / 500 + 1 AS VENDEDOR, FILA + 1 AS FACTURA,"
    " DATEADD(MOD(FILA, 365) DAY TO DATE '2024-01-01') AS FECHA,"
    " 'Cliente ' || MOD(FILA * 7919, 10007) AS CLIENTE, MOD(FILA, 17) + 1 AS CANTIDAD,"
    " CAST(MOD(FILA * 37, 100000) AS DOUBLE PRECISION) / 100 AS VALOR"
    " FROM FILAS WHERE FILA < :FILAS ORDER BY FILA";

report::ReportDefinition benchDefinition() {
    using namespace report;
    ReportDefinition def;
    def.name = QStringLiteral("bench-ventas");
    def.title = QStringLiteral("VENTAS POR ZONA Y VENDEDOR");
    def.parameters = {
        {QStringLiteral("FILAS"), Parameter::Type::Integer, QStringLiteral("filas del informe")},
        {QStringLiteral("MILES"), Parameter::Type::Integer, QStringLiteral("miles de filas")}};
    def.sql = QString::fromLatin1(kBenchSql);
    const double width = def.contentSize().width();
    def.pageHeader = companyPageHeader({def.title}, width);
    const ColumnBands columns = columnBands(
        {
            {QStringLiteral("Factura"), QStringLiteral("FACTURA"), 20, QStringLiteral("###,###."),
             Align::Right},
            {QStringLiteral("Fecha"), QStringLiteral("FECHA"), 22, QStringLiteral("dd mmm yyyy")},
            {QStringLiteral("Cliente"), QStringLiteral("CLIENTE"), 50},
            {QStringLiteral("Cantidad"), QStringLiteral("CANTIDAD"), 20, QStringLiteral("###,###.00"),
             Align::Right},
            {QStringLiteral("Valor"), QStringLiteral("VALOR"), 30, QStringLiteral("###,###.00"),
             Align::Right},
            {QStringLiteral("Acumulado"), QStringLiteral("ACUMULADO"), 34, QStringLiteral("###,###.00"),
             Align::Right},
        },
        width);
    def.columnHeader = columns.header;
    def.detail = columns.detail;
    Group zone{QStringLiteral("zona"), {QStringLiteral("ZONA")}};
    zone.header = {
        6, {text(0, 20, QStringLiteral("Zona :")).strong(), field(20, 20, QStringLiteral("ZONA")).strong()}};
    zone.footer = {
        7,
        {text(60, 50, QStringLiteral("Total Zona")).strong(),
         field(150, 45, QStringLiteral("TOTALZONA"), QStringLiteral("###,###.00")).right().strong()}};
    Group seller{QStringLiteral("vendedor"), {QStringLiteral("ZONA"), QStringLiteral("VENDEDOR")}};
    seller.repeatHeader = true;
    seller.header = {5,
                     {text(5, 20, QStringLiteral("Vendedor :")), field(25, 20, QStringLiteral("VENDEDOR"))}};
    seller.footer = {6,
                     {text(60, 50, QStringLiteral("Total Vendedor")),
                      field(150, 45, QStringLiteral("TOTALVENDEDOR"), QStringLiteral("###,###.00")).right()}};
    def.groups = {zone, seller};
    def.totals = {
        {QStringLiteral("TOTALZONA"), Total::Kind::Sum, QStringLiteral("VALOR"), QStringLiteral("zona")},
        {QStringLiteral("TOTALVENDEDOR"), Total::Kind::Sum, QStringLiteral("VALOR"),
         QStringLiteral("vendedor")},
        {QStringLiteral("ACUMULADO"), Total::Kind::Running, QStringLiteral("VALOR"),
         QStringLiteral("vendedor")},
        {QStringLiteral("REGISTROS"), Total::Kind::Count, {}, {}}};
    def.summary = {8,
                   {text(0, 60, QStringLiteral("Total Registros : ")).strong().at(2),
                    field(35, 20, QStringLiteral("REGISTROS")).strong().at(2)}};
    def.pageFooter = {6, {pageNumber(width - 40, 40, QStringLiteral("Page ")).right().at(1.5)}};
    return def;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

int benchReport(const Args& args, Context& ctx) {
    if (args.positional().size() != 1) {
        ctx.err << "Falta la base de datos.\nUso: almacen-cli bench-report BASE [--rows N] [--pdf ARCHIVO]\n";
        return kUsage;
    }
    QString error;
    const qint64 rows = args.number(QStringLiteral("rows"), 50000, &error);
    if (!error.isEmpty()) {
        ctx.err << error << "\n";
        return kUsage;
    }
    const auto params = ctx.connection(args.positional()[0], args);
    std::unique_ptr<db::Session> session =
        databaseExists(params) ? db::Session::attach(params) : createDatabase(params);

    QTemporaryDir dir;
    const QString pdf = args.value(QStringLiteral("pdf"), dir.filePath(QStringLiteral("bench-report.pdf")));
    auto def = std::make_shared<const report::ReportDefinition>(benchDefinition());
    report::DataPass::Options options;
    options.parameters = {{QStringLiteral("FILAS"), rows},
                          {QStringLiteral("MILES"), (rows + 999) / 1000 - 1}};

    ctx.out << "Informe agrupado en dos niveles (zona, vendedor) de " << rows << " filas\n";
    ctx.out.flush();
    const double before = peakMegabytes();
    QElapsedTimer timer;
    timer.start();
    const auto data = report::DataPass::run(def, *session, options);
    const double readSeconds = timer.nsecsElapsed() / 1e9;
    const double afterRead = peakMegabytes();
    timer.restart();
    const int pages = report::Output::write(*data, report::OutputFormat::Pdf, pdf);
    const double renderSeconds = timer.nsecsElapsed() / 1e9;
    const double afterRender = peakMegabytes();

    ctx.out << "  pasada de datos: " << QString::number(readSeconds, 'f', 2) << " s (" << data->bands().size()
            << " bandas)\n"
            << "  PDF: " << QString::number(renderSeconds, 'f', 2) << " s, " << pages << " páginas, "
            << QString::number(QFileInfo(pdf).size() / 1048576.0, 'f', 1) << " MB ("
            << QString::number(rows / std::max(renderSeconds, 1e-9), 'f', 0) << " filas/s)\n"
            << "  total: " << QString::number(readSeconds + renderSeconds, 'f', 2) << " s\n"
            << "  memoria máxima (ru_maxrss): antes " << QString::number(before, 'f', 0)
            << " MB, tras los datos " << QString::number(afterRead, 'f', 0) << " MB, tras el PDF "
            << QString::number(afterRender, 'f', 0) << " MB\n";
    return kOk;
}

} // namespace

void registerReportCommands() {
    commands()[QStringLiteral("report")] = {
        QStringLiteral("Genera un informe en PDF, Excel (.xlsx), HTML o texto"),
        kReportUsage,
        {QStringLiteral("pdf"), QStringLiteral("xlsx"), QStringLiteral("html"), QStringLiteral("txt"),
         QStringLiteral("param"), QStringLiteral("print-date")},
        {QStringLiteral("list")},
        runReport};
    commands()[QStringLiteral("bench-report")] = {
        QStringLiteral("Mide un informe agrupado grande en PDF: segundos y memoria"),
        QStringLiteral("BASE [--rows N] [--pdf ARCHIVO]"),
        {QStringLiteral("rows"), QStringLiteral("pdf")},
        {},
        benchReport};
}

} // namespace cli
