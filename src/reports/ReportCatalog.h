#pragma once
// Every library that declares reports registers them here, so the command line, the golden tests and
// the windows of the GUI see the same catalogue.

namespace report {
class Registry;
}

namespace reports {

// Registers every declaration once (later calls do nothing) and returns the registry.
report::Registry& catalog();

} // namespace reports
