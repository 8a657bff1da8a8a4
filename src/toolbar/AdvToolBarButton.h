#pragma once

#include "toolbar/AdvCustomToolBarButton.h"

namespace emr {

/// The toolbar button that stored layouts create; it publishes the button's properties.
class TAdvToolBarButton : public TAdvCustomToolBarButton {
    EMR_CLASS(TAdvToolBarButton)
public:
    explicit TAdvToolBarButton(TComponent* owner) : TAdvCustomToolBarButton(owner) {}
};

} // namespace emr
