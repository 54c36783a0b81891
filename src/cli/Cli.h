#pragma once
// The administrators' command line: create or upgrade a database, load the demo data, generate
// benchmark data and measure,
// render any declared report. Each subcommand prints a clear message and returns non-zero on bad input.

#include "platform/db/ConnectionParams.h"
#include "platform/db/Session.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <map>
#include <optional>

namespace cli {

// Exit codes.
constexpr int kOk = 0;
constexpr int kFailed = 1;   // the work could not be done (database error, file error)
constexpr int kUsage = 2;    // wrong arguments

// Positional arguments and "--name value" / "--flag" options of one subcommand.
class Args {
public:
    // Options listed in `flags` take no value. Returns an error text for unknown or incomplete options.
    static std::optional<Args> parse(const QStringList& argv, const QStringList& valued, const QStringList& flags,
                                     QString* error);
    const QStringList& positional() const { return positional_; }
    bool has(const QString& name) const { return options_.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const { return options_.value(name, fallback); }
    // Every value of an option given more than once ("--param A=1 --param B=2"), in order.
    QStringList values(const QString& name) const { return repeated_.value(name); }
    // Parses a positive integer option; sets *error when it is not one.
    qint64 number(const QString& name, qint64 fallback, QString* error) const;

private:
    QStringList positional_;
    QMap<QString, QString> options_;
    QMap<QString, QStringList> repeated_;
};

struct Context {
    QTextStream& out;
    QTextStream& err;
    // Connection settings for a database argument: user and password from --user/--password or
    // ALMACEN_DB_USER/ALMACEN_DB_PASSWORD, else the installation defaults.
    db::ConnectionParams connection(const QString& database, const Args& args) const;
    // Attaches to a database that must already exist; nullptr after telling "No existe la base de
    // datos" on err.
    std::unique_ptr<db::Session> attachExisting(const QString& database, const Args& args) const;
};

struct Command {
    QString summary;
    QString usage;
    QStringList valued;
    QStringList flags;
    std::function<int(const Args&, Context&)> run;
};

// The table of subcommands; each source file of the CLI registers its own.
std::map<QString, Command>& commands();
void registerDatabaseCommands();
void registerBenchCommands();
void registerReportCommands();
void registerDocumentCommands();

int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace cli
