#include "platform/sheet/XlsxReader.h"

#include "platform/sheet/DateSerial.h"
#include "platform/sheet/SheetError.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>
#include <optional>
#include <vector>
#include <zip.h>

namespace sheet {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// One member of the archive as a device, so QXmlStreamReader pulls it through in small blocks: a sheet
// of a hundred thousand rows is never held whole in memory as XML.
class ZipEntry : public QIODevice {
  public:
    ZipEntry(zip_t* archive, const QString& name)
        : file_(zip_fopen(archive, name.toUtf8().constData(), ZIP_FL_NOCASE)) {
        if (file_) open(QIODevice::ReadOnly);
    }
    ~ZipEntry() override {
        if (file_) zip_fclose(file_);
    }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 size) override { return zip_fread(file_, data, zip_uint64_t(size)); }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    zip_file_t* file_;
};

struct Relationship {
    QString type;
    QString target;
};

// Characters XML cannot carry are written as _xHHHH_ (a carriage return is _x000D_).
QString decodeEscapes(QString text) {
    qsizetype at = text.indexOf(u"_x");
    while (at >= 0 && at + 7 <= text.size()) {
        bool ok = false;
        const uint code = QStringView(text).mid(at + 2, 4).toUInt(&ok, 16);
        if (ok && text.at(at + 6) == u'_') {
            text.replace(at, 7, QChar(char16_t(code)));
            at = text.indexOf(u"_x", at + 1);
        } else {
            at = text.indexOf(u"_x", at + 2);
        }
    }
    return text;
}

// The text of a shared or inline string: plain <t>, or rich-text runs <r><t>; phonetic guides are not
// part of the value.
QString readRichText(QXmlStreamReader& xml) {
    const QString end = xml.name().toString();
    QString text;
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isStartElement()) {
            if (xml.name() == u"t")
                text += xml.readElementText();
            else if (xml.name() == u"rPh" || xml.name() == u"phoneticPr")
                xml.skipCurrentElement();
        } else if (xml.isEndElement() && xml.name() == end) {
            break;
        }
    }
    return text.contains(u"_x") ? decodeEscapes(text) : text;
}

// "BC12" to row 12, column 55.
bool parseReference(QStringView reference, int& row, int& column) {
    int c = 0;
    qsizetype i = 0;
    for (; i < reference.size(); ++i) {
        const char16_t letter = reference[i].toUpper().unicode();
        if (letter < u'A' || letter > u'Z') break;
        c = c * 26 + (letter - u'A' + 1);
        if (c > kMaxColumns) return false;
    }
    bool ok = false;
    const int r = reference.mid(i).toInt(&ok);
    if (i == 0 || !ok || r < 1 || r > kMaxRows) return false;
    row = r;
    column = c;
    return true;
}

QString builtinFormat(int id) {
    static const QHash<int, QString> formats = {
        {0, "General"},
        {1, "0"},
        {2, "0.00"},
        {3, "#,##0"},
        {4, "#,##0.00"},
        {9, "0%"},
        {10, "0.00%"},
        {11, "0.00E+00"},
        {12, "# ?/?"},
        {13, "# ?\?/??"},
        {14, "mm-dd-yy"},
        {15, "d-mmm-yy"},
        {16, "d-mmm"},
        {17, "mmm-yy"},
        {18, "h:mm AM/PM"},
        {19, "h:mm:ss AM/PM"},
        {20, "h:mm"},
        {21, "h:mm:ss"},
        {22, "m/d/yy h:mm"},
        {37, "#,##0 ;(#,##0)"},
        {38, "#,##0 ;[Red](#,##0)"},
        {39, "#,##0.00;(#,##0.00)"},
        {40, "#,##0.00;[Red](#,##0.00)"},
        {45, "mm:ss"},
        {46, "[h]:mm:ss"},
        {47, "mmss.0"},
        {48, "##0.0E+0"},
        {49, "@"},
    };
    return formats.value(id, QStringLiteral("General"));
}

// Built-in ids shown as dates or times, including the ones East Asian locales define.
bool isBuiltinDate(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

} // namespace

