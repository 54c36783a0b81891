#include "platform/db/ConnectionParams.h"

namespace db {

bool ConnectionParams::isRemote() const {
    const qsizetype colon = database.indexOf(QLatin1Char(':'));
    if (colon <= 0) return false;
    if (colon == 1 && database.at(0).isLetter()) return false; // drive letter
    return true;
}

} // namespace db
