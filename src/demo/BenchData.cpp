#include "demo/BenchData.h"

#include "demo/DemoRandom.h"
#include "platform/db/Statement.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace demo {

namespace {

using db::Params;

constexpr int kGroups = 10;
constexpr int kSubGroups = 50;
constexpr int kThirdParties = 300;
constexpr double kFirstNit = 860100000;

QString companyCode(int i) {
    return QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

struct BenchType {
    const char* code;
    const char* name;
    const char* op;
    const char* kind;
    int weight; // share among the types of its direction
};

// Entries first, then issues; each direction picks a type by weight.
const BenchType kEntryTypes[] = {
    {"EA", "ENTRADA DE ALMACEN", "S", "C", 50},
    {"FC", "FACTURA DE COMPRA", "S", "C", 40},
    {"NC", "NOTA CREDITO EN VENTAS", "S", "R", 7},
    {"AS", "AJUSTE SOBRANTE DE INVENTARIO", "S", "I", 3},
};
const BenchType kIssueTypes[] = {
    {"FV", "FACTURA DE VENTA", "R", "V", 70},
    {"SA", "SALIDA DE ALMACEN", "R", "I", 25},
    {"AF", "AJUSTE FALTANTE DE INVENTARIO", "R", "I", 5},
};

template <size_t N> const BenchType& pickType(DemoRandom& rng, const BenchType (&types)[N]) {
    int total = 0;
    for (const auto& t : types)
        total += t.weight;
    int r = rng.below(total);
    for (const auto& t : types) {
        if (r < t.weight) return t;
        r -= t.weight;
    }
    return types[0];
}

struct BenchItem {
    QString unit;
    double cost = 0;
    double price = 0;
    int vat = 0;
};

// Items a warehouse of a company holds at least one unit of, for picking an issue in constant time.
class StockedItems {
public:
    explicit StockedItems(int items) : position_(size_t(items), -1), stock_(size_t(items), 0) {}

    bool empty() const { return held_.empty(); }
    int pick(DemoRandom& rng) const { return held_[size_t(rng.below(int(held_.size())))]; }
    double stock(int item) const { return stock_[size_t(item)]; }

    void add(int item, double quantity) {
        double& s = stock_[size_t(item)];
        s += quantity;
        int& pos = position_[size_t(item)];
        if (s >= 1 && pos < 0) {
            pos = int(held_.size());
            held_.push_back(item);
        } else if (s < 1 && pos >= 0) {
            const int last = held_.back();
            held_[size_t(pos)] = last;
            position_[size_t(last)] = pos;
            held_.pop_back();
            pos = -1;
        }
    }

private:
    std::vector<int> held_;
    std::vector<int> position_;
    std::vector<double> stock_;
};

void validate(const BenchOptions& o) {
    if (o.lines < 0 || o.items < 1 || o.items > 99999 || o.warehouses < 1 || o.companies < 1 ||
        o.companies > 99 || o.years < 1 || o.linesPerDocument < 1)
        throw std::invalid_argument("opciones de generacion fuera de rango");
}

// Master rows the history refers to, inserted only where missing. Returns the items, 0-based.
std::vector<BenchItem> ensureMasters(db::Session& s, const BenchOptions& o, DemoRandom& rng,
                                     BenchResult& result, QHash<QString, QString>& operators) {
    db::Transaction tr(s);
    const QDate today = QDate::currentDate();
    for (int c = 0; c < o.companies; ++c)
        if (!s.first(QStringLiteral("SELECT 1 FROM EMPRESAS WHERE EMPRESA = ?"), {companyCode(c)}))
            s.execute(
                QStringLiteral("INSERT INTO EMPRESAS (EMPRESA, NOMBRE, NIT, CIUDAD, FECHACORTE, IVA, "
                               "EMPRESACONTABILIZA, VIGENCIA) VALUES (?, ?, ?, 'BOGOTA D.C.', ?, 19, ?, ?)"),
                Params{companyCode(c), QStringLiteral("EMPRESA DE PRUEBA %1").arg(companyCode(c)),
                       QString::number(900200000 + c), QDateTime(today, QTime(0, 0)), companyCode(c),
                       today.year()});
    for (int w = 1; w <= o.warehouses; ++w)
        if (!s.first(QStringLiteral("SELECT 1 FROM BODEGAS WHERE BODEGA = ?"), {w}))
            s.execute(QStringLiteral("INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (?, ?)"),
                      {w, QStringLiteral("BODEGA DE PRUEBA %1").arg(w)});
    for (int g = 1; g <= kGroups; ++g) {
        const QString code = QStringLiteral("%1").arg(g, 2, 10, QLatin1Char('0'));
        if (!s.first(QStringLiteral("SELECT 1 FROM GRUPOS WHERE GRUPO = ?"), {code}))
            s.execute(QStringLiteral("INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES (?, ?)"),
                      {code, QStringLiteral("GRUPO DE PRUEBA %1").arg(code)});
    }
    for (int sg = 1; sg <= kSubGroups; ++sg)
        if (!s.first(QStringLiteral("SELECT 1 FROM SUBGRUPOS WHERE SUBGRUPO = ?"), {sg}))
            s.execute(QStringLiteral("INSERT INTO SUBGRUPOS (SUBGRUPO, NOMBRE) VALUES (?, ?)"),
                      {sg, QStringLiteral("SUBGRUPO DE PRUEBA %1").arg(sg)});
    if (!s.first(QStringLiteral("SELECT 1 FROM UNIDADES WHERE UNIDAD = 'UN'")))
        s.execute(QStringLiteral("INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('UN', 'UNIDAD')"));

    // A type that exists keeps its own OPERADOR, and the quantities follow it.
    auto ensureType = [&](const BenchType& t) {
        const auto row =
            s.first(QStringLiteral("SELECT OPERADOR FROM DOCUMENTOS WHERE DOCUMENTO = ?"), {t.code});
        if (row) {
            operators.insert(QString::fromLatin1(t.code), row->text(QStringLiteral("OPERADOR")));
            return;
        }
        s.execute(QStringLiteral(
                      "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, CODIGODOCUMENTO, CONSECUTIVO, OPERADOR, "
                      "ENTRA, CENTROCOSTOS, ORDENCOMPRA, CONTROLACCOSTOS, CONTROLASALDO, CONTROLSALDO, "
                      "SUBPRODUCTO, CONTROLAPROVEEDOR, CUENTAS, MONEDA, INFORME, PREFIJO) "
                      "VALUES (?, ?, ?, 0, ?, ?, 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'COP', 2, ?)"),
                  Params{t.code, t.name, t.code, t.op, t.kind, t.code});
        operators.insert(QString::fromLatin1(t.code), QString::fromLatin1(t.op));
    };
    for (const auto& t : kEntryTypes)
        ensureType(t);
    for (const auto& t : kIssueTypes)
        ensureType(t);

    std::vector<BenchItem> items(size_t(o.items));
    QSet<int> existing;
    {
        db::Statement read(
            s, QStringLiteral("SELECT PRODUCTO, UNIDAD, VALORIVA FROM PRODUCTOS WHERE PRODUCTO <= ?"));
        read.bind(0, o.items);
        read.execute();
        while (read.next()) {
            const int n = read.value(0).toInt();
            existing.insert(n);
            items[size_t(n - 1)].unit = read.value(1).toString();
            items[size_t(n - 1)].vat = read.value(2).toInt();
        }
    }
    db::Statement insertItem(
        s,
        QStringLiteral("INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, NOMBRE, UNIDAD, UNIDADS, "
                       "UNIDADALMACEN, VALORUNIDAD, VALORPROMEDIO, VALORIVA, PRECIOCOMPRA, PRECIOMASIVA) "
                       "VALUES (?, ?, ?, ?, ?, 'UN', 'UN', 'UN', ?, ?, ?, ?, 'N')"));
    for (int n = 1; n <= o.items; ++n) {
        BenchItem& it = items[size_t(n - 1)];
        it.cost = std::nearbyint((500 + rng.below(200000)) / 10.0) * 10;
        it.price = std::nearbyint(it.cost * 1.3 / 10) * 10;
        if (existing.contains(n)) continue;
        it.unit = QStringLiteral("UN");
        it.vat = rng.chance(0.9) ? 19 : 0;
        const int subGroup = 1 + (n - 1) % kSubGroups;
        const QString group = QStringLiteral("%1").arg(1 + (subGroup - 1) % kGroups, 2, 10, QLatin1Char('0'));
        insertItem.bind(Params{QStringLiteral("%1-%2-%3").arg(group).arg(subGroup).arg(n), group, subGroup, n,
                               QStringLiteral("ARTICULO DE PRUEBA %1").arg(n, 5, 10, QLatin1Char('0')),
                               it.price, it.cost, it.vat, it.cost});
        insertItem.execute();
        ++result.itemsCreated;
    }

    db::Statement insertParty(
        s, QStringLiteral("INSERT INTO PROVEEDORES (NIT, TIPOTERCERO, CLASETERCERO, NOMBRE, "
                          "CIUDAD, PAIS) VALUES (?, 'C', ?, ?, 'BOGOTA D.C.', 'COLOMBIA')"));
    for (int i = 0; i < kThirdParties; ++i) {
        const double nit = kFirstNit + i;
        if (s.first(QStringLiteral("SELECT 1 FROM PROVEEDORES WHERE NIT = ?"), {nit})) continue;
        const bool supplier = i < kThirdParties / 3;
        insertParty.bind(
            Params{nit, supplier ? "P" : "C",
                   QStringLiteral("%1 DE PRUEBA %2").arg(supplier ? "PROVEEDOR" : "CLIENTE").arg(i + 1)});
        insertParty.execute();
        ++result.thirdPartiesCreated;
    }
    tr.commit();
    return items;
}

} // namespace

BenchResult BenchData::generate(db::Session& session, const BenchOptions& options,
                                const std::function<void(qint64, qint64)>& progress) {
    validate(options);
    QElapsedTimer clock;
    clock.start();
    BenchResult result;
    DemoRandom rng(options.seed);
    QHash<QString, QString> operators;
    const std::vector<BenchItem> items = ensureMasters(session, options, rng, result, operators);

    // Documents are numbered after the highest already stored for their company and type.
    QHash<QString, int> lastNumber;
    for (const db::Row& r : session.all(QStringLiteral(
             "SELECT EMPRESA, DOCUMENTO, MAX(CONSECUTIVO) FROM MOVIMIENTO GROUP BY EMPRESA, DOCUMENTO")))
        lastNumber.insert(r.at(0).toString() + QLatin1Char('/') + r.at(1).toString(), r.at(2).toInt());

    // Each run issues only what it has itself received earlier in its own timeline, so its balances
    // never go below zero at any date, and neither do they added to those of earlier runs or of the
    // demonstration documents.
    std::vector<StockedItems> stocked;
    for (int i = 0; i < options.companies * options.warehouses; ++i)
        stocked.emplace_back(options.items);

    const QDate today = QDate::currentDate();
    const QDate first = today.addYears(-options.years).addDays(1);
    const qint64 days = first.daysTo(today) + 1;
    std::vector<QString> companies;
    for (int c = 0; c < options.companies; ++c)
        companies.push_back(companyCode(c));

    db::Statement header(session,
                         QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, "
                                        "FECHA, CLIENTE, FACTURA, STATUS, SUBTOTAL, DESCUENTO, IVA, NETO, "
                                        "MONEDA, TASA, FECHAFACTURA) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, 'C', ?, 0, ?, ?, 'COP', 1, ?)"));
    db::Statement line(
        session, QStringLiteral("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, "
                                "PRODUCTO, CANTIDAD, PRECIOUNIDAD, VALORDESCUENTO, IVA, VALORIVA, "
                                "SUBTOTAL, BODEGA, DESCUENTO, UNIDADMOVIMIENTO, CANTIDADRECIBIDA, "
                                "COSTO) VALUES (?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, 0, ?, ?, ?)"));

