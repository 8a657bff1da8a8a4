#include "framework/controls/AccessibleChanges.h"

#include <utility>

namespace emr {

namespace {

TAccessibleChanges::TListener& Listener() {
    static TAccessibleChanges::TListener listener;
    return listener;
}

} // namespace

void TAccessibleChanges::SetListener(TListener listener) {
    Listener() = std::move(listener);
}

bool TAccessibleChanges::Listening() {
    return static_cast<bool>(Listener());
}

void TAccessibleChanges::Report(platform::TAccessibleEvent event, const TComponent* what) {
    if (what && Listener()) Listener()(event, what);
}

} // namespace emr
