#pragma once
// Makes the demonstration data set in memory from the catalogue, with the pseudo-random choices of a
// fixed seed: the same set on every run, its documents dated backwards from `today`.

#include "demo/DemoModel.h"

namespace demo {

class DemoBuilder {
public:
    // ownNit is the NIT of the installation's own company (REGISTRO), the third party of internal
    // documents.
    static model::DemoSet build(const QDate& today, double ownNit);
};

} // namespace demo
