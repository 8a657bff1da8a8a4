#include "framework/core/Object.h"

#include "framework/core/Exception.h"

namespace emr {

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
    std::string sourceName = source ? std::string(source->ClassName()) : std::string("nil");
    throw Exception("Cannot assign a " + sourceName + " to a " + std::string(ClassName()));
}

} // namespace emr
