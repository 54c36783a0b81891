// The line rules: completion of a line, the balance guard, header totals and the item's average cost.

#include "movements/LineRules.h"
#include "movements/DocumentHeaders.h"
#include "platform/db/DbError.h"
#include "platform/db/Session.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using movements::HeaderKey;
using movements::LineContext;
using movements::LineOptions;
using movements::LineRefused;
using movements::LineRules;
using movements::MovementLine;

LineContext context(const char* entra, const std::function<void(LineContext&)>& more = {}) {
    LineContext c;
    c.type.documento = QStringLiteral("XX");
    c.type.entra = QString::fromLatin1(entra);
    if (more) more(c);
    return c;
}

MovementLine line(double cantidad, double precio, double descuento = 0) {
    MovementLine l;
    l.producto = 5;
    l.cantidad = cantidad;
    l.precioUnidad = precio;
    l.descuento = descuento;
    return l;
}

TEST(LineCompletion, PricesVatCostAndSubtotals) {
    struct Expect {
        double cantidad, precio, subtotal, valorIva, valorDescuento, costo;
    };
    struct Case {
        const char* name;
        LineContext c;
        MovementLine in;
        LineOptions o;
        Expect e;
    };
    const auto withVat = [](double vat, bool included) {
        return [=](LineContext& c) {
            c.itemVat = vat;
            c.pricesIncludeVat = included;
        };
    };
    const auto entries = [](double quantity, double value) {
        return [=](LineContext& c) {
            c.entriesQuantity = quantity;
            c.entriesValue = value;
        };
    };
    const Case cases[] = {
        {"a sale takes the price of its break",
         context("V", [](LineContext& c) { c.breakPrice = 900; }),
         line(-12, 1000),
         {},
         {-12, 900, 10800, 0, 0, 900}},
        {"a break priced 0 keeps the typed price",
         context("V", [](LineContext& c) { c.breakPrice = 0; }),
         line(-12, 1000),
         {},
         {-12, 1000, 12000, 0, 0, 1000}},
        {"a negative price becomes the item's",
         context("I", [](LineContext& c) { c.itemPrice = 70; }),
         line(2, -1),
         {},
         {2, 70, 140, 0, 0, 70}},
        {"subtotal to one decimal: 3 x 10.33",
         context("I"),
         line(3, 10.33),
         {},
         {3, 10.33, 31.0, 0, 0, 10.33}},
        {"subtotal in local currency at the header's rate",
         context("I", [](LineContext& c) { c.tasa = 4000; }),
         line(2, 1.5),
         {},
         {2, 1.5, 12000, 0, 0, 1.5}},
        {"VAT-included sale at 16",
         context("V", withVat(16, true)),
         line(-1, 1160),
         {},
         {-1, 1160, 1000, 160, 0, 1160}},
        {"VAT-included credit note at 5",
         context("R", withVat(5, true)),
         line(1, 1050),
         {},
         {1, 1050, 1000, 50, 0, 1050}},
        {"VAT-included sale at 2.5",
         context("V", withVat(2.5, true)),
         line(-1, 1025),
         {},
         {-1, 1025, 1000, 25, 0, 1025}},
        {"VAT on top of a discounted sale",
         context("V", withVat(19, false)),
         line(-1, 1000, 10),
         {},
         {-1, 1000, 1000, 171, 100, 1000}},
        {"a sale of an item without VAT carries none",
         context("V"),
         [] {
             auto l = line(-1, 1000);
             l.iva = 19;
             l.valorIva = 190;
             return l;
         }(),
         {},
         {-1, 1000, 1000, 0, 0, 1000}},
        {"purchase VAT on the subtotal",
         context("C", withVat(19, false)),
         line(10, 100),
         {},
         {10, 100, 1000, 190, 0, 100}},
        {"purchase from a natural person has no VAT",
         context("C",
                 [](LineContext& c) {
                     c.itemVat = 16;
                     c.naturalPerson = true;
                 }),
         line(10, 100),
         {},
         {10, 100, 1000, 0, 0, 100}},
        {"purchase VAT in local currency",
         context("C",
                 [](LineContext& c) {
                     c.itemVat = 19;
                     c.tasa = 2;
                 }),
         line(10, 100),
         {},
         {10, 100, 2000, 380, 0, 100}},
        {"purchase return: amounts stay unsigned",
         context("C", withVat(19, false)),
         line(-10, 100),
         {},
         {-10, 100, 1000, 190, 0, 100}},
        {"purchase with VAT on the discounted subtotal switch",
         context("C", withVat(19, false)),
         line(3, 10.33, 10),
         {.vatWithDiscount = true},
         {3, 10.33, 31.0, 6, 3, 10.33}},
        {"cost from earlier entries",
         context("I", entries(10, 800)),
         line(-2, 95),
         {},
         {-2, 95, 190, 0, 0, 80}},
        {"a cost below 1 is the price",
         context("I", entries(10, 4)),
         line(-2, 250),
         {},
         {-2, 250, 500, 0, 0, 250}},
        {"a purchase invoice costs at its price",
         context("C",
                 [](LineContext& c) {
                     c.type.documento = QStringLiteral("FC");
                     c.entriesQuantity = 10;
                     c.entriesValue = 800;
                 }),
         line(1, 95),
         {},
         {1, 95, 95, 0, 0, 95}},
        {"valued production issue at the average of earlier entries",
         context("S", entries(10, 800)),
         line(-3, 120),
         {.valuedIssues = true},
         {-3, 80, 240, 0, 0, 80}},
        {"first valued issue without earlier entries keeps its price",
         context("S"),
         line(-3, 120),
         {.valuedIssues = true},
         {-3, 120, 360, 0, 0, 120}},
        {"production issue without the switch keeps its price",
         context("S", entries(10, 800)),
         line(-3, 120),
         {},
         {-3, 120, 360, 0, 0, 80}},
        {"sub-item documents keep the subtotal they carry, unsigned",
         context("I", [](LineContext& c) { c.type.subproducto = QStringLiteral("S"); }),
         [] {
             auto l = line(-2, 50);
             l.subtotal = -400;
             l.costo = 45;
             return l;
         }(),
         {},
         {-2, 50, 400, 0, 0, 45}},
    };
    for (const Case& k : cases) {
        MovementLine l = k.in;
        EXPECT_EQ(LineRules::complete(l, k.c, k.o), QString()) << k.name;
        EXPECT_EQ(l.cantidad, k.e.cantidad) << k.name;
        EXPECT_DOUBLE_EQ(l.precioUnidad, k.e.precio) << k.name;
        EXPECT_DOUBLE_EQ(l.subtotal, k.e.subtotal) << k.name;
        EXPECT_DOUBLE_EQ(l.valorIva, k.e.valorIva) << k.name;
        EXPECT_DOUBLE_EQ(l.valorDescuento, k.e.valorDescuento) << k.name;
        EXPECT_DOUBLE_EQ(l.costo, k.e.costo) << k.name;
    }
}

