#pragma once
// The permission list, "MENU DEL SISTEMA": every user's permission string (MENU.OPCIONES), printed
// from the users window.

#include "platform/report/ReportDefinition.h"

namespace app {

report::ReportDefinition menuReport();

} // namespace app