    struct PendingLine {
        int item;
        double quantity, price, vatValue, subtotal;
    };
    std::vector<PendingLine> pending;
    auto tr = std::make_unique<db::Transaction>(session);
    qint64 done = 0;
    qint64 sinceCommit = 0;
    const int spread = 2 * options.linesPerDocument - 1;

    while (done < options.lines) {
        const double share = double(done) / double(options.lines);
        const QDateTime date(first.addDays(qint64(share * double(days))), QTime(0, 0));
        const int company = rng.below(options.companies);
        const int warehouse = 1 + rng.below(options.warehouses);
        StockedItems& stock = stocked[size_t(company * options.warehouses + warehouse - 1)];
        // Mostly entries at first, a mix later; an empty warehouse can only receive.
        const bool entry = stock.empty() || rng.chance(0.85 - 0.4 * share);
        const BenchType& type = entry ? pickType(rng, kEntryTypes) : pickType(rng, kIssueTypes);
        const QString code = QString::fromLatin1(type.code);
        const QString op = operators.value(code);
        const double sign = op == QLatin1String("R") ? -1 : op == QLatin1String("S") ? 1 : 0;
        const int wanted = int(std::min<qint64>(options.lines - done, 1 + rng.below(spread)));

        pending.clear();
        for (int i = 0; i < wanted; ++i) {
            int item;
            double quantity;
            if (sign >= 0) {
                item = rng.below(options.items);
                quantity = 1 + rng.below(50);
            } else {
                if (stock.empty()) break;
                item = stock.pick(rng);
                quantity = std::min(std::floor(stock.stock(item)), double(1 + rng.below(20)));
            }
            const BenchItem& it = items[size_t(item)];
            const double price = entry ? it.cost : it.price;
            const double subtotal = price * quantity;
            const double vatValue = std::nearbyint(subtotal * it.vat / 100.0);
            stock.add(item, sign * quantity);
            pending.push_back({item, sign * quantity, price, vatValue, subtotal});
        }
        if (pending.empty()) continue;

        double subtotal = 0, vat = 0;
        for (const PendingLine& l : pending) {
            subtotal += l.subtotal;
            vat += l.vatValue;
        }
        const int number = ++lastNumber[companies[size_t(company)] + QLatin1Char('/') + code];
        const double nit = kFirstNit + (entry ? rng.below(kThirdParties / 3)
                                              : kThirdParties / 3 + rng.below(kThirdParties * 2 / 3));
        header.bind(0, companies[size_t(company)]);
        header.bind(1, code);
        header.bind(2, number);
        header.bind(3, warehouse);
        header.bind(4, date);
        header.bind(5, nit);
        header.bind(6, number);
        header.bind(7, subtotal);
        header.bind(8, vat);
        header.bind(9, subtotal + vat);
        header.bind(10, date);
        header.execute();

        line.bind(0, companies[size_t(company)]);
        line.bind(1, code);
        line.bind(2, number);
        line.bind(10, warehouse);
        for (size_t i = 0; i < pending.size(); ++i) {
            const PendingLine& l = pending[i];
            const BenchItem& it = items[size_t(l.item)];
            line.bind(3, int(i) + 1);
            line.bind(4, l.item + 1);
            line.bind(5, l.quantity);
            line.bind(6, l.price);
            line.bind(7, it.vat);
            line.bind(8, l.vatValue);
            line.bind(9, l.subtotal);
            line.bind(11, it.unit);
            line.bind(12, l.quantity);
            line.bind(13, it.cost);
            line.execute();
        }
        done += qint64(pending.size());
        sinceCommit += qint64(pending.size()) + 1;
        ++result.documents;

        if (sinceCommit >= kRowsPerTransaction || done == options.lines) {
            tr->commit();
            sinceCommit = 0;
            if (progress) progress(done, options.lines);
            if (done < options.lines) tr = std::make_unique<db::Transaction>(session);
        }
    }
    if (tr->active()) tr->commit();
    result.lines = done;
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    return result;
}