TEST(LineCompletion, UnitConversionIsAskedAndAppliedAfterTheAmounts) {
    int asked = 0;
    LineOptions yes;
    yes.confirmConversion = [&](const QString& from, const QString& to) {
        ++asked;
        EXPECT_EQ(from, QStringLiteral("UN"));
        EXPECT_EQ(to, QStringLiteral("DO"));
        return true;
    };
    const auto units = [](double factor, const char* op) {
        return context("E", [=](LineContext& c) {
            c.unidad = QStringLiteral("UN");
            c.unidadS = QStringLiteral("DO");
            c.conversionFactor = factor;
            c.conversionOperator = QString::fromLatin1(op);
        });
    };

    MovementLine l = line(24, 100);
    EXPECT_EQ(LineRules::complete(l, units(12, "D"), yes),
              QStringLiteral("Convertir de UN a DO  Dividir Por 12"));
    EXPECT_EQ(l.cantidad, 2);
    EXPECT_EQ(l.precioUnidad, 1200);
    EXPECT_EQ(l.subtotal, 2400); // computed before the conversion, not again

    l = line(2, 1250);
    EXPECT_EQ(LineRules::complete(l, units(0.5, "M"), yes),
              QStringLiteral("Convertir de UN a DO  Multiplicar Por 0.5"));
    EXPECT_EQ(l.cantidad, 1);
    EXPECT_EQ(l.precioUnidad, 2500);
    EXPECT_EQ(asked, 2);

    // A factor of 0 cannot convert anything, an answer No keeps the line, an issue is never converted.
    l = line(24, 100);
    EXPECT_EQ(LineRules::complete(l, units(0, "D"), yes), QString());
    EXPECT_EQ(l.cantidad, 24);
    EXPECT_TRUE(std::isfinite(l.precioUnidad));
    LineOptions no;
    no.confirmConversion = [](const QString&, const QString&) { return false; };
    EXPECT_EQ(LineRules::complete(l, units(12, "D"), no), QString());
    EXPECT_EQ(l.cantidad, 24);
    l = line(-24, 100);
    EXPECT_EQ(LineRules::complete(l, units(12, "D"), yes), QString());
    EXPECT_EQ(asked, 2);
}

