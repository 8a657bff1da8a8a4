#pragma once

#include "framework/forms/Menu.h"

namespace emr {

class TCustomAdvMenuStyler;
class TCustomImageList;

/// A main menu whose drop-down menus are painted from a menu styler. A toolbar
/// that shows it as a menu bar hands its popups the toolbar styler's menu styler
/// instead; the menu's own styler serves menus shown without a toolbar.
class TAdvMainMenu : public TMainMenu {
    EMR_CLASS(TAdvMainMenu)
public:
    explicit TAdvMainMenu(TComponent* owner) : TMainMenu(owner) {}

    TCustomAdvMenuStyler* MenuStyler() const { return menuStyler_; }
    void SetMenuStyler(TCustomAdvMenuStyler* styler);
    /// Images for disabled items; the popups a toolbar drops take them along.
    TCustomImageList* DisabledImages() const { return disabledImages_; }
    void SetDisabledImages(TCustomImageList* images);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TCustomAdvMenuStyler* menuStyler_ = nullptr;
    TCustomImageList* disabledImages_ = nullptr;
};

} // namespace emr
