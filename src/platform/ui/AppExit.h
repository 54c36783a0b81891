#pragma once
// The one way to end the application from inside a window (for example after too many failed
// logins). The desktop handler quits the event loop and exits; tests install a handler that only
// records the request, so they can check it without ending the test run.

#include <functional>

namespace ui {

class AppExit {
public:
    static void request(int code = 0);
    // Replaces the handler and returns the previous one; an empty function restores the default.
    static std::function<void(int)> setHandler(std::function<void(int)> handler);
};

} // namespace ui
