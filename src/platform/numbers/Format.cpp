#include "platform/numbers/Format.h"

#include "platform/numbers/Rounding.h"

#include <QRegularExpression>
#include <QTime>
#include <algorithm>
#include <cmath>

namespace numbers {

namespace {

bool isNumberMaskChar(QChar c) {
    return c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char(',') || c == QLatin1Char('.');
}

// A number without a mask: whole numbers without a point, others with the digits they need.
QString formatPlain(double value) {
    if (!std::isfinite(value)) return {};
    if (value == std::trunc(value) && std::fabs(value) < 1e15) return QString::number(qint64(value));
    QString s = QString::number(roundTo(value, 6), 'f', 6);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

QString groupThousands(const QString& digits) {
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

const char* const kMonths[] = {"enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
                               "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};
const char* const kMonthsShort[] = {"ene", "feb", "mar", "abr", "may", "jun",
                                    "jul", "ago", "sep", "oct", "nov", "dic"};
const char* const kDays[] = {"lunes", "martes", "miércoles", "jueves", "viernes", "sábado", "domingo"};
const char* const kDaysShort[] = {"lun", "mar", "mié", "jue", "vie", "sáb", "dom"};

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString formatMask(double value, const QString& mask) {
    if (mask.isEmpty()) return formatPlain(value);
    if (!std::isfinite(value)) return {};

    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (!isNumberMaskChar(mask[i])) continue;
        if (first < 0) first = i;
        last = i;
    }
    if (first < 0) return mask; // no placeholder at all: the mask is a fixed text
    const QString prefix = mask.left(first);
    const QString suffix = mask.mid(last + 1);
    const QString body = mask.mid(first, last - first + 1);
    const qsizetype point = body.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? body : body.left(point);
    const QString fraction = point < 0 ? QString() : body.mid(point + 1);

    const bool grouped = whole.contains(QLatin1Char(','));
    const int minWhole = int(whole.count(QLatin1Char('0')));
    int decimals = 0, minDecimals = 0;
    for (const QChar c : fraction) {
        if (c == QLatin1Char('#')) ++decimals;
        if (c == QLatin1Char('0')) minDecimals = ++decimals;
    }

    const double rounded = roundTo(value, decimals);
    const bool negative = rounded < 0;
    const QString digits = QString::number(std::fabs(rounded), 'f', decimals);
    const qsizetype dot = digits.indexOf(QLatin1Char('.'));
    QString intDigits = dot < 0 ? digits : digits.left(dot);
    QString fracDigits = dot < 0 ? QString() : digits.mid(dot + 1);

    if (intDigits == QLatin1String("0")) intDigits.clear();
    if (intDigits.size() < minWhole)
        intDigits = QString(minWhole - intDigits.size(), QLatin1Char('0')) + intDigits;
    if (grouped) intDigits = groupThousands(intDigits);
    while (fracDigits.size() > minDecimals && fracDigits.endsWith(QLatin1Char('0')))
        fracDigits.chop(1);

    QString out = prefix;
    if (negative) out += QLatin1Char('-');
    out += intDigits;
    if (!fracDigits.isEmpty()) out += QLatin1Char('.') + fracDigits;
    return out + suffix;
}

QString formatDate(const QDateTime& moment, const QString& mask) {
    if (!moment.isValid()) return {};
    const QDate date = moment.date();
    const QTime time = moment.time();
    QString out;
    bool afterHour = false; // "mm" right after an hour is minutes
    for (qsizetype i = 0; i < mask.size();) {
        const QChar c = mask[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype close = mask.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? mask.size() : close;
            out += mask.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const QChar letter = c.toLower();
        qsizetype run = 1;
        while (i + run < mask.size() && mask[i + run].toLower() == letter)
            ++run;
        const char l = letter.toLatin1();
        switch (l) {
        case 'd':
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += twoDigits(date.day());
            else if (run == 3)
                out += QString::fromUtf8(kDaysShort[date.dayOfWeek() - 1]);
            else
                out += QString::fromUtf8(kDays[date.dayOfWeek() - 1]);
            afterHour = false;
            break;
        case 'm':
            if (afterHour && run <= 2) {
                out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            } else {
                if (run == 1)
                    out += QString::number(date.month());
                else if (run == 2)
                    out += twoDigits(date.month());
                else if (run == 3)
                    out += QString::fromLatin1(kMonthsShort[date.month() - 1]);
                else
                    out += QString::fromLatin1(kMonths[date.month() - 1]);
            }
            afterHour = false;
            break;
        case 'y':
            out += run <= 2 ? twoDigits(date.year() % 100) : QString::number(date.year());
            afterHour = false;
            break;
        case 'h':
            out += run == 1 ? QString::number(time.hour()) : twoDigits(time.hour());
            afterHour = true;
            break;
        case 'n':
            out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            break;
        case 's':
            out += run == 1 ? QString::number(time.second()) : twoDigits(time.second());
            break;
        default:
            out += mask.mid(i, run);
            break;
        }
        i += run;
    }
    return out;
}

QString formatDate(const QDate& date, const QString& mask) {
    if (!date.isValid()) return {};
    return formatDate(QDateTime(date, QTime(0, 0)), mask);
}

bool isDateMask(const QString& mask) {
    for (const QChar c : mask) {
        const QChar l = c.toLower();
        if (l == QLatin1Char('d') || l == QLatin1Char('m') || l == QLatin1Char('y')) return true;
    }
    return false;
}

QString formatValue(const QVariant& value, const QString& mask) {
    if (!value.isValid() || value.isNull()) return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return !mask.isEmpty() && !isDateMask(mask) ? formatMask(value.toDouble(), mask)
                                                    : formatPlain(value.toDouble());
    case QMetaType::QDate:
        return formatDate(value.toDate(), isDateMask(mask) ? mask : QStringLiteral("dd/mm/yyyy"));
    case QMetaType::QDateTime:
        return formatDate(value.toDateTime(),
                          isDateMask(mask) ? mask : QStringLiteral("dd/mm/yyyy hh:nn:ss"));
    case QMetaType::QTime:
        return formatDate(QDateTime(QDate(2000, 1, 1), value.toTime()),
                          mask.isEmpty() ? QStringLiteral("hh:nn:ss") : mask);
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

std::optional<double> parseNumber(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^[+-]?(?:[0-9]{1,3}(?:,[0-9]{3})+|[0-9]*)(?:\\.[0-9]*)?$"));
    const QString t = text.trimmed();
    if (!pattern.match(t).hasMatch()) return std::nullopt;
    if (!std::any_of(t.begin(), t.end(),
                     [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return std::nullopt;
    QString plain = t;
    plain.remove(QLatin1Char(','));
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace numbers
