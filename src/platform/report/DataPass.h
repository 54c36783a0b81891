#pragma once
// The first of a report's two passes: binds the parameters, reads the company profile, runs the
// queries, calls the declaration's hook and works out every total, count and running value. What it
// returns is all the render pass and the exports need; they never touch the database.

#include "platform/report/Progress.h"
#include "platform/report/ReportData.h"

#include <QDateTime>
#include <QVariantMap>
#include <memory>

namespace db {
class Session;
}

namespace report {

class DataPass {
public:
    struct Options {
        // By parameter name. Text is read with the parameter's type (the command line passes text);
        // other values are taken as they are. Missing parameters take their default.
        QVariantMap parameters;
        // The date printed as "Impreso"; invalid means now. Fixed by tests and golden files.
        QDateTime printedAt;
        ProgressFn progress;
    };

    // Throws ReportError for a missing, unknown or bad parameter and for a declaration that names
    // something its queries do not give; db::DbError with the engine's text for a failing query;
    // Cancelled when the progress callback says stop.
    static std::shared_ptr<const ReportData> run(std::shared_ptr<const ReportDefinition> definition,
                                                 db::Session& session, const Options& options);

    // The parameters as the report will bind them: text read by each parameter's type, defaults
    // filled in. Throws ReportError for an unknown, missing or bad parameter and for an order code
    // the report does not offer; run() does the same check, this lets a caller refuse bad input
    // before it opens a database.
    static QVariantMap checkParameters(const ReportDefinition& definition, const QVariantMap& given);

    // The main query exactly as it runs with these parameters (as checkParameters returns them): the
    // declaration's SQL and, for a report with orderings, " ORDER BY " and the chosen ordering's text.
    // Parameter values are bound to its ":NAME" markers, never written into it.
    static QString mainQuery(const ReportDefinition& definition, const QVariantMap& parameters);

private:
    class Pass;
};

} // namespace report
