#pragma once
// The modulus-11 check digit of a NIT, printed after the number ("900.123.456-8") and stored in
// PROVEEDORES.DV.

#include <QString>

namespace app {

class NitCheckDigit {
public:
    // Digits only, at most 15; an empty text gives 0. Throws std::invalid_argument otherwise.
    static int compute(const QString& digits);
    // The same for a NIT held as a number (whole, not negative).
    static int compute(double nit);
};

} // namespace app
