#include "movements/LineBench.h"

#include "movements/DocumentHeaders.h"
#include "movements/LineCellRules.h"
#include "movements/LineRules.h"
#include "platform/db/Row.h"
#include "platform/db/Session.h"
#include "platform/db/Statement.h"

#include <QDate>
#include <QElapsedTimer>
#include <algorithm>
#include <random>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace movements {

namespace {

// The median and the 95th percentile of a set of times, sorting it.
std::pair<double, double> percentiles(std::vector<double>& ms) {
    if (ms.empty()) return {0, 0};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, size_t(double(ms.size()) * 0.95))]};
}

} // namespace

LineBenchResult benchPostLines(db::Session& s, const LineBenchOptions& o,
                               const std::function<void(int done, int total)>& progress) {
    if (o.lines <= 0 || o.linesPerDocument <= 0)
        throw std::invalid_argument("lines and lines per document must be above 0");
    const QString empresa = o.empresa.isEmpty()
                                ? s.scalar(QStringLiteral("SELECT MIN(EMPRESA) FROM EMPRESAS")).toString()
                                : o.empresa;
    const auto items = s.all(QStringLiteral("SELECT PRODUCTO, VALORUNIDAD FROM PRODUCTOS"));
    const auto warehouses = s.all(QStringLiteral("SELECT BODEGA FROM BODEGAS"));
    const auto parties = s.all(QStringLiteral("SELECT NIT FROM PROVEEDORES"));
    std::vector<DocumentType> types;
    for (const db::Row& t :
         s.all(QStringLiteral("SELECT DOCUMENTO FROM DOCUMENTOS WHERE OPERADOR IN ('S', 'R') "
                              "AND DOCUMENTO <> 'POS' ORDER BY DOCUMENTO")))
        types.push_back(*DocumentType::byCode(s, t.at(0).toString()));
    if (empresa.isEmpty() || items.empty() || warehouses.empty() || parties.empty() || types.empty())
        throw std::invalid_argument(
            "the database has no company, item, warehouse, third party or document type");

    struct Written {
        NewHeader header;
        MovementLine line;
        bool firstOfDocument = false;
    };
    std::vector<Written> written;
    written.reserve(size_t(o.lines));
    NewHeader input;
    bool first = false;
    std::mt19937 rng(o.seed);
    auto pick = [&](const std::vector<db::Row>& rows) -> const db::Row& { return rows[rng() % rows.size()]; };
    LineRules rules(s);
    std::vector<double> ms;
    ms.reserve(size_t(o.lines));
    LineBenchResult r;
    QElapsedTimer total;
    total.start();
    HeaderKey doc;
    DocumentType type;
    for (int i = 0; i < o.lines; ++i) {
        if (i % o.linesPerDocument == 0) {
            doc.empresa = empresa;
            type = types[rng() % types.size()];
            doc.documento = type.documento;
            input = {empresa, doc.documento, pick(warehouses).at(0).toInt(), QDate::currentDate(),
                     pick(parties).at(0).toDouble()};
            doc.consecutivo = DocumentHeaders::create(s, input);
            first = true;
            ++r.documents;
        }
        const db::Row& item = pick(items);
        MovementLine line;
        line.producto = item.at(0).toInt();
        line.cantidad = LineCellRules::signedQuantity(double(1 + rng() % 20), type);
        line.precioUnidad = item.at(1).toDouble();
        QElapsedTimer t;
        t.start();
        try {
            written.push_back({input, rules.post(doc, line, true).line, first});
            first = false;
            ++r.posted;
        } catch (const LineRefused&) {
            ++r.refused;
        }
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        if (progress && ((i + 1) % 1000 == 0 || i + 1 == o.lines)) progress(i + 1, o.lines);
    }
    r.seconds = double(total.nsecsElapsed()) / 1e9;
    std::tie(r.medianMs, r.p95Ms) = percentiles(ms);
    r.worstMs = ms.back();

    db::Statement insert(
        s, QStringLiteral("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, "
                          "CANTIDAD, PRECIOUNIDAD, IVA, SUBTOTAL, VALORIVA, VALORDESCUENTO, COSTO, BODEGA) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    std::vector<double> rawMs;
    rawMs.reserve(written.size());
    QElapsedTimer raw;
    raw.start();
    HeaderKey rawDoc;
    int linea = 0;
    for (const Written& w : written) {
        if (w.firstOfDocument || rawDoc.empresa.isEmpty()) {
            rawDoc = {w.header.empresa, w.header.documento, DocumentHeaders::create(s, w.header)};
            linea = 0;
        }
        const MovementLine& l = w.line;
        QElapsedTimer t;
        t.start();
        db::Transaction tr(s);
        insert.bind({rawDoc.empresa, rawDoc.documento, rawDoc.consecutivo, ++linea, l.producto, l.cantidad,
                     l.precioUnidad, l.iva, l.subtotal, l.valorIva, l.valorDescuento, l.costo, l.bodega});
        insert.execute();
        tr.commit();
        rawMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    r.rawSeconds = double(raw.nsecsElapsed()) / 1e9;
    r.rawLines = int(rawMs.size());
    std::tie(r.rawMedianMs, r.rawP95Ms) = percentiles(rawMs);
    return r;
}

} // namespace movements