// Documents of one company and warehouse 1, dated 10 March 2026, over a stock history written
// straight into the tables.
class Lines : public ::testing::Test {
  protected:
    test::TestDatabase tdb;
    db::Session& s = tdb.session();
    LineRules rules{s};

    void SetUp() override {
        for (const char* sql : {
                 "INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'UNO')",
                 "INSERT INTO PROVEEDORES (NIT, NOMBRE, TIPOTERCERO) VALUES (800, 'ACEROS S.A.', 'C')",
                 "INSERT INTO PROVEEDORES (NIT, NOMBRE, TIPOTERCERO) VALUES (900, 'PEDRO PEREZ', 'P')",
             })
            s.execute(QString::fromLatin1(sql));
        type("EA", "S", "C");      // purchase receipt
        type("EP", "S", "E");      // production entry
        type("FV", "R", "V");      // sale
        type("SA", "R", "I", "S"); // issue within the warehouse balance
        type("CN", "N", "C");      // purchase that moves no stock by its type
        item(5, 100, 80);
    }

    void type(const char* code, const char* operador, const char* entra, const char* controlaSaldo = "N") {
        s.execute("INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA, CONTROLASALDO, SUBPRODUCTO) "
                  "VALUES (?, ?, ?, ?, ?, 'N')",
                  {code, code, operador, entra, controlaSaldo});
    }
    void item(int producto, double price, double average, double vat = 0, const char* unidadS = "UN") {
        s.execute("INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, UNIDADS, VALORUNIDAD, "
                  "VALORPROMEDIO, VALORIVA, PRECIOMASIVA) VALUES (?, '01', 1, ?, 'UN', ?, ?, ?, ?, 'N')",
                  {QStringLiteral("01-1-%1").arg(producto), producto, unidadS, price, average, vat});
    }
    HeaderKey header(const char* code, int bodega = 1, double cliente = 800,
                     QDate fecha = QDate(2026, 3, 10)) {
        const QString doc = QString::fromLatin1(code);
        return {QStringLiteral("01"), doc,
                movements::DocumentHeaders::create(s, {QStringLiteral("01"), doc, bodega, fecha, cliente})};
    }
    // An earlier line written as it stands, without the rules.
    void history(int producto, double cantidad, double subtotal, int bodega = 1, const char* doc = "EA",
                 QDate fecha = QDate(2026, 1, 5)) {
        const HeaderKey h = header(doc, bodega, 800, fecha);
        s.execute(
            "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, "
            "SUBTOTAL, VALORDESCUENTO, BODEGA) VALUES (?, ?, ?, 1, ?, ?, ?, 0, ?)",
            {h.empresa, h.documento, h.consecutivo, producto, cantidad, subtotal, bodega});
    }
    double average(int producto) {
        return s.scalar("SELECT VALORPROMEDIO FROM PRODUCTOS WHERE PRODUCTO = ?", {producto}).toDouble();
    }
    int lineCount(const HeaderKey& h) {
        return s
            .scalar("SELECT COUNT(*) FROM MOVIMIENTODETALLE WHERE EMPRESA = ? AND DOCUMENTO = ? AND "
                    "CONSECUTIVO = ?",
                    {h.empresa, h.documento, h.consecutivo})
            .toInt();
    }
    QVariant headerValue(const HeaderKey& h, const char* column) {
        return s.scalar(
            QStringLiteral(
                "SELECT %1 FROM MOVIMIENTO WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?")
                .arg(QString::fromLatin1(column)),
            {h.empresa, h.documento, h.consecutivo});
    }
};

