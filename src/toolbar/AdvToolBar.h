#pragma once

#include "toolbar/AdvCustomToolBar.h"

namespace emr {

/// The toolbar that stored layouts create; it publishes the toolbar's properties.
class TAdvToolBar : public TAdvCustomToolBar {
    EMR_CLASS(TAdvToolBar)
public:
    explicit TAdvToolBar(TComponent* owner) : TAdvCustomToolBar(owner) {}
};

} // namespace emr
