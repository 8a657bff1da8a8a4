#include "styling/ContainerAppearance.h"

namespace emr {

void TContainerAppearance::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TContainerAppearance*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    AssignFields(*this, *other);
}

} // namespace emr
