#include "reports/ReportCatalog.h"

#include "app/reports/AppReports.h"
#include "master/reports/MasterReports.h"
#include "platform/report/Registry.h"

namespace reports {

report::Registry& catalog() {
    static const bool registered = [] {
        app::registerReports(report::Registry::instance());
        master::registerReports(report::Registry::instance());
        return true;
    }();
    (void)registered;
    return report::Registry::instance();
}

} // namespace reports
