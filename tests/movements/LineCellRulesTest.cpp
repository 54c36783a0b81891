// What the line grid does as a cell is left: item defaults, signs, the balance hint, cost centres and
// the price worked back from a subtotal.

#include "movements/LineCellRules.h"
#include "platform/db/Session.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

using movements::DocumentType;
using movements::LineCellRules;

DocumentType type(const char* operador, const char* entra, const char* controlaSaldo = "S",
                  const char* subproducto = "N") {
    DocumentType t;
    t.operador = QString::fromLatin1(operador);
    t.entra = QString::fromLatin1(entra);
    t.controlaSaldo = QString::fromLatin1(controlaSaldo);
    t.subproducto = QString::fromLatin1(subproducto);
    return t;
}

TEST(LineCells, QuantitiesTakeTheSignOfTheDocument) {
    EXPECT_EQ(LineCellRules::signedQuantity(5, type("R", "V")), -5);
    EXPECT_EQ(LineCellRules::signedQuantity(-3, type("R", "V")), -3);
    EXPECT_EQ(LineCellRules::signedQuantity(5, type("S", "C")), 5);
    EXPECT_EQ(LineCellRules::signedQuantity(5, type("S", "E", "N", "S")), -5); // sub-item documents
}

TEST(LineCells, TheBalanceHintComparesTheLinesOwnItemAndGivesBackItsStoredQuantity) {
    struct Case {
        const char* name;
        DocumentType t;
        double quantity, balance, stored;
        bool refused;
    };
    const Case cases[] = {
        {"issue beyond the balance", type("R", "V"), -5, 4, 0, true},
        {"issue of the whole balance", type("R", "V"), -5, 5, 0, false},
        {"edited line: its own -3 is in the balance", type("R", "V"), -5, 2, -3, false},
        {"edited line still beyond", type("R", "V"), -6, 2, -3, true},
        {"tenths that add up", type("R", "V"), -0.3, 0.1 + 0.2, 0, false},
        {"type without control", type("R", "V", "N"), -50, 0, 0, false},
        {"entry", type("S", "C"), 50, 0, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LineCellRules::checkBalance(c.quantity, c.balance, c.stored, c.t),
                  c.refused ? QStringLiteral("El Saldo es Menor(<) a la Cantidad a Retirar") : QString())
            << c.name;
}

TEST(LineCells, PriceComesFromTheItemOrFromATypedSubtotal) {
    movements::ItemDefaults item;
    item.valorUnidad = 1500;
    item.valorPromedio = 920;
    EXPECT_EQ(LineCellRules::priceForItem(0, item, type("R", "V"), true), 1500);
    EXPECT_EQ(LineCellRules::priceForItem(1400, item, type("R", "V"), true), 1400);
    EXPECT_EQ(LineCellRules::priceForItem(1400, item, type("R", "S"), true), 920);  // valued production issue
    EXPECT_EQ(LineCellRules::priceForItem(1400, item, type("R", "S"), false), 1400);

    EXPECT_EQ(LineCellRules::priceFromSubtotal(1200, 1000, -4), 300.0);
    EXPECT_FALSE(LineCellRules::priceFromSubtotal(1000, 1000, -4)); // unchanged
    EXPECT_FALSE(LineCellRules::priceFromSubtotal(0, 1000, -4));
    EXPECT_FALSE(LineCellRules::priceFromSubtotal(1200, 1000, 0)); // nothing to divide by
}

TEST(LineCells, ItemsBarcodesBalancesAndCostCentresComeFromTheDatabase) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    for (const char* sql : {
             "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, NOMBRE, VALORUNIDAD, CODIGOBARRAS) "
             "VALUES ('Q-1-7', 'Q', 1, 7, 'UN', 'CEMENTO GRIS', 32000, '7701234')",
             "INSERT INTO CENTROCOSTOS (CENTROCOSTO, NOMBRE) VALUES ('01', 'OBRA CENTRO')",
             "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, BODEGA, CANTIDAD) "
             "VALUES ('01', 'EA', 1, 1, 7, 2, 1250.5)",
         })
        s.execute(QString::fromLatin1(sql));
    const auto item = LineCellRules::item(s, QStringLiteral(" 7 "));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->grupo, LineCellRules::kCostCentreGroup);
    EXPECT_EQ(item->valorUnidad, 32000);
    EXPECT_FALSE(LineCellRules::item(s, QStringLiteral("8")));
    EXPECT_FALSE(LineCellRules::item(s, QStringLiteral("7 OR 1=1")));
    EXPECT_EQ(LineCellRules::itemByBarcode(s, QStringLiteral("7701234"))->producto, 7);
    EXPECT_FALSE(LineCellRules::itemByBarcode(s, QStringLiteral("000")));

    const double balance = LineCellRules::warehouseBalance(s, QStringLiteral("01"), 7, 2);
    EXPECT_EQ(balance, 1250.5);
    EXPECT_EQ(LineCellRules::warehouseBalance(s, QStringLiteral("01"), 7, 3), 0.0);
    EXPECT_EQ(LineCellRules::balanceText(balance, *item), QStringLiteral("1,250.50  7 CEMENTO GRIS"));

    EXPECT_TRUE(LineCellRules::costCentreExists(s, QStringLiteral("01")));
    EXPECT_FALSE(LineCellRules::costCentreExists(s, QStringLiteral("02")));
}

} // namespace