struct XlsxReader::Data {
    enum class Kind : quint8 { Number, Text, Boolean };
    // 24 bytes a cell; texts live once in `strings`.
    struct Cell {
        double number = 0;
        quint32 text = 0;
        quint32 style = 0;
        Kind kind = Kind::Number;
        bool present = false;
    };
    struct Sheet {
        QString name;
        QString part;
        bool loaded = false;
        int rowCount = 0;
        int columnCount = 0;
        std::vector<std::vector<Cell>> rows;
    };
    struct Style {
        QString format;
        bool date = false;
    };

    QString path;
    std::unique_ptr<zip_t, void (*)(zip_t*)> archive{nullptr, zip_discard};
    std::vector<Sheet> sheets;
    std::vector<QString> strings; // shared strings first, then inline texts as sheets are read
    std::vector<Style> styles;    // by cell style index (the "s" attribute)

    [[noreturn]] void fail(const QString& cause) const {
        throw SheetError(
            QStringLiteral("No se pudo leer el libro \"%1\": %2").arg(path, cause).toStdString());
    }
    bool has(const QString& part) const {
        return zip_name_locate(archive.get(), part.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
    }
    // Calls read(xml) on a member of the archive; a missing optional member is skipped.
    template <typename Read> void parse(const QString& part, bool required, Read read) const {
        if (!has(part)) {
            if (required) fail(QStringLiteral("falta %1").arg(part));
            return;
        }
        ZipEntry entry(archive.get(), part);
        if (!entry.isOpen()) fail(QStringLiteral("no se puede abrir %1").arg(part));
        QXmlStreamReader xml(&entry);
        read(xml);
        if (xml.hasError()) fail(QStringLiteral("%1: %2").arg(part, xml.errorString()));
    }
    // Relationships of a part: id to type and target, targets made absolute within the archive.
    QHash<QString, Relationship> relationships(const QString& source) const {
        const qsizetype slash = source.lastIndexOf(u'/');
        const QString folder = source.left(slash + 1);
        const QString relsPart =
            folder + QStringLiteral("_rels/") + source.mid(slash + 1) + QStringLiteral(".rels");
        QHash<QString, Relationship> result;
        parse(relsPart, false, [&](QXmlStreamReader& xml) {
            while (!xml.atEnd() && !xml.hasError()) {
                if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
                    continue;
                const auto a = xml.attributes();
                QString target = a.value(QLatin1String("Target")).toString();
                if (a.value(QLatin1String("TargetMode")) == u"External") continue;
                target = target.startsWith(u'/') ? target.mid(1) : QDir::cleanPath(folder + target);
                result.insert(a.value(QLatin1String("Id")).toString(),
                              {a.value(QLatin1String("Type")).toString(), target});
            }
        });
        return result;
    }
    static QString targetOfType(const QHash<QString, Relationship>& rels, QStringView typeEnd) {
        for (const auto& r : rels)
            if (r.type.endsWith(typeEnd)) return r.target;
        return {};
    }

    void open();
    void readWorkbook(const QString& workbookPart);
    void readStyles(const QString& part);
    void readSharedStrings(const QString& part);
    Sheet& sheet(int index);
    void load(Sheet& sheet);
    const Cell* cell(int sheetIndex, int row, int column);
};

void XlsxReader::Data::open() {
    int error = 0;
    archive.reset(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
    if (!archive) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, error);
        const QString cause = QString::fromUtf8(zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
        fail(cause);
    }
    QString workbookPart = targetOfType(relationships(QString()), u"/officeDocument");
    if (workbookPart.isEmpty()) workbookPart = QStringLiteral("xl/workbook.xml");
    readWorkbook(workbookPart);
}

void XlsxReader::Data::readWorkbook(const QString& workbookPart) {
    const auto rels = relationships(workbookPart);
    parse(workbookPart, true, [&](QXmlStreamReader& xml) {
        while (!xml.atEnd() && !xml.hasError()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"sheet") continue;
            // The relationship id is r:id, whatever the prefix and the (transitional or strict)
            // namespace behind it.
            QString id;
            for (const auto& attribute : xml.attributes())
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                    id = attribute.value().toString();
            const auto rel = rels.constFind(id);
            if (rel == rels.cend()) fail(QStringLiteral("la hoja %1 no tiene contenido").arg(id));
            Sheet& added = sheets.emplace_back();
            added.name = xml.attributes().value(QLatin1String("name")).toString();
            added.part = rel->target;
        }
    });
    if (sheets.empty()) fail(QStringLiteral("el libro no tiene hojas"));
    readStyles(targetOfType(rels, u"/styles"));
    readSharedStrings(targetOfType(rels, u"/sharedStrings"));
}

