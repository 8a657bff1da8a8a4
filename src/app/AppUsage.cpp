#include "app/AppUsage.h"

namespace emr {

TProgramUsage AppUsage() {
    return {
        "emrpatch",
        "Shows the window \"电子病历补丁\": \"确定\" rewrites five of the current user's regional settings "
        "(dates, times and the morning and afternoon designators), \"退出\" quits.",
        {}};
}

} // namespace emr