TEST_F(Lines, SalesTakeTheLargestPriceBreakNotAboveTheQuantity) {
    for (const char* sql : {
             "INSERT INTO PRODUCTOSVALORVENTA (PRODUCTO, UNIDAD, CANTIDAD, VALORVENTAMOSTRADOR) VALUES (5, "
             "'A', 1, 1000)",
             "INSERT INTO PRODUCTOSVALORVENTA (PRODUCTO, UNIDAD, CANTIDAD, VALORVENTAMOSTRADOR) VALUES (5, "
             "'B', 10, 900)",
             "INSERT INTO PRODUCTOSVALORVENTA (PRODUCTO, UNIDAD, CANTIDAD, VALORVENTAMOSTRADOR) VALUES (5, "
             "'C', 50, 800)",
             "INSERT INTO PRODUCTOSVALORVENTA (PRODUCTO, UNIDAD, CANTIDAD, VALORVENTAMOSTRADOR) VALUES (6, "
             "'A', 10, 0)",
         })
        s.execute(QString::fromLatin1(sql));
    item(6, 100, 80);
    const HeaderKey sale = header("FV");
    EXPECT_EQ(rules.post(sale, line(-12, 1100), true).line.precioUnidad, 900);
    EXPECT_EQ(rules.post(sale, line(-60, 1100), true).line.precioUnidad, 800);
    MovementLine other = line(-12, 1234);
    other.producto = 6;
    EXPECT_EQ(rules.post(sale, other, true).line.precioUnidad, 1234);
}

TEST_F(Lines, StockAddingDocumentsUpdateTheAverageFromTheAverageBeforeTheLine) {
    struct Case {
        const char* name;
        const char* doc;
        double stock;    // earlier stock of the item
        int stockBodega; // and where it lies
        double cantidad, precio;
        double expected;
    };
    const Case cases[] = {
        // 10 at 80 plus 10 at a net 1000: (80 x 10 + 1000) / 20.
        {"production entry", "EP", 10, 1, 10, 100, 90},
        // The same for a purchase: the average of all entries is not applied on top of itself (95).
        {"purchase", "EA", 10, 1, 10, 100, 90},
        // The warehouse is empty, stock elsewhere does not count: net / quantity.
        {"first entry into an empty warehouse", "EP", 10, 2, 4, 250.25, 250},
        // The real quantity weighs, not a rounded one ((80 x 0.5 + 250) / 2.5 would give 116).
        {"fractional entry into an empty warehouse", "EP", 0, 1, 2.5, 100, 100},
    };
    int producto = 20;
    for (const Case& k : cases) {
        ++producto;
        item(producto, 100, 80);
        if (k.stock) history(producto, k.stock, 800, k.stockBodega);
        MovementLine l = line(k.cantidad, k.precio);
        l.producto = producto;
        const auto posted = rules.post(header(k.doc), l, true);
        EXPECT_EQ(average(producto), k.expected) << k.name;
        EXPECT_EQ(posted.valorPromedio, k.expected) << k.name;
    }
}

TEST_F(Lines, AnEditedOrDeletedLineGivesBackItsShareOfTheAverage) {
    history(5, 10, 800);
    const HeaderKey entry = header("EP");
    auto posted = rules.post(entry, line(10, 100), true);
    ASSERT_EQ(average(5), 90);

    // Net 1200 instead of 1000: (80 x 10 + 1200) / 20, not (90 x 10 + 1200) / 20 = 105.
    MovementLine edited = posted.line;
    edited.precioUnidad = 120;
    posted = rules.post(entry, edited, false);
    EXPECT_EQ(average(5), 100);
    posted = rules.post(entry, posted.line, false); // posted again unchanged
    EXPECT_EQ(average(5), 100);
    EXPECT_EQ(lineCount(entry), 1);

    const auto totals = rules.remove(entry, posted.line.linea);
    EXPECT_EQ(average(5), 80);
    EXPECT_EQ(totals.subtotal, 0);
    EXPECT_EQ(headerValue(entry, "SUBTOTAL").toDouble(), 0);
    EXPECT_EQ(lineCount(entry), 0);
}

TEST_F(Lines, AnEditedLineMovingToAnotherItemLeavesTheFirstItemAsBefore) {
    item(6, 100, 50);
    history(5, 10, 800);
    const HeaderKey entry = header("EP");
    auto posted = rules.post(entry, line(10, 100), true);
    ASSERT_EQ(average(5), 90);
    MovementLine moved = posted.line;
    moved.producto = 6; // empty warehouse: net / quantity
    rules.post(entry, moved, false);
    EXPECT_EQ(average(5), 80);
    EXPECT_EQ(average(6), 100);
}

