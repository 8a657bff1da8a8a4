#include "toolbar/AdvToolBarMenuButton.h"

#include "framework/forms/Menu.h"
#include "framework/graphics/Canvas.h"
#include "styling/AdvMenuStyler.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvCustomToolBar.h"

namespace emr {

TAdvToolBarMenuButton::TAdvToolBarMenuButton(TComponent* owner) : TAdvCustomToolBarButton(owner) {
    SetParentStyler(true);
}

void TAdvToolBarMenuButton::DrawFace(TCanvas& canvas) {
    TLook look = ChooseLook();
    const TButtonAppearance* own = Appearance();
    bool disabled = state_ == TToolButtonState::tbsDisabled || !Enabled();
    bool checkDown = Style() == TAdvToolButtonStyle::tasCheck && state_ == TToolButtonState::tbsDown;
    bool downLook = !disabled &&
                    (state_ == TToolButtonState::tbsDown || state_ == TToolButtonState::tbsDropped ||
                     (hot_ && state_ == TToolButtonState::tbsExclusive) || mousePressed_) &&
                    !checkDown;
    bool checkedLook = !disabled && !downLook && (state_ == TToolButtonState::tbsExclusive || checkDown);
    TCustomAdvToolBarStyler* styler = StylerInEffect();
    TAdvCustomToolBar* tb = ToolBar();

    if (checkedLook) {
        look = {own->ColorChecked(),
                own->ColorCheckedTo(),
                own->ColorChecked(),
                own->ColorCheckedTo(),
                own->BorderCheckedColor(),
                own->CaptionTextColorChecked(),
                own->GradientDirectionChecked(),
                GlyphChecked()};
    } else if (!disabled && styler && tb && tb->Menu()) {
        const TMenuRootItemAppearance* root = styler->CurrentMenuStyler()->RootItem();
        if (downLook) {
            look = {root->SelectedColor(),
                    root->SelectedColorTo(),
                    root->SelectedColor(),
                    root->SelectedColorTo(),
                    root->SelectedBorderColor(),
                    root->SelectedTextColor(),
                    root->SelectedGradientDirection(),
                    GlyphDown()};
        } else if (hot_) {
            look = {root->HoverColor(),
                    root->HoverColorTo(),
                    root->HoverColor(),
                    root->HoverColorTo(),
                    root->HoverBorderColor(),
                    root->HoverTextColor(),
                    root->HoverGradientDirection(),
                    GlyphHot()};
        } else {
            look.caption = root->Font()->Color();
            look.direction = root->GradientDirection();
        }
    } else if (downLook && state_ == TToolButtonState::tbsDropped) {
        const TButtonAppearance* a = AppearanceInEffect();
        look = {a->ColorDown(),
                a->ColorDownTo(),
                a->ColorHot(),
                a->ColorHotTo(),
                a->BorderDownColor(),
                a->CaptionTextColorDown(),
                a->GradientDirectionDown(),
                GlyphDown()};
    }
    PaintFace(canvas, look);
}

} // namespace emr
