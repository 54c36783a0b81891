#include "DocumentChecks.h"

#include "platform/db/Statement.h"

#include <QDate>
#include <QDateTime>
#include <cmath>
#include <map>
#include <tuple>

namespace test {

namespace {

QString key(const db::Row& r) {
    return QStringLiteral("%1/%2/%3").arg(r.text("EMPRESA"), r.text("DOCUMENTO"), r.text("CONSECUTIVO"));
}

bool differ(double a, double b) {
    return std::abs(a - b) > 0.005;
}

} // namespace

QStringList documentTotalFaults(db::Session& s) {
    QStringList faults;
    db::Statement st(
        s, QStringLiteral(
               "SELECT M.EMPRESA, M.DOCUMENTO, M.CONSECUTIVO, M.SUBTOTAL, M.DESCUENTO, M.IVA, M.NETO, "
               "SUM(D.SUBTOTAL) LS, SUM(D.VALORDESCUENTO) LD, SUM(D.VALORIVA) LI, COUNT(D.LINEA) N, "
               "MIN(D.LINEA) FIRSTLINE, MAX(D.LINEA) LASTLINE "
               "FROM MOVIMIENTO M LEFT JOIN MOVIMIENTODETALLE D ON D.EMPRESA = M.EMPRESA "
               "AND D.DOCUMENTO = M.DOCUMENTO AND D.CONSECUTIVO = M.CONSECUTIVO "
               "GROUP BY M.EMPRESA, M.DOCUMENTO, M.CONSECUTIVO, M.SUBTOTAL, M.DESCUENTO, M.IVA, M.NETO"));
    st.execute();
    while (st.next()) {
        const db::Row& r = st.row();
        const int n = r.integer("N");
        if (n == 0) {
            faults << key(r) + QStringLiteral(" has no lines");
            continue;
        }
        if (r.integer("FIRSTLINE") != 1 || r.integer("LASTLINE") != n)
            faults << key(r) + QStringLiteral(" lines are not numbered 1..%1").arg(n);
        if (differ(r.number("SUBTOTAL"), r.number("LS")) || differ(r.number("DESCUENTO"), r.number("LD")) ||
            differ(r.number("IVA"), r.number("LI")))
            faults << key(r) + QStringLiteral(" totals %1/%2/%3, lines %4/%5/%6")
                                   .arg(r.number("SUBTOTAL"))
                                   .arg(r.number("DESCUENTO"))
                                   .arg(r.number("IVA"))
                                   .arg(r.number("LS"))
                                   .arg(r.number("LD"))
                                   .arg(r.number("LI"));
        if (differ(r.number("NETO"), r.number("SUBTOTAL") + r.number("IVA") - r.number("DESCUENTO")))
            faults << key(r) + QStringLiteral(" NETO %1").arg(r.number("NETO"));
    }
    const int orphans =
        s.scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIMIENTODETALLE D WHERE NOT EXISTS (SELECT 1 "
                                "FROM MOVIMIENTO M WHERE M.EMPRESA = D.EMPRESA AND M.DOCUMENTO = "
                                "D.DOCUMENTO AND M.CONSECUTIVO = D.CONSECUTIVO)"))
            .toInt();
    if (orphans) faults << QStringLiteral("%1 lines without a header").arg(orphans);
    return faults;
}

QStringList documentLineFaults(db::Session& s) {
    QStringList faults;
    for (const db::Row& r : s.all(QStringLiteral(
             "SELECT D.EMPRESA, D.DOCUMENTO, D.CONSECUTIVO, D.LINEA, D.BODEGA, M.BODEGA HB, "
             "D.CANTIDAD, D.SUBTOTAL, D.VALORIVA, D.VALORDESCUENTO, T.OPERADOR "
             "FROM MOVIMIENTODETALLE D JOIN MOVIMIENTO M ON M.EMPRESA = D.EMPRESA "
             "AND M.DOCUMENTO = D.DOCUMENTO AND M.CONSECUTIVO = D.CONSECUTIVO "
             "LEFT JOIN DOCUMENTOS T ON T.DOCUMENTO = D.DOCUMENTO "
             "WHERE D.BODEGA IS DISTINCT FROM M.BODEGA OR D.SUBTOTAL < 0 OR D.VALORIVA < 0 "
             "OR D.VALORDESCUENTO < 0 OR T.OPERADOR IS NULL "
             "OR (T.OPERADOR = 'S' AND D.CANTIDAD <= 0) OR (T.OPERADOR = 'R' AND D.CANTIDAD >= 0) "
             "OR (T.OPERADOR = 'N' AND D.CANTIDAD <> 0)")))
        faults << key(r) +
                      QStringLiteral(" line %1: warehouse %2 of %3, quantity %4 under %5, values %6/%7/%8")
                          .arg(r.text("LINEA"), r.text("BODEGA"), r.text("HB"), r.text("CANTIDAD"),
                               r.text("OPERADOR"), r.text("SUBTOTAL"), r.text("VALORIVA"),
                               r.text("VALORDESCUENTO"));
    return faults;
}

