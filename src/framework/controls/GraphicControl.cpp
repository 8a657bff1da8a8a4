#include "framework/controls/GraphicControl.h"

#include "framework/controls/PaintEngine.h"
#include "framework/graphics/Canvas.h"

namespace emr {

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintTo(TCanvas& canvas) {
    TPaintEngine::ShareSurface(*canvas_, canvas);
    canvas_->SetFont(Font());
    canvas_->Brush()->SetColor(Color());
    struct Detach {
        TCanvas& c;
        ~Detach() { TPaintEngine::ReleaseSurface(c); }
    } detach{*canvas_};
    Paint();
}

} // namespace emr
