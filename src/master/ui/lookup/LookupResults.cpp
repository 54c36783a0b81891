#include "master/ui/lookup/LookupResults.h"

namespace master {

LookupResults& lookupResults() {
    static LookupResults results;
    return results;
}

} // namespace master
