#include "movements/DocumentHeaders.h"
#include "platform/db/DbError.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

TEST(DocumentHeaders, NumbersFollowTheHighestOfTheirCompanyAndType) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    s.execute("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA) VALUES ('01', 'EA', 41, 1)");
    s.execute("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA) VALUES ('02', 'EA', 900, 1)");
    EXPECT_EQ(42, movements::DocumentHeaders::create(s, {"01", "EA", 1}));
    EXPECT_EQ(1, movements::DocumentHeaders::create(s, {"01", "SA", 1}));
    auto r = s.first("SELECT STATUS, FACTURA, NETO FROM MOVIMIENTO WHERE EMPRESA = '01' AND DOCUMENTO = 'EA' AND "
                     "CONSECUTIVO = 42");
    ASSERT_TRUE(r);
    EXPECT_EQ(QStringLiteral("G"), r->text("STATUS"));
    EXPECT_EQ(42, r->integer("FACTURA"));
}

// Another workstation has inserted the next number but not committed yet: this one takes the number
// after it at once instead of failing or waiting.
TEST(DocumentHeaders, NumberHeldByAnOpenTransactionIsSkipped) {
    test::TestDatabase tdb;
    auto other = tdb.attachAnother();
    db::Transaction open(*other);
    EXPECT_EQ(1, movements::DocumentHeaders::create(*other, {"01", "EA", 1}));
    EXPECT_EQ(2, movements::DocumentHeaders::create(tdb.session(), {"01", "EA", 1}));
    open.commit();
    EXPECT_EQ(3, movements::DocumentHeaders::create(*other, {"01", "EA", 1}));
}

TEST(DocumentHeaders, OtherErrorsAreNotRetried) {
    test::TestDatabase tdb;
    // A refusal other than a key or lock conflict reaches the caller unchanged and nothing is written.
    tdb.session().execute("ALTER TABLE MOVIMIENTO ADD CONSTRAINT CK_TEST CHECK (BODEGA > 0)");
    EXPECT_THROW(movements::DocumentHeaders::create(tdb.session(), {"01", "EA", 0}), db::DbError);
    EXPECT_EQ(0, tdb.session().scalar("SELECT COUNT(*) FROM MOVIMIENTO").toInt());
}

} // namespace
