#include "platform/sheet/Workbook.h"

#include <QDebug>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <xlsxwriter.h>

namespace sheet {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxNameLength = 31;
const QString kForbiddenNameCharacters = QStringLiteral("[]:*?/\\");

// The two texts a user ever sees from the spreadsheet exports.
const char* const kCannotOpen = "Error intentando abrir con OLE el Excel";
const char* const kNotInstalled = "MS Excel 97 not this installed";

// Sheet-name limits count characters, not UTF-16 units: never split a surrogate pair.
QString cutTo(const QString& text, int characters) {
    qsizetype i = 0;
    for (int n = 0; i < text.size(); ++n) {
        if (n == characters) return text.left(i);
        i += (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    }
    return text;
}

QString validName(const QString& wanted) {
    QString name = wanted;
    for (QChar& c : name)
        if (kForbiddenNameCharacters.contains(c) || c.category() == QChar::Other_Control) c = u'_';
    name = cutTo(name, kMaxNameLength);
    // A name may not begin or end with an apostrophe: formulas quote sheet names with it.
    if (name.startsWith(u'\'')) name[0] = u'_';
    if (name.endsWith(u'\'')) name[name.size() - 1] = u'_';
    return name;
}

SheetError saveError(const QString& path, const QString& cause) {
    return SheetError(
        QStringLiteral("No se pudo guardar la hoja de cálculo \"%1\": %2").arg(path, cause).toStdString());
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

void check(lxw_error error, const QString& path) {
    if (error != LXW_NO_ERROR) throw saveError(path, QString::fromUtf8(lxw_strerror(error)));
}

} // namespace

Workbook::Workbook() : formats_(1), rowLimit_(kMaxRows) {}

Workbook::~Workbook() = default;

Worksheet& Workbook::firstSheet() {
    if (sheets_.empty()) return addSheet(QStringLiteral("Hoja1"));
    return *sheets_.front();
}

Worksheet& Workbook::addSheet(const QString& name) {
    sheets_.push_back(std::make_unique<Worksheet>(SheetKey{}, *this, uniqueName(name), nullptr, 0));
    return *sheets_.back();
}

Worksheet& Workbook::sheet(int index) {
    if (index < 0 || index >= sheetCount())
        throw SheetError(QStringLiteral("No existe la hoja %1 en el libro").arg(index).toStdString());
    return *sheets_[size_t(index)];
}

void Workbook::setRowLimit(int rows) {
    if (rows < 1 || rows > kMaxRows)
        throw SheetError(
            QStringLiteral("Límite de filas por hoja fuera de rango: %1").arg(rows).toStdString());
    if (hasCells()) throw SheetError("El límite de filas por hoja se fija antes de escribir celdas");
    rowLimit_ = rows;
}

bool Workbook::hasCells() const {
    return std::any_of(sheets_.begin(), sheets_.end(), [](const auto& s) { return s->cells_.lastRow() > 0; });
}

bool Workbook::nameTaken(const QString& name) const {
    // "History" is reserved by the spreadsheet programs for their change log.
    if (name.compare(u"History", Qt::CaseInsensitive) == 0) return true;
    return std::any_of(sheets_.begin(), sheets_.end(),
                       [&](const auto& s) { return s->name_.compare(name, Qt::CaseInsensitive) == 0; });
}

QString Workbook::uniqueName(const QString& wanted) const {
    QString base = validName(wanted);
    if (base.isEmpty()) base = QStringLiteral("Hoja%1").arg(sheetCount() + 1);
    QString name = base;
    for (int n = 2; nameTaken(name); ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        name = validName(cutTo(base, kMaxNameLength - int(suffix.size())) + suffix);
    }
    return name;
}

Worksheet& Workbook::part(Worksheet& origin, int part) {
    // Parts are made in order, so "(2)" exists whenever "(3)" does, and each new one goes right after
    // the last part of its sheet.
    while (origin.parts_.size() <= size_t(part)) {
        const int next = int(origin.parts_.size());
        const QString suffix = QStringLiteral(" (%1)").arg(next + 1);
        const QString name = uniqueName(cutTo(origin.name_, kMaxNameLength - int(suffix.size())) + suffix);
        auto after = std::find_if(sheets_.begin(), sheets_.end(),
                                  [&](const auto& s) { return s.get() == origin.parts_.back(); });
        auto inserted =
            sheets_.insert(after + 1, std::make_unique<Worksheet>(SheetKey{}, *this, name, &origin, next));
        origin.parts_.push_back(inserted->get());
    }
    return *origin.parts_[size_t(part)];
}

quint16 Workbook::formatId(const QString& numberFormat, bool bold) {
    if (numberFormat.isEmpty() && !bold) return 0;
    const QString key = (bold ? QStringLiteral("b:") : QStringLiteral("n:")) + numberFormat;
    if (auto found = formatIds_.constFind(key); found != formatIds_.cend()) return *found;
    if (formats_.size() > 0xFFFF) throw SheetError("Demasiados formatos distintos en el libro");
    const auto id = quint16(formats_.size());
    formats_.push_back({numberFormat, bold});
    formatIds_.insert(key, id);
    return id;
}

void Workbook::saveAs(const QString& path) {
    firstSheet(); // a workbook has at least one sheet, even when nothing was written
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw saveError(path, QStringLiteral("no existe la carpeta %1").arg(folder));

    // The file is built under a temporary name in the same folder (same file system, so the final
    // rename is atomic) and removed by the QTemporaryFile if anything below throws.
    QTemporaryFile temporary(folder + QStringLiteral("/.~") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temporary.open()) throw saveError(path, temporary.errorString());
    temporary.close();
    // Only the unique name is wanted: the writer creates the file afresh, so it gets the permissions
    // of any new file of the user instead of the private ones of a temporary file.
    QFile::remove(temporary.fileName());
    const QByteArray temporaryName = QFile::encodeName(temporary.fileName());

    // Rows are written strictly in order, so the writer can stream each row to disk instead of
    // keeping a second copy of every cell.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    std::unique_ptr<lxw_workbook, void (*)(lxw_workbook*)> book(
        workbook_new_opt(temporaryName.constData(), &options), lxw_workbook_free);
    if (!book) throw saveError(path, QStringLiteral("no hay memoria para el libro"));

    std::vector<lxw_format*> formats(formats_.size(), nullptr);
    for (size_t i = 1; i < formats_.size(); ++i) {
        formats[i] = workbook_add_format(book.get());
        if (!formats[i]) throw saveError(path, QStringLiteral("no hay memoria para los formatos"));
        if (!formats_[i].numberFormat.isEmpty())
            format_set_num_format(formats[i], formats_[i].numberFormat.toUtf8().constData());
        if (formats_[i].bold) format_set_bold(formats[i]);
    }

    for (const auto& sheet : sheets_) {
        lxw_worksheet* out = workbook_add_worksheet(book.get(), sheet->name_.toUtf8().constData());
        if (!out) throw saveError(path, QStringLiteral("nombre de hoja no válido: %1").arg(sheet->name_));
        for (auto [column, width] : sheet->origin_->columnWidths_.asKeyValueRange())
            check(worksheet_set_column(out, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr),
                  path);

        const SheetCells& cells = sheet->cells_;
        for (int r = 1; r <= cells.lastRow(); ++r) {
            const auto& row = cells.row(r);
            for (size_t c = 0; c < row.size(); ++c) {
                const SheetCells::Cell& cell = row[c];
                lxw_format* format = formats[cell.format];
                const auto at = lxw_row_t(r - 1);
                const auto column = lxw_col_t(c);
                switch (cell.kind) {
                case SheetCells::Kind::Blank:
                    if (format) check(worksheet_write_blank(out, at, column, format), path);
                    break;
                case SheetCells::Kind::Number:
                    check(worksheet_write_number(out, at, column, cell.number, format), path);
                    break;
                case SheetCells::Kind::Text:
                    check(worksheet_write_string(out, at, column, cells.text(cell), format), path);
                    break;
                case SheetCells::Kind::Boolean:
                    check(worksheet_write_boolean(out, at, column, cell.boolean ? 1 : 0, format), path);
                    break;
                }
            }
        }
    }

    check(workbook_close(book.release()), path);
    std::error_code error;
    std::filesystem::rename(fsPath(temporary.fileName()), fsPath(target.absoluteFilePath()), error);
    if (error) throw saveError(path, QString::fromStdString(error.message()));
    temporary.setAutoRemove(false);
}

void saveAndShow(Workbook& book, const QString& path) {
    try {
        book.saveAs(path);
    } catch (const SheetError& error) {
        qWarning().noquote() << error.what();
        throw SheetError(kCannotOpen);
    }
    // Without a GUI application (the CLI, the tests) there is nothing that could show the sheet.
    const bool shown = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
                       QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    if (!shown) throw SheetError(kNotInstalled);
}

} // namespace sheet
