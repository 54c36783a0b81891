#include "platform/report/Barcode.h"

#include <QPainter>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace report {

namespace {

// Five elements a digit, "1" wide and "0" narrow.
const char* const kPatterns[10] = {"00110", "10001", "01001", "11000", "00101",
                                   "10100", "01100", "00011", "10010", "01010"};

// The element widths in drawing order, bar first: start code, the interleaved pairs, stop code.
std::vector<int> elements(const QString& digits) {
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw std::invalid_argument("El código de barras solo admite dígitos: " + digits.toStdString());
    std::vector<int> out = {1, 1, 1, 1};
    const int pairs = std::min(int(digits.size()) / 2, Barcode::kMaxPairs);
    for (int p = 0; p < pairs; ++p) {
        const char* bars = kPatterns[digits[2 * p].unicode() - '0'];
        const char* spaces = kPatterns[digits[2 * p + 1].unicode() - '0'];
        for (int k = 0; k < 5; ++k) {
            out.push_back(bars[k] == '1' ? 3 : 1);
            out.push_back(spaces[k] == '1' ? 3 : 1);
        }
    }
    out.insert(out.end(), {3, 1, 1});
    return out;
}

} // namespace

int Barcode::width(const QString& digits) {
    int w = 0;
    for (const int e : elements(digits))
        w += e;
    return w;
}

void Barcode::draw(QPainter& painter, const QString& digits, QPoint origin) {
    const std::vector<int> widths = elements(digits);
    int total = 0;
    for (const int e : widths)
        total += e;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillRect(QRect(origin.x(), origin.y(), total, kHeight), Qt::white);
    int x = origin.x();
    bool bar = true;
    for (const int w : widths) {
        if (bar) painter.fillRect(QRect(x, origin.y(), w, kHeight), Qt::black);
        x += w;
        bar = !bar;
    }
    painter.restore();
}

} // namespace report
