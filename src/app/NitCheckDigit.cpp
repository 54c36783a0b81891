#include "app/NitCheckDigit.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace app {

namespace {

// Weight of the k-th digit counted from the right.
constexpr std::array<int, 15> kWeights = {3, 7, 13, 17, 19, 23, 29, 37, 41, 43, 47, 53, 59, 67, 71};

} // namespace

int NitCheckDigit::compute(const QString& digits) {
    if (digits.size() > qsizetype(kWeights.size()))
        throw std::invalid_argument("a NIT has at most 15 digits: " + digits.toStdString());
    int sum = 0;
    for (qsizetype k = 0; k < digits.size(); ++k) {
        const QChar c = digits.at(digits.size() - 1 - k);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw std::invalid_argument("a NIT is made of digits only: " + digits.toStdString());
        sum += (c.unicode() - '0') * kWeights[size_t(k)];
    }
    const int r = sum % 11;
    return r < 2 ? r : 11 - r;
}

int NitCheckDigit::compute(double nit) {
    if (nit < 0 || nit != std::floor(nit)) throw std::invalid_argument("a NIT is a whole positive number");
    return compute(QString::number(qint64(nit)));
}

} // namespace app
