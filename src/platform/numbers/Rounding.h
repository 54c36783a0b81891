#pragma once
// The one rounding rule of the system: to the nearest whole number, a half going to the even
// neighbour (2.5 gives 2, 3.5 gives 4). A value rounded to one or two decimals is multiplied by 10 or
// 100, rounded so and divided back.

namespace numbers {

double roundHalfEven(double value);
double roundTo(double value, int decimals);

} // namespace numbers
