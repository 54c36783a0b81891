// "bench-data" and "bench": generate a realistic movement history and measure the hot reads on it.

#include "cli/Cli.h"
#include "master/References.h"
#include "movements/EntryTotals.h"
#include "movements/LineBench.h"
#include "cli/DatabaseFiles.h"
#include "demo/BenchData.h"
#include "platform/db/SchemaUpgrader.h"
#include "platform/db/Statement.h"
#include "schema/InventorySchema.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <random>

namespace cli {

namespace {

int benchData(const Args& args, Context& ctx) {
    if (args.positional().size() != 1) {
        ctx.err << "Falta la base de datos.\nUso: almacen-cli bench-data BASE --lines N\n";
        return kUsage;
    }
    QString error;
    demo::BenchOptions o;
    o.lines = args.number(QStringLiteral("lines"), o.lines, &error);
    o.items = int(args.number(QStringLiteral("items"), o.items, &error));
    o.warehouses = int(args.number(QStringLiteral("warehouses"), o.warehouses, &error));
    o.years = int(args.number(QStringLiteral("years"), o.years, &error));
    o.seed = quint32(args.number(QStringLiteral("seed"), o.seed, &error));
    if (!error.isEmpty()) {
        ctx.err << error << "\n";
        return kUsage;
    }
    const auto params = ctx.connection(args.positional()[0], args);
    std::unique_ptr<db::Session> session;
    if (databaseExists(params)) {
        session = db::Session::attach(params);
        schema::inventoryUpgrader().upgrade(*session);
    } else {
        session = createDatabase(params);
    }
    ctx.out << "Generando " << o.lines << " líneas sobre " << o.items << " productos, " << o.warehouses
            << " bodegas y " << o.years << " años...\n";
    ctx.out.flush();
    qint64 lastShown = 0;
    const auto result = demo::BenchData::generate(*session, o, [&](qint64 done, qint64 total) {
        if (done == total || done - lastShown >= total / 10) {
            lastShown = done;
            ctx.out << "  " << done << " / " << total << " líneas (" << (100 * done / std::max<qint64>(total, 1))
                    << "%)\n";
            ctx.out.flush();
        }
    });
    ctx.out << "Generadas " << result.lines << " líneas en " << result.documents << " documentos en "
            << QString::number(result.seconds, 'f', 1) << " s: "
            << QString::number(result.lines / std::max(result.seconds, 1e-9), 'f', 0) << " líneas/s\n";
    if (args.has(QStringLiteral("compare-raw"))) {
        ctx.out << "Comparando con un ciclo de inserciones preparadas de " << o.lines << " filas...\n";
        ctx.out.flush();
        const double raw = demo::BenchData::rawInsertRate(*session, o.lines);
        ctx.out << "Inserción directa: " << QString::number(raw, 'f', 0) << " filas/s\n";
    }
    return kOk;
}

struct Timing {
    double median = 0;
    double worst = 0;
};

// Runs every input once to warm the page cache and the statement, then times each input once more.
Timing measure(size_t inputs, const std::function<void(size_t)>& once) {
    for (size_t i = 0; i < inputs; ++i) once(i);
    std::vector<double> ms;
    for (size_t i = 0; i < inputs; ++i) {
        QElapsedTimer t;
        t.start();
        once(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

Timing measure(db::Statement& st, const std::vector<db::Params>& inputs) {
    return measure(inputs.size(), [&](size_t i) {
        st.bind(inputs[i]);
        st.execute();
        while (st.next()) {
        }
    });
}

int bench(const Args& args, Context& ctx) {
    if (args.positional().size() != 1) {
        ctx.err << "Falta la base de datos.\nUso: almacen-cli bench BASE [--repeat N]\n";
        return kUsage;
    }
    QString error;
    const int repeat = int(args.number(QStringLiteral("repeat"), 20, &error));
    if (!error.isEmpty()) {
        ctx.err << error << "\n";
        return kUsage;
    }
    auto s = ctx.attachExisting(args.positional()[0], args);
    if (!s) return kFailed;
    const qint64 lines = s->scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIMIENTODETALLE")).toLongLong();
    const auto items = s->all(QStringLiteral("SELECT PRODUCTO FROM PRODUCTOS"));
    const auto warehouses = s->all(QStringLiteral("SELECT BODEGA FROM BODEGAS"));
    const QString empresa = s->scalar(QStringLiteral("SELECT MIN(EMPRESA) FROM EMPRESAS")).toString();
    if (items.empty() || warehouses.empty() || empresa.isEmpty()) {
        ctx.err << "La base de datos no tiene productos, bodegas o empresas que medir.\n";
        return kFailed;
    }
    std::mt19937 rng(7);
    std::vector<db::Params> stock, cost;
    std::vector<std::pair<int, QDateTime>> costInputs;
    const QDate today = QDate::currentDate();
    for (int i = 0; i < repeat; ++i) {
        const QVariant item = items[rng() % items.size()].at(0);
        stock.push_back({empresa, item, warehouses[rng() % warehouses.size()].at(0)});
        const QDate day = today.addDays(-int(rng() % 700));
        cost.push_back({{"EMPRESA", empresa}, {"FECHA", day}, {"PRODUCTO", item}});
        costInputs.emplace_back(item.toInt(), QDateTime(day, QTime(0, 0)));
    }
    db::Statement stockSt(*s, QStringLiteral("SELECT SALDO FROM SALDOSBODEGA WHERE EMPRESA=? AND PRODUCTO=? AND BODEGA=?"));
    db::Statement costSt(
        *s, QStringLiteral("SELECT (SUM(Movimientogeneral.CANTIDAD))SALDO, (SUM(Movimientogeneral.SUBTOTAL))VALOR "
                           "FROM MOVIMIENTOGENERALBODEGA Movimientogeneral WHERE Movimientogeneral.EMPRESA = :EMPRESA "
                           "AND Movimientogeneral.FECHA <:FECHA AND Movimientogeneral.PRODUCTO = :PRODUCTO AND "
                           "Movimientogeneral.CANTIDAD >0"));
    const Timing a = measure(stockSt, stock);
    const Timing b = measure(costSt, cost);
    // The same figure as the line rules read it, from the entry totals.
    movements::EntryTotals totals(*s);
    const Timing c = measure(costInputs.size(), [&](size_t i) {
        totals.before(empresa, costInputs[i].first, costInputs[i].second);
    });
    ctx.out << "Base con " << lines << " líneas, " << items.size() << " productos; " << repeat
            << " consultas en caliente por medida:\n"
            << "  saldo por bodega (SALDOSBODEGA):     mediana " << QString::number(a.median, 'f', 2)
            << " ms, peor " << QString::number(a.worst, 'f', 2) << " ms\n"
            << "  costo antes de fecha (líneas):       mediana " << QString::number(b.median, 'f', 2)
            << " ms, peor " << QString::number(b.worst, 'f', 2) << " ms\n"
            << "  costo antes de fecha (totales):      mediana "
            << QString::number(c.median, 'f', 2) << " ms, peor " << QString::number(c.worst, 'f', 2) << " ms\n";

    // The check before a master row is deleted, with a key nothing uses: the worst case, as every
    // using table is read to the end.
    ctx.out << "Comprobación antes de borrar un registro maestro sin uso:\n";
    const std::pair<const char*, QVariant> unused[] = {{"BODEGAS", 9999},
                                                       {"DOCUMENTOS", QStringLiteral("ZZZZZ")},
                                                       {"CENTROCOSTOS", QStringLiteral("ZZZZZZ")},
                                                       {"UNIDADES", QStringLiteral("ZZ")},
                                                       {"GRUPOS", QStringLiteral("ZZ")}};
    for (const auto& [table, key] : unused) {
        QElapsedTimer t;
        t.start();
        master::whyInUse(*s, QString::fromLatin1(table), key);
        ctx.out << "  " << QString::fromLatin1(table).leftJustified(14) << QString::number(t.nsecsElapsed() / 1e6, 'f', 1)
                << " ms\n";
    }
    return kOk;
}

int benchLines(const Args& args, Context& ctx) {
    if (args.positional().size() != 1) {
        ctx.err << "Falta la base de datos.\nUso: almacen-cli bench-lines BASE [--lines N] [--per-document N]\n";
        return kUsage;
    }
    QString error;
    movements::LineBenchOptions options;
    options.lines = int(args.number(QStringLiteral("lines"), 10000, &error));
    if (error.isEmpty()) options.linesPerDocument = int(args.number(QStringLiteral("per-document"), 20, &error));
    if (!error.isEmpty() || options.lines <= 0 || options.linesPerDocument <= 0) {
        ctx.err << (error.isEmpty() ? QStringLiteral("Las cantidades deben ser mayores que cero") : error) << "\n";
        return kUsage;
    }
    auto s = ctx.attachExisting(args.positional()[0], args);
    if (!s) return kFailed;
    const qint64 history = s->scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIMIENTODETALLE")).toLongLong();
    movements::LineBenchResult r;
    try {
        r = movements::benchPostLines(*s, options, [&](int done, int total) {
            if (done % 2000 == 0) ctx.out << "  " << done << " / " << total << " líneas\n";
        });
    } catch (const std::invalid_argument& e) {
        ctx.err << QString::fromUtf8(e.what()) << "\n";
        return kFailed;
    }
    ctx.out << "Historial de " << history << " líneas; " << r.posted + r.refused << " líneas en " << r.documents
            << " documentos por las reglas de línea (" << r.refused << " rechazadas por saldo) en "
            << QString::number(r.seconds, 'f', 1) << " s: " << QString::number(r.linesPerSecond(), 'f', 0)
            << " líneas/s\n"
            << "  por línea: mediana " << QString::number(r.medianMs, 'f', 2) << " ms, percentil 95 "
            << QString::number(r.p95Ms, 'f', 2) << " ms, peor " << QString::number(r.worstMs, 'f', 2) << " ms\n"
            << "Las mismas " << r.rawLines << " líneas insertadas sin reglas, una transacción por línea, en "
            << QString::number(r.rawSeconds, 'f', 1) << " s: " << QString::number(r.rawLinesPerSecond(), 'f', 0)
            << " líneas/s (mediana " << QString::number(r.rawMedianMs, 'f', 2) << " ms, percentil 95 "
            << QString::number(r.rawP95Ms, 'f', 2) << " ms)\n";
    return kOk;
}

} // namespace

void registerBenchCommands() {
    commands()[QStringLiteral("bench-data")] = {
        QStringLiteral("Genera un historial de movimientos para medir (crea la base si no existe)"),
        QStringLiteral("BASE --lines N [--items N] [--warehouses N] [--years N] [--seed N] [--compare-raw]"),
        {QStringLiteral("lines"), QStringLiteral("items"), QStringLiteral("warehouses"), QStringLiteral("years"),
         QStringLiteral("seed")},
        {QStringLiteral("compare-raw")},
        benchData};
    commands()[QStringLiteral("bench-lines")] = {
        QStringLiteral("Mide el registro de líneas por las reglas de línea (escribe documentos de prueba)"),
        QStringLiteral("BASE [--lines N] [--per-document N]"),
        {QStringLiteral("lines"), QStringLiteral("per-document")},
        {},
        benchLines};
    commands()[QStringLiteral("bench")] = {
        QStringLiteral("Mide las consultas de saldo y costo por producto sobre una base existente"),
        QStringLiteral("BASE [--repeat N]"),
        {QStringLiteral("repeat")},
        {},
        bench};
}

} // namespace cli
