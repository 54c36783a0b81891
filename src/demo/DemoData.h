#pragma once
// Demonstration data for a new installation: a building-supplies business with two companies, a few
// hundred items, forty third parties, users and a few dozen documents that leave no warehouse short.

#include "platform/db/Session.h"

#include <QString>
#include <QtGlobal>
#include <functional>

namespace demo {

class DemoData {
public:
    // Writes the whole data set in one transaction (adding the system rows when they are missing).
    // Refused with std::runtime_error, before anything is written, when the database already holds
    // companies, items or documents. Document dates run over the last three months up to today;
    // everything else is the same on every load.
    static void load(db::Session& session, const std::function<void(const QString&)>& progress = {});

    static constexpr quint64 kSeed = 20240611;
};

} // namespace demo
