#include "cli/Cli.h"
#include "cli/DatabaseFiles.h"

#include "platform/db/DbError.h"

#include <QProcessEnvironment>

namespace cli {

std::optional<Args> Args::parse(const QStringList& argv, const QStringList& valued, const QStringList& flags,
                                QString* error) {
    Args a;
    for (int i = 0; i < argv.size(); ++i) {
        const QString& word = argv[i];
        if (!word.startsWith(QLatin1String("--"))) {
            a.positional_ << word;
            continue;
        }
        const QString name = word.mid(2);
        if (flags.contains(name)) {
            a.options_.insert(name, QStringLiteral("1"));
        } else if (valued.contains(name)) {
            if (i + 1 >= argv.size()) {
                *error = QStringLiteral("Falta el valor de la opción --%1").arg(name);
                return std::nullopt;
            }
            a.options_.insert(name, argv[++i]);
            a.repeated_[name] << argv[i];
        } else {
            *error = QStringLiteral("Opción desconocida: %1").arg(word);
            return std::nullopt;
        }
    }
    return a;
}

qint64 Args::number(const QString& name, qint64 fallback, QString* error) const {
    if (!has(name)) return fallback;
    bool ok = false;
    const qint64 v = value(name).toLongLong(&ok);
    if (!ok || v <= 0) {
        *error = QStringLiteral("La opción --%1 debe ser un número entero positivo: %2").arg(name, value(name));
        return fallback;
    }
    return v;
}

std::unique_ptr<db::Session> Context::attachExisting(const QString& database, const Args& args) const {
    const auto params = connection(database, args);
    if (!databaseExists(params)) {
        err << "No existe la base de datos: " << params.database << "\n";
        return nullptr;
    }
    return db::Session::attach(params);
}

db::ConnectionParams Context::connection(const QString& database, const Args& args) const {
    db::ConnectionParams p;
    p.database = database;
    const auto env = QProcessEnvironment::systemEnvironment();
    p.user = args.value(QStringLiteral("user"), env.value(QStringLiteral("ALMACEN_DB_USER"), p.user));
    p.password = args.value(QStringLiteral("password"), env.value(QStringLiteral("ALMACEN_DB_PASSWORD"), p.password));
    return p;
}

std::map<QString, Command>& commands() {
    static std::map<QString, Command> table;
    return table;
}

namespace {

void printHelp(QTextStream& out) {
    out << "Uso: almacen-cli COMANDO [argumentos] [opciones]\n\n"
           "Comandos:\n";
    for (const auto& [name, cmd] : commands()) out << "  " << name.leftJustified(12) << cmd.summary << "\n";
    out << "\nOpciones de conexión (todas las órdenes): --user USUARIO --password CLAVE\n"
           "  (o las variables ALMACEN_DB_USER y ALMACEN_DB_PASSWORD).\n"
           "Una base de datos es una ruta de archivo (motor embebido) o servidor:/ruta.\n"
           "\"almacen-cli COMANDO --help\" muestra el uso de cada comando.\n";
}

} // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (commands().empty()) {
        registerDatabaseCommands();
        registerBenchCommands();
        registerReportCommands();
        registerDocumentCommands();
    }
    if (arguments.isEmpty() || arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h") ||
        arguments[0] == QLatin1String("help")) {
        printHelp(out);
        return arguments.isEmpty() ? kUsage : kOk;
    }
    const auto it = commands().find(arguments[0]);
    if (it == commands().end()) {
        err << "Comando desconocido: " << arguments[0] << "\n";
        printHelp(err);
        return kUsage;
    }
    const Command& cmd = it->second;
    const QStringList rest = arguments.mid(1);
    if (rest.contains(QLatin1String("--help"))) {
        out << "Uso: almacen-cli " << it->first << " " << cmd.usage << "\n" << cmd.summary << "\n";
        return kOk;
    }
    QString error;
    QStringList valued = cmd.valued;
    valued << QStringLiteral("user") << QStringLiteral("password");
    const auto args = Args::parse(rest, valued, cmd.flags, &error);
    if (!args) {
        err << error << "\nUso: almacen-cli " << it->first << " " << cmd.usage << "\n";
        return kUsage;
    }
    Context ctx{out, err};
    try {
        return cmd.run(*args, ctx);
    } catch (const db::DbError& e) {
        err << "Error de la base de datos: " << e.engineText() << "\n";
        return kFailed;
    } catch (const std::exception& e) {
        err << "Error: " << QString::fromUtf8(e.what()) << "\n";
        return kFailed;
    }
}

} // namespace cli