TEST_F(Lines, AConvertedLinePostedAgainIsNotConvertedTwice) {
    item(7, 100, 0, 0, "DO");
    s.execute("INSERT INTO UNIDADCONVERSION (CODIGOUNIDAD, CODIGOUNIDADRECIBIR, CANTIDAD, OPERADOR) VALUES "
              "('UN', 'DO', 12, 'D')");
    int asked = 0;
    LineOptions o;
    o.confirmConversion = [&](const QString&, const QString&) {
        ++asked;
        return true;
    };
    const HeaderKey entry = header("EP");
    MovementLine l = line(24, 100);
    l.producto = 7;
    auto posted = rules.post(entry, l, true, o);
    EXPECT_EQ(posted.conversion, QStringLiteral("Convertir de UN a DO  Dividir Por 12"));
    EXPECT_EQ(posted.line.cantidad, 2);
    EXPECT_EQ(posted.line.precioUnidad, 1200);

    posted = rules.post(entry, posted.line, false, o);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(posted.conversion, QString());
    EXPECT_EQ(s.scalar("SELECT CANTIDAD FROM MOVIMIENTODETALLE WHERE PRODUCTO = 7").toDouble(), 2);
    EXPECT_EQ(s.scalar("SELECT PRECIOUNIDAD FROM MOVIMIENTODETALLE WHERE PRODUCTO = 7").toDouble(), 1200);
}

TEST_F(Lines, TheBalanceGuardReadsTheLinesItemInTheHeadersWarehouseWhenPosting) {
    history(5, 5, 400, 1);
    history(5, 100, 8000, 2); // another warehouse
    item(6, 100, 80);
    history(6, 50, 4000, 1); // another item
    const HeaderKey issue = header("SA", 1);

    try {
        rules.post(issue, line(-6, 100), true);
        FAIL() << "an issue beyond the balance was posted";
    } catch (const LineRefused& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Saldo menor a la cantidad solicitada"));
    }
    EXPECT_EQ(lineCount(issue), 0);
    EXPECT_EQ(headerValue(issue, "NETO").toDouble(), 0);

    auto posted = rules.post(issue, line(-5, 100), true);
    // Posted again, its own 5 units are given back first: the balance left is 0, yet 5 may stay.
    posted = rules.post(issue, posted.line, false);
    MovementLine more = posted.line;
    more.cantidad = -6;
    EXPECT_THROW(rules.post(issue, more, false), LineRefused);
    EXPECT_EQ(s.scalar("SELECT CANTIDAD FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'SA'").toDouble(), -5);

    // Types that do not ask for it let the balance go below 0.
    EXPECT_NO_THROW(rules.post(header("FV", 1), line(-50, 100), true));
}

TEST_F(Lines, HeaderTotalsFollowEveryPostAndDelete) {
    item(8, 1000, 600, 19);
    const HeaderKey sale = header("FV");
    MovementLine a = line(-2, 1000);
    a.producto = 8;
    MovementLine b = line(-1, 1000, 10);
    b.producto = 8;
    const auto first = rules.post(sale, a, true);
    const auto second = rules.post(sale, b, true);
    EXPECT_EQ(first.line.linea, 1);
    EXPECT_EQ(second.line.linea, 2);
    EXPECT_EQ(second.totals.subtotal, 3000);
    EXPECT_EQ(second.totals.descuento, 100);
    EXPECT_EQ(second.totals.iva, 551); // 380 + 171
    EXPECT_EQ(second.totals.neto, 3451);
    EXPECT_EQ(headerValue(sale, "NETO").toDouble(), 3451);
    EXPECT_EQ(s.scalar("SELECT MIN(SUBTOTAL) FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'FV'").toDouble(),
              1000);
    EXPECT_EQ(s.scalar("SELECT MAX(BODEGA) FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'FV'").toInt(), 1);

    rules.remove(sale, 1);
    EXPECT_EQ(headerValue(sale, "SUBTOTAL").toDouble(), 1000);
    EXPECT_EQ(headerValue(sale, "IVA").toDouble(), 171);
    EXPECT_EQ(headerValue(sale, "NETO").toDouble(), 1071);
    EXPECT_EQ(rules.post(sale, a, true).line.linea, 3);
}

TEST_F(Lines, PurchasesTakeVatByTheThirdParty) {
    item(8, 1000, 600, 19);
    MovementLine l = line(10, 100);
    l.producto = 8;
    EXPECT_EQ(rules.post(header("EA", 1, 800), l, true).line.valorIva, 190);
    EXPECT_EQ(rules.post(header("EA", 1, 900), l, true).line.valorIva, 0);
}