double BenchData::rawInsertRate(db::Session& session, qint64 rows) {
    if (rows <= 0) throw std::invalid_argument("rows must be positive");
    const QString table = QStringLiteral("BENCH_INSERCION_PLANA");
    if (session.first(QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = ?"), {table}))
        session.execute(QStringLiteral("DROP TABLE BENCH_INSERCION_PLANA"));
    session.execute(
        QStringLiteral("CREATE TABLE BENCH_INSERCION_PLANA (EMPRESA CHAR(5), DOCUMENTO CHAR(5), "
                       "CONSECUTIVO INTEGER, LINEA INTEGER, PRODUCTO INTEGER, CANTIDAD DOUBLE PRECISION, "
                       "PRECIOUNIDAD DOUBLE PRECISION, IVA DOUBLE PRECISION, VALORIVA DOUBLE PRECISION, "
                       "SUBTOTAL DOUBLE PRECISION, BODEGA INTEGER, UNIDADMOVIMIENTO CHAR(2), "
                       "CANTIDADRECIBIDA DOUBLE PRECISION, COSTO DOUBLE PRECISION)"));
    double rate = 0;
    {
        db::Statement insert(session, QStringLiteral("INSERT INTO BENCH_INSERCION_PLANA VALUES "
                                                     "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const QString company = QStringLiteral("01"), code = QStringLiteral("EA"),
                      unit = QStringLiteral("UN");
        QElapsedTimer clock;
        clock.start();
        auto tr = std::make_unique<db::Transaction>(session);
        for (qint64 i = 0; i < rows; ++i) {
            insert.bind(0, company);
            insert.bind(1, code);
            insert.bind(2, int(i / 10 + 1));
            insert.bind(3, int(i % 10 + 1));
            insert.bind(4, int(i % 3000 + 1));
            insert.bind(5, double(i % 50 + 1));
            insert.bind(6, 1250.0);
            insert.bind(7, 19);
            insert.bind(8, 237.5);
            insert.bind(9, 1250.0);
            insert.bind(10, int(i % 5 + 1));
            insert.bind(11, unit);
            insert.bind(12, double(i % 50 + 1));
            insert.bind(13, 1000.0);
            insert.execute();
            if ((i + 1) % kRowsPerTransaction == 0) {
                tr->commit();
                tr = std::make_unique<db::Transaction>(session);
            }
        }
        tr->commit();
        rate = double(rows) / (double(clock.nsecsElapsed()) / 1e9);
    }
    session.execute(QStringLiteral("DROP TABLE BENCH_INSERCION_PLANA"));
    return rate;
}

} // namespace demo
