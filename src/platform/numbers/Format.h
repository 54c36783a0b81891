#pragma once
// The one place where numbers and dates become text and typed text becomes a number. The separators
// are fixed (thousands ",", decimals ".") whatever the workstation's regional settings, because the
// reports, exports and typed amounts of every installation must read the same.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

namespace numbers {

// Formats a number with a layout mask such as "###,###.00", "###,###.", "#,##0.00" or "###,###":
//   "#"  an optional digit; "0" a digit always printed (so "###,###.00" prints 0 as ".00");
//   ","  anywhere before the point: group the whole part by thousands;
//   "."  the decimal point; the placeholders after it give the decimals ("0" kept, "#" dropped
//        when trailing zero). A point with no placeholder after it prints no point and no decimals.
// Other characters before the first or after the last placeholder are printed as they stand. The
// value is rounded to the mask's decimals with numbers::roundTo (half to even); a value that rounds
// to zero prints without a minus sign. An empty mask prints the plain value.
QString formatMask(double value, const QString& mask);

// Formats a date with a mask: "dd" day of two digits, "d" day, "mm" month of two digits, "m" month,
// "mmm" and "mmmm" the Spanish month abbreviation and name, "yyyy" and "yy" the year; with a time,
// "hh" hours, "nn" minutes ("mm" right after an hour also means minutes), "ss" seconds. Letters
// are case-insensitive; text in quotes and any other character is copied. Month names are written
// in lower case ("enero", "ene"), as Spanish writes them inside a date. An invalid date prints "".
QString formatDate(const QDate& date, const QString& mask);
QString formatDate(const QDateTime& moment, const QString& mask);

// Any value of a report or grid: numbers through formatMask, dates and timestamps through
// formatDate (a mask of the other kind is ignored), text as it stands. Without a mask a number
// prints plainly (no grouping, no trailing zeros), a date as "dd/mm/yyyy" and a timestamp as
// "dd/mm/yyyy hh:nn:ss".
QString formatValue(const QVariant& value, const QString& mask = {});

// True when the mask is a date mask (has day, month or year letters) rather than a number mask.
bool isDateMask(const QString& mask);

// Reads a typed number with the fixed separators: an optional sign, digits grouped by "," in threes
// or not grouped at all, an optional "." and decimals ("1,234.5", "-1234.50", ".5"). Surrounding
// blanks are ignored. Anything else, including "12,34" and the comma decimal "1234,5", is refused.
std::optional<double> parseNumber(const QString& text);

} // namespace numbers
