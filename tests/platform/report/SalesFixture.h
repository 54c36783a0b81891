#pragma once
// A small sales table and a report grouped by zone and seller over it: enough rows under one seller
// to run over a page break, totals per seller, per zone and for the report, a running value, a
// lookup per seller and a data hook. Shared by the engine's tests.

#include "platform/report/ReportDefinition.h"
#include "support/TestDatabase.h"

#include <memory>

namespace test {

struct SalesFixture {
    TestDatabase db;

    // Creates VENTAS and METAS and fills them: NORTE/ANA 3 rows (1,300.75), NORTE/LUIS 60 rows of
    // 10.10 (606.00), SUR/EVA 2 rows (1,184.50); targets for ANA and LUIS only.
    SalesFixture();
    void addSale(const QString& zone, const QString& seller, int invoice, const QDate& date,
                 const QString& customer, double value);

    // The grouped report over VENTAS from :DESDE on.
    static std::shared_ptr<const report::ReportDefinition> definition();
};

} // namespace test
