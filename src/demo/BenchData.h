#pragma once
// Generated movement history for benchmarks: years of documents over thousands of items, written
// through prepared statements in large transactions, and a plain-insert baseline to compare with.

#include "platform/db/Session.h"

#include <QtGlobal>
#include <functional>

namespace demo {

struct BenchOptions {
    qint64 lines = 1000000;
    int items = 3000;
    int warehouses = 5;
    int companies = 2;
    int years = 3;
    int linesPerDocument = 10; // on average
    quint32 seed = 42;
};

struct BenchResult {
    qint64 lines = 0;
    qint64 documents = 0;
    int itemsCreated = 0;
    int thirdPartiesCreated = 0;
    double seconds = 0;

    double linesPerSecond() const { return seconds > 0 ? double(lines) / seconds : 0; }
};

class BenchData {
public:
    // Rows written between two commits. A commit writes out every page the transaction touched, and
    // the lines-by-item index is touched all over, so larger transactions load markedly faster.
    static constexpr int kRowsPerTransaction = 20000;

    // Adds `lines` document lines, numbered after the documents already stored. Companies, warehouses,
    // groups, the unit, document types, items and third parties it needs are created when missing.
    // Issues take only what the same run received before them, so no warehouse balance goes below zero
    // on any day. `progress` is told the lines written after every commit. Throws
    // std::invalid_argument on unusable options.
    static BenchResult generate(db::Session& session, const BenchOptions& options,
                                const std::function<void(qint64 done, qint64 total)>& progress = {});

    // Rows per second of a bare prepared-insert loop into a scratch table as wide as a document line,
    // in transactions of the same size; the table is dropped afterwards.
    static double rawInsertRate(db::Session& session, qint64 rows);
};

} // namespace demo
