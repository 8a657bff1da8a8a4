#pragma once

#include "toolbar/AdvCustomToolBarButton.h"

namespace emr {

/// A button a toolbar generates for one top-level item of its main menu. It paints
/// its down look also while its menu is dropped, takes its colours from the menu
/// styler's root item when the toolbar has a menu, and always turns on vertical toolbars.
class TAdvToolBarMenuButton : public TAdvCustomToolBarButton {
    EMR_CLASS(TAdvToolBarMenuButton)
public:
    explicit TAdvToolBarMenuButton(TComponent* owner);

    bool IsMenuButton() const override { return true; }

protected:
    void DrawFace(TCanvas& canvas) override;
    bool FaceRotated() const override { return IsVertical(Position()); }
};

} // namespace emr