void XlsxReader::Data::readStyles(const QString& part) {
    if (part.isEmpty()) return;
    QHash<int, QString> custom;
    std::vector<int> formatIds;
    parse(part, false, [&](QXmlStreamReader& xml) {
        bool inCellFormats = false;
        while (!xml.atEnd() && !xml.hasError()) {
            xml.readNext();
            if (xml.isStartElement()) {
                const auto a = xml.attributes();
                if (xml.name() == u"numFmt")
                    custom.insert(a.value(QLatin1String("numFmtId")).toInt(),
                                  a.value(QLatin1String("formatCode")).toString());
                else if (xml.name() == u"cellXfs")
                    inCellFormats = true;
                else if (xml.name() == u"xf" && inCellFormats)
                    formatIds.push_back(a.value(QLatin1String("numFmtId")).toInt());
            } else if (xml.isEndElement() && xml.name() == u"cellXfs") {
                inCellFormats = false;
            }
        }
    });
    for (int id : formatIds) {
        const auto own = custom.constFind(id);
        if (own != custom.cend())
            styles.push_back({*own, isDateFormat(*own)});
        else
            styles.push_back({builtinFormat(id), isBuiltinDate(id)});
    }
}

void XlsxReader::Data::readSharedStrings(const QString& part) {
    if (part.isEmpty()) return;
    parse(part, false, [&](QXmlStreamReader& xml) {
        while (!xml.atEnd() && !xml.hasError())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
                strings.push_back(readRichText(xml));
    });
}

XlsxReader::Data::Sheet& XlsxReader::Data::sheet(int index) {
    if (index < 0 || size_t(index) >= sheets.size()) fail(QStringLiteral("no existe la hoja %1").arg(index));
    Sheet& s = sheets[size_t(index)];
    if (!s.loaded) load(s);
    return s;
}

void XlsxReader::Data::load(Sheet& s) {
    const auto sharedCount = strings.size();
    parse(s.part, true, [&](QXmlStreamReader& xml) {
        int rowNumber = 0;
        int columnNumber = 0;
        while (!xml.atEnd() && !xml.hasError()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == u"row") {
                // r may be left out; a row then follows the one before it.
                const int r = xml.attributes().value(QLatin1String("r")).toInt();
                rowNumber = r > 0 ? r : rowNumber + 1;
                columnNumber = 0;
                continue;
            }
            if (xml.name() != u"c") continue;

            const auto a = xml.attributes();
            int row = rowNumber;
            int column = columnNumber + 1;
            if (a.hasAttribute(QLatin1String("r")) &&
                !parseReference(a.value(QLatin1String("r")), row, column)) {
                xml.skipCurrentElement();
                continue;
            }
            columnNumber = column;
            const QString type = a.value(QLatin1String("t")).toString();
            Cell cell;
            cell.style = a.value(QLatin1String("s")).toUInt();
            QString value;
            std::optional<QString> inlineText;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"v")
                    value = xml.readElementText();
                else if (xml.name() == u"is")
                    inlineText = readRichText(xml);
                else
                    xml.skipCurrentElement();
            }

            auto text = [&](QString t) {
                cell.kind = Kind::Text;
                cell.text = quint32(strings.size());
                strings.push_back(std::move(t));
            };
            if (type == u"s") {
                bool ok = false;
                const uint index = value.toUInt(&ok);
                if (!ok || index >= sharedCount) continue;
                cell.kind = Kind::Text;
                cell.text = index;
            } else if (type == u"inlineStr") {
                if (!inlineText) continue;
                text(*inlineText);
            } else if (type == u"str" || type == u"e") {
                text(value);
            } else if (type == u"b") {
                cell.kind = Kind::Boolean;
                cell.number = (value == u"1" || value == u"true") ? 1 : 0;
            } else if (type == u"d") {
                const QDateTime when = QDateTime::fromString(value, Qt::ISODate);
                const auto serial = when.isValid() ? dateTimeToSerial(when) : std::nullopt;
                if (!serial) continue;
                cell.number = *serial;
            } else {
                bool ok = false;
                cell.number = value.toDouble(&ok);
                if (!ok) continue;
            }
            if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) continue;
            cell.present = true;
            if (s.rows.size() < size_t(row)) s.rows.resize(size_t(row));
            auto& cells = s.rows[size_t(row - 1)];
            if (cells.size() < size_t(column)) cells.resize(size_t(column));
            cells[size_t(column - 1)] = cell;
            s.rowCount = std::max(s.rowCount, row);
            s.columnCount = std::max(s.columnCount, column);
        }
    });
    s.loaded = true;
}

