#pragma once
// The users list, "USUARIOS DEL SISTEMA", printed from the users window.

#include "platform/report/ReportDefinition.h"

namespace app {

report::ReportDefinition usersReport();

} // namespace app