TEST_F(Lines, ThePurchaseAverageFromAllEntriesCountsTheStockOfTheCompanyOnce) {
    s.execute("INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('02', 'DOS')");
    history(5, 5, 500);
    history(5, -8, 0, 1, "SA");
    // Stock before the line: -3, so the line's price is the average. Counting the stock once per
    // company (2 x 7 - 10 = 4) would take the average of all entries, 200.
    const auto posted = rules.post(header("CN"), line(10, 250), true);
    EXPECT_EQ(posted.valorPromedio, 250);
    EXPECT_EQ(average(5), 250);
}

TEST_F(Lines, AZeroQuantityIntoAnEmptyWarehouseLeavesTheAverage) {
    const HeaderKey entry = header("EP");
    const auto posted = rules.post(entry, line(0, 100), true);
    EXPECT_EQ(average(5), 80);
    EXPECT_FALSE(posted.valorPromedio);
    EXPECT_EQ(lineCount(entry), 1);
}

TEST_F(Lines, ALockConflictWritesNothing) {
    history(5, 10, 800);
    const HeaderKey entry = header("EP");
    auto other = tdb.attachAnother();
    const auto expectConflict = [&](const char* holder) {
        db::Transaction t(*other);
        other->execute(QString::fromLatin1(holder));
        try {
            rules.post(entry, line(10, 100), true);
            ADD_FAILURE() << "posted while " << holder;
        } catch (const db::DbError& e) {
            EXPECT_TRUE(e.isLockConflict()) << e.engineText().toStdString();
        }
        t.rollback();
        EXPECT_EQ(lineCount(entry), 0) << holder;
        EXPECT_EQ(average(5), 80) << holder;
    };
    expectConflict("UPDATE PRODUCTOS SET NOMBRE = 'X' WHERE PRODUCTO = 5");
    // The header is written last: the line and the average written before it are undone too.
    expectConflict("UPDATE MOVIMIENTO SET OBSERVACIONES = 'X' WHERE DOCUMENTO = 'EP'");

    rules.post(entry, line(10, 100), true);
    EXPECT_EQ(average(5), 90);
}

TEST_F(Lines, RefusalsAndLookups) {
    const HeaderKey missing{QStringLiteral("01"), QStringLiteral("EP"), 99};
    try {
        rules.post(missing, line(1, 1), true);
        FAIL();
    } catch (const LineRefused& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Documento no Existe"));
    }
    const HeaderKey entry = header("EP");
    MovementLine unknown = line(1, 1);
    unknown.producto = 404;
    EXPECT_THROW(rules.post(entry, unknown, true), LineRefused);
    MovementLine gone = line(1, 1);
    gone.linea = 7;
    EXPECT_THROW(rules.post(entry, gone, false), LineRefused);
    EXPECT_EQ(lineCount(entry), 0);

    // A typed text reaches the database as a value only.
    MovementLine remark = line(1, 100);
    remark.observacion = QStringLiteral("O'Brien'); DELETE FROM PRODUCTOS; --");
    rules.post(entry, remark, true);
    EXPECT_EQ(s.scalar("SELECT OBSERVACION FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'EP'").toString(),
              remark.observacion);
    EXPECT_EQ(s.scalar("SELECT COUNT(*) FROM PRODUCTOS").toInt(), 1);

    s.execute("INSERT INTO PRODUCTOSSUB (PRODUCTO, SUBPRODUCTO, NOMBRE) VALUES (5, 2, 'TAPA')");
    EXPECT_EQ(LineRules::subItemName(s, 5, 2), QStringLiteral("TAPA"));
    EXPECT_EQ(LineRules::subItemName(s, 5, 3), QStringLiteral("Sin Crear"));
    EXPECT_EQ(LineRules::subItemName(s, 5, QVariant()), QStringLiteral("Sin Crear"));
}

TEST_F(Lines, EveryReadGoesThroughAKeyOrTheLinesOfOneItem) {
    for (const auto& [sql, plan] : rules.plans()) {
        // Neither a whole table nor the headers of a date range, which is nearly all of them.
        EXPECT_FALSE(plan.contains(QStringLiteral("NATURAL"))) << sql.toStdString() << "\n"
                                                               << plan.toStdString();
        EXPECT_FALSE(plan.contains(QStringLiteral("IX_MOV_FECHA"))) << sql.toStdString() << "\n"
                                                                    << plan.toStdString();
    }
}

} // namespace
