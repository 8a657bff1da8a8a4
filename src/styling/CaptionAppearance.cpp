#include "styling/CaptionAppearance.h"

namespace emr {

void TCaptionAppearance::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TCaptionAppearance*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    AssignFields(*this, *other);
}

} // namespace emr
