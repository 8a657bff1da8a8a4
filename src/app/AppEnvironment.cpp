#include "app/AppEnvironment.h"

namespace emr {

TAppEnvironment& AppEnvironment() {
    static TAppEnvironment environment;
    return environment;
}

} // namespace emr
