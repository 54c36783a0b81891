#pragma once
// The reports of the application shell, for the report registry.

namespace report {
class Registry;
}

namespace app {

void registerReports(report::Registry& registry);

} // namespace app