const XlsxReader::Data::Cell* XlsxReader::Data::cell(int sheetIndex, int row, int column) {
    const Sheet& s = sheet(sheetIndex);
    if (row < 1 || column < 1 || size_t(row) > s.rows.size()) return nullptr;
    const auto& cells = s.rows[size_t(row - 1)];
    if (size_t(column) > cells.size() || !cells[size_t(column - 1)].present) return nullptr;
    return &cells[size_t(column - 1)];
}

XlsxReader::XlsxReader(const QString& path) : d_(std::make_unique<Data>()) {
    d_->path = path;
    d_->open();
}

XlsxReader::~XlsxReader() = default;

QStringList XlsxReader::sheetNames() const {
    QStringList names;
    for (const auto& s : d_->sheets)
        names << s.name;
    return names;
}

int XlsxReader::sheetCount() const {
    return int(d_->sheets.size());
}

int XlsxReader::rowCount(int sheet) const {
    return d_->sheet(sheet).rowCount;
}

int XlsxReader::columnCount(int sheet) const {
    return d_->sheet(sheet).columnCount;
}

QVariant XlsxReader::cell(int sheet, int row, int column) const {
    const Data::Cell* c = d_->cell(sheet, row, column);
    if (!c) return {};
    switch (c->kind) {
    case Data::Kind::Text:
        return d_->strings[c->text];
    case Data::Kind::Boolean:
        return c->number != 0;
    case Data::Kind::Number:
        break;
    }
    return c->number;
}

bool XlsxReader::isDate(int sheet, int row, int column) const {
    const Data::Cell* c = d_->cell(sheet, row, column);
    return c && c->kind == Data::Kind::Number && c->style < d_->styles.size() && d_->styles[c->style].date;
}

QString XlsxReader::numberFormat(int sheet, int row, int column) const {
    const Data::Cell* c = d_->cell(sheet, row, column);
    if (!c || c->style >= d_->styles.size()) return QStringLiteral("General");
    return d_->styles[c->style].format;
}

QDate XlsxReader::fromSerial(double serial) {
    return serialToDate(serial);
}

bool XlsxReader::isDateFormat(const QString& formatCode) {
    for (qsizetype i = 0; i < formatCode.size(); ++i) {
        const QChar c = formatCode.at(i);
        if (c == u'"') {
            const qsizetype close = formatCode.indexOf(u'"', i + 1);
            if (close < 0) return false;
            i = close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i; // the next character is shown literally or used as padding
        } else if (c == u'[') {
            const qsizetype close = formatCode.indexOf(u']', i + 1);
            if (close < 0) return false;
            // [h], [mm], [ss] are elapsed times; anything else ([Red], [$-409], [>100]) is a tag.
            const QString tag = formatCode.mid(i + 1, close - i - 1).toLower();
            if (!tag.isEmpty() && tag.count(tag.at(0)) == tag.size() &&
                QStringLiteral("hms").contains(tag.at(0)))
                return true;
            i = close;
        } else if (QStringLiteral("dmyDMY").contains(c)) {
            return true;
        }
    }
    return false;
}

} // namespace sheet
