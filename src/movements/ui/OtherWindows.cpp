#include "movements/ui/OtherWindows.h"

namespace movements {

OtherWindows& otherWindows() {
    static OtherWindows windows;
    return windows;
}

} // namespace movements
