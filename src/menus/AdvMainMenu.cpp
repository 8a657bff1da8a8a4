#include "menus/AdvMainMenu.h"

#include "framework/graphics/ImageList.h"
#include "styling/AdvMenuStyler.h"

namespace emr {

void TAdvMainMenu::SetMenuStyler(TCustomAdvMenuStyler* styler) {
    if (styler == menuStyler_) return;
    if (menuStyler_) menuStyler_->RemoveFreeNotification(this);
    menuStyler_ = styler;
    if (styler) styler->FreeNotification(this);
}

void TAdvMainMenu::SetDisabledImages(TCustomImageList* images) {
    if (images == disabledImages_) return;
    if (disabledImages_) disabledImages_->RemoveFreeNotification(this);
    disabledImages_ = images;
    if (images) images->FreeNotification(this);
}

void TAdvMainMenu::Notification(TComponent* component, TOperation operation) {
    TMainMenu::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == menuStyler_) menuStyler_ = nullptr;
    if (component == disabledImages_) disabledImages_ = nullptr;
}

} // namespace emr
