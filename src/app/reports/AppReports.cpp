#include "app/reports/AppReports.h"

#include "app/reports/MenuReport.h"
#include "app/reports/UsersReport.h"
#include "platform/report/Registry.h"

namespace app {

void registerReports(report::Registry& registry) {
    registry.add(usersReport());
    registry.add(menuReport());
}

} // namespace app
