#include "platform/sheet/DateSerial.h"

#include <cmath>

namespace sheet {

namespace {
// Serial 61 is 1 March 1900; from there on the count is plain days since 30 December 1899. Before it
// the phantom leap day shifts every serial by one.
const QDate kEpoch(1899, 12, 30);
const QDate kFirstMarch1900(1900, 3, 1);
const QDate kFirstDay(1900, 1, 1);
const QDate kLastDay(9999, 12, 31);
} // namespace

std::optional<double> dateToSerial(QDate date) {
    if (!date.isValid() || date < kFirstDay || date > kLastDay) return std::nullopt;
    qint64 days = kEpoch.daysTo(date);
    if (date < kFirstMarch1900) --days;
    return double(days);
}

std::optional<double> dateTimeToSerial(const QDateTime& dateTime) {
    auto day = dateToSerial(dateTime.date());
    if (!day) return std::nullopt;
    return *day + timeToSerial(dateTime.time());
}

double timeToSerial(QTime time) {
    if (!time.isValid()) return 0;
    return time.msecsSinceStartOfDay() / 86400000.0;
}

QDate serialToDate(double serial) {
    if (!std::isfinite(serial) || serial < 1) return {};
    const auto days = qint64(std::floor(serial));
    if (days == 60) return {};
    const QDate date = days < 60 ? kEpoch.addDays(days + 1) : kEpoch.addDays(days);
    return date <= kLastDay ? date : QDate();
}

} // namespace sheet
