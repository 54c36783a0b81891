#pragma once
// Stores a demonstration data set: the company profile and masters, items with their prices and
// suppliers, third parties, users with their menus, and the documents with their lines.

#include "demo/DemoModel.h"
#include "platform/db/Session.h"

#include <functional>

namespace demo {

class DemoWriter {
public:
    // Runs inside the caller's transaction; `step` is told each group of tables before it is written.
    static void write(db::Session& session, const model::DemoSet& set,
                      const std::function<void(const char*)>& step = {});
};

} // namespace demo