QStringList negativeBalanceFaults(db::Session& s) {
    QStringList faults;
    db::Statement st(s, QStringLiteral("SELECT D.EMPRESA, D.PRODUCTO, D.BODEGA, M.FECHA, SUM(D.CANTIDAD) "
                                       "FROM MOVIMIENTODETALLE D JOIN MOVIMIENTO M ON M.EMPRESA = D.EMPRESA "
                                       "AND M.DOCUMENTO = D.DOCUMENTO AND M.CONSECUTIVO = D.CONSECUTIVO "
                                       "GROUP BY D.EMPRESA, D.PRODUCTO, D.BODEGA, M.FECHA "
                                       "ORDER BY D.EMPRESA, D.PRODUCTO, D.BODEGA, M.FECHA"));
    st.execute();
    std::tuple<QString, int, int> current;
    double balance = 0;
    while (st.next()) {
        const std::tuple<QString, int, int> k{st.value(0).toString(), st.value(1).toInt(),
                                              st.value(2).toInt()};
        if (k != current) {
            current = k;
            balance = 0;
        }
        balance += st.value(4).toDouble();
        if (balance < -1e-9)
            faults << QStringLiteral("company %1 item %2 warehouse %3 holds %4 on %5")
                          .arg(std::get<0>(k))
                          .arg(std::get<1>(k))
                          .arg(std::get<2>(k))
                          .arg(balance)
                          .arg(st.value(3).toDate().toString(Qt::ISODate));
    }
    return faults;
}

QStringList entryTotalFaults(db::Session& s) {
    // Both sides read whole and compared here: the engine would join the grouped lines row by row.
    using Bucket = std::tuple<QString, int, QString, QDateTime>;
    const auto read = [&](const QString& sql) {
        std::map<Bucket, std::pair<double, double>> out;
        db::Statement st(s, sql);
        st.execute();
        while (st.next())
            out[{st.value(0).toString(), st.value(1).toInt(), st.value(2).toString(), st.value(3).toDateTime()}] = {
                st.value(4).toDouble(), st.value(5).toDouble()};
        return out;
    };
    const auto kept = read(QStringLiteral("SELECT EMPRESA, PRODUCTO, PERIODO, FECHA, CANTIDAD, VALOR FROM ENTRADASPRODUCTO"));
    // The entry lines with a dated header, summed into the same buckets the totals keep.
    const auto lines = read(QStringLiteral(
        "SELECT D.EMPRESA, D.PRODUCTO, P.PERIODO, ENTRADASPRODUCTO_DESDE(P.PERIODO, M.FECHA), "
        "       SUM(D.CANTIDAD), SUM(COALESCE(D.SUBTOTAL, 0)) "
        "  FROM MOVIMIENTODETALLE D JOIN MOVIMIENTO M ON M.EMPRESA = D.EMPRESA "
        "   AND M.DOCUMENTO = D.DOCUMENTO AND M.CONSECUTIVO = D.CONSECUTIVO "
        " CROSS JOIN (SELECT 'A' PERIODO FROM RDB$DATABASE UNION ALL SELECT 'M' FROM RDB$DATABASE "
        "             UNION ALL SELECT 'F' FROM RDB$DATABASE) P "
        " WHERE D.CANTIDAD > 0 AND M.FECHA IS NOT NULL GROUP BY 1, 2, 3, 4"));
    QStringList faults;
    auto check = [&](const Bucket& b, std::pair<double, double> k, std::pair<double, double> l) {
        if (std::fabs(k.first - l.first) > 1e-6 || std::fabs(k.second - l.second) > 1e-4)
            faults << QStringLiteral("company %1 item %2 bucket %3 %4 keeps %5 / %6, the lines hold %7 / %8")
                          .arg(std::get<0>(b))
                          .arg(std::get<1>(b))
                          .arg(std::get<2>(b), std::get<3>(b).toString(Qt::ISODate))
                          .arg(k.first)
                          .arg(k.second)
                          .arg(l.first)
                          .arg(l.second);
    };
    for (const auto& [b, k] : kept) {
        const auto it = lines.find(b);
        check(b, k, it == lines.end() ? std::pair<double, double>{} : it->second);
    }
    for (const auto& [b, l] : lines)
        if (!kept.count(b)) check(b, {}, l);
    return faults;
}

} // namespace test
