#pragma once
// A measurement of the line rules on an existing database (such as one filled by the benchmark
// history generator): documents of a fixed number of lines, each line posted through LineRules in a
// transaction of its own, as the grid posts them. Meant for a CLI subcommand; it writes real documents.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace db {
class Session;
}

namespace movements {

struct LineBenchOptions {
    int lines = 10000;
    int linesPerDocument = 20;
    QString empresa{}; // empty: the first company
    quint32 seed = 7;
};

struct LineBenchResult {
    int posted = 0;
    int refused = 0; // refused by the rules (the balance guard of a type that asks for it)
    int documents = 0;
    double seconds = 0; // the whole run, header creation included
    // Latency of one post, in milliseconds.
    double medianMs = 0;
    double p95Ms = 0;
    double worstMs = 0;

    double linesPerSecond() const { return seconds > 0 ? double(posted + refused) / seconds : 0; }

    // The floor: the same posted lines written again with a bare prepared INSERT into new documents,
    // one committed transaction per line, with no rule read at all.
    int rawLines = 0;
    double rawSeconds = 0;
    double rawMedianMs = 0;
    double rawP95Ms = 0;
    double rawLinesPerSecond() const { return rawSeconds > 0 ? double(rawLines) / rawSeconds : 0; }
};

// Posts options.lines lines of random items in random warehouses, in new documents of the stock
// adding and removing types found in DOCUMENTOS. Throws std::invalid_argument when the database has
// no company, item, warehouse, third party or such document type; database errors reach the caller.
LineBenchResult benchPostLines(db::Session& session, const LineBenchOptions& options,
                               const std::function<void(int done, int total)>& progress = {});

} // namespace movements
