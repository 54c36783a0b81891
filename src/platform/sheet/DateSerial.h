#pragma once
// Dates as spreadsheets store them: a serial day number counted from 1 = 1 January 1900, with the
// fictitious 29 February 1900 (serial 60) that the spreadsheet programs keep for compatibility.

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <optional>

namespace sheet {

// Serial of a date, or nothing for dates before 1900 or after 9999, which have none.
std::optional<double> dateToSerial(QDate date);
std::optional<double> dateTimeToSerial(const QDateTime& dateTime);
// A time of day as a fraction of a day (12:00 is 0.5).
double timeToSerial(QTime time);
// The day a serial falls on; invalid for serials below 1, for 60 and beyond 31/12/9999.
QDate serialToDate(double serial);

} // namespace sheet
