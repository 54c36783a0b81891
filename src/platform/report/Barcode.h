#pragma once
// Interleaved 2 of 5 barcode of a digit string, drawn in pixels: the item labels, the item window
// and any report element that prints a code read by the warehouse scanners.

#include <QPoint>
#include <QString>

class QPainter;

namespace report {

class Barcode {
public:
    // Draws the code with its top-left corner at origin: a white background under the code's own
    // width, then black bars 80 pixels high, 1 pixel for a narrow and 3 for a wide element. Digits
    // go in pairs (bars from the first, spaces from the second), so an odd last digit is dropped;
    // at most 99 pairs are drawn. Throws std::invalid_argument for anything but the digits 0-9.
    static void draw(QPainter& painter, const QString& digits, QPoint origin = {});
    // Width in pixels of what draw() paints: 9 for the start and stop codes plus 18 a pair.
    static int width(const QString& digits);

    static constexpr int kHeight = 80;
    static constexpr int kMaxPairs = 99;
};

} // namespace report
