#include "framework/controls/CustomControl.h"

#include "framework/controls/PaintEngine.h"
#include "framework/graphics/Canvas.h"

namespace emr {

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintTo(TCanvas& canvas) {
    TPaintEngine::ShareSurface(*canvas_, canvas);
    struct Detach {
        TCanvas& c;
        ~Detach() { TPaintEngine::ReleaseSurface(c); }
    } detach{*canvas_};
    canvas_->SetFont(Font());
    canvas_->Brush()->SetColor(Color());
    // Erase the background unless the control answers the erase request itself.
    std::weak_ptr<void> alive = LifeToken();
    if (!(controlStyle_ & csOpaque) && Perform(WM_ERASEBKGND) == 0) {
        if (alive.expired()) return;
        TPaintEngine::EraseBackground(*this, *canvas_, Color());
    }
    if (alive.expired()) return;
    canvas_->Brush()->SetColor(Color());
    Paint();
}

} // namespace emr
