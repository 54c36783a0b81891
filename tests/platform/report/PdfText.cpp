#include "platform/report/PdfText.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <stdexcept>

namespace test {

namespace {

QByteArray run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        throw std::runtime_error(
            (program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError()))
                .toStdString());
    return p.readAllStandardOutput();
}

} // namespace

QStringList pdfPages(const QString& path) {
    QStringList pages = QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                              {QStringLiteral("-layout"), path, QStringLiteral("-")}))
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

QByteArray pdfPagePng(const QString& path, int page, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                     QString::number(page), QStringLiteral("-singlefile"), path, prefix});
    QFile f(prefix + QStringLiteral(".png"));
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("pdftoppm wrote no page");
    return f.readAll();
}

} // namespace test
