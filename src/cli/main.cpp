#include "cli/Cli.h"

#include <QGuiApplication>
#include <memory>

int main(int argc, char** argv) {
    // Drawing a report needs fonts, and fonts need a GUI application object; the other commands stay
    // a plain console program. Nothing is shown, and there is often no display, so the offscreen
    // platform is used unless told otherwise.
    const bool draws = argc > 1 && (qstrcmp(argv[1], "report") == 0 || qstrcmp(argv[1], "bench-report") == 0);
    if (draws && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (draws)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int rc = cli::run(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return rc;
}
