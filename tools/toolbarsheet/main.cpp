// Paints toolbars in their main looks on one headless window and writes it as PNG:
// horizontal, vertical at the left and right edges with rotated captions, with a
// caption bar, with each grip style, and floating in two rows.

#include <cstdio>
#include <memory>
#include <string>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarSeparator.h"

using namespace emr;

namespace {

/// Stands in for a floating window: a toolbar whose parent is this floats.
class SheetFloatingWindow : public TCustomControl, public TToolBarFloatingSite {
    EMR_CLASS(SheetFloatingWindow)
public:
    explicit SheetFloatingWindow(TComponent* owner) : TCustomControl(owner) {}
    void FitToToolBar() override {}
    bool WindowShowing() const override { return true; }
    void HideWindow() override {}
    void StopFollowing() override {}
    void Release() override {}

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(RGB(0, 53, 145));
        Canvas()->FillRect(ClientRect());
    }
};

TAdvToolBarOfficeStyler* MainWindowStyler(TComponent* owner, TDragGripStyle grip) {
    auto* s = new TAdvToolBarOfficeStyler(owner);
    s->SetBorderColor(14731181);
    TButtonAppearance* b = s->ButtonAppearance();
    b->SetColorChecked(9229823);
    b->SetColorCheckedTo(5812223);
    b->SetColorDown(5149182);
    b->SetColorDownTo(9556991);
    b->SetColorHot(13432063);
    b->SetColorHotTo(9556223);
    b->SetBorderDownColor(clNavy);
    b->SetBorderHotColor(clNavy);
    b->SetBorderCheckedColor(clNavy);
    b->CaptionFont()->SetName("Tahoma");
    s->CaptionAppearance()->SetCaptionColor(clHighlight);
    s->CaptionAppearance()->SetCaptionColorTo(clHighlight);
    s->CaptionAppearance()->SetCaptionBorderColor(clHighlight);
    s->Color()->SetColor(16640730);
    s->Color()->SetColorTo(14986888);
    s->Color()->SetDirection(gdVertical);
    s->SetRightHandleColor(15836789);
    s->SetRightHandleColorTo(9516288);
    s->SetDragGripStyle(grip);
    return s;
}

std::unique_ptr<TBitmap> Glyph(TColor color) {
    auto g = std::make_unique<TBitmap>(16, 16);
    g->Canvas()->Brush()->SetColor(clWhite);
    g->Canvas()->FillRect({0, 0, 16, 16});
    g->Canvas()->Brush()->SetColor(color);
    g->Canvas()->Pen()->SetColor(clBlack);
    g->Canvas()->Ellipse(2, 2, 14, 14);
    return g;
}

TAdvToolBar* MakeToolBar(TForm* form, TWinControl* parent, TDragGripStyle grip, int left, int top,
                         bool separator = false) {
    auto* tb = new TAdvToolBar(form);
    tb->SetParent(parent);
    tb->SetBounds(left, top, 60, 26);
    tb->SetToolBarStyler(MainWindowStyler(form, grip));
    const char* captions[] = {"确定", "退出"};
    TColor colors[] = {clGreen, clTeal};
    for (int i = 0; i < 2; ++i) {
        if (separator && i == 1) {
            auto* sep = new TAdvToolBarSeparator(form);
            sep->AttachToToolBar(tb);
        }
        auto* b = new TAdvToolBarButton(form);
        b->SetGlyph(Glyph(colors[i]).get());
        b->SetGlyphPosition(TGlyphPosition::gpTop);
        b->SetShowCaption(true);
        b->SetCaption(captions[i]);
        b->AttachToToolBar(tb);
    }
    return tb;
}

} // namespace

int main(int argc, char** argv) {
    std::string out = argc > 1 ? argv[1] : "toolbarsheet.png";
    auto backend = std::make_unique<platform::HeadlessBackend>();
    platform::HeadlessBackend* headless = backend.get();
    platform::Backend::Install(std::move(backend));
    auto* app = new TApplication(nullptr);
    auto* form = new TForm(app);
    form->SetBounds(0, 0, 100, 100);
    form->SetClientWidth(640);
    form->SetClientHeight(400);
    form->SetColor(clBtnFace);

    MakeToolBar(form, form, dsDots, 10, 10);
    auto* captioned = MakeToolBar(form, form, dsDots, 120, 10, true);
    captioned->SetCaption("Untitled");
    captioned->SetShowCaption(true);
    auto* noHandle = MakeToolBar(form, form, dsDots, 240, 10);
    noHandle->SetCaption("Caption");
    noHandle->SetShowRightHandle(false);
    noHandle->SetShowCaption(true);

    TDragGripStyle grips[] = {dsDots, dsSingleLine, dsDoubleLine, dsFlatDots, dsNone};
    for (int i = 0; i < 5; ++i)
        MakeToolBar(form, form, grips[i], 10 + i * 110, 90);

    auto* left = MakeToolBar(form, form, dsDots, 10, 150, true);
    left->SetPosition(TDockAlign::daLeft);
    auto* right = MakeToolBar(form, form, dsSingleLine, 70, 150);
    right->SetPosition(TDockAlign::daRight);
    auto* rightCaption = MakeToolBar(form, form, dsDots, 130, 150);
    rightCaption->SetPosition(TDockAlign::daLeft);
    rightCaption->SetCaption("Left");
    rightCaption->SetCaptionAlignment(TAlignment::taCenter);
    rightCaption->SetShowCaption(true);

    auto* window = new SheetFloatingWindow(form);
    window->SetParent(form);
    window->SetBounds(250, 150, 200, 200);
    auto* floating = MakeToolBar(form, form, dsDots, 0, 0, true);
    floating->SetCaption("Floating");
    // Starting to float takes the thickness of the tallest control.
    floating->SetDockedThickness(floating->FloatingThickness());
    floating->SetParent(window);
    floating->SetLeft(2);
    floating->SetTop(2);
    floating->SetFloatingRows(2);

    form->Show();
    app->ProcessMessages();
    form->Invalidate();
    form->PaintWindowNow();
    headless->RenderWindowToPng(form->NativeWindow(), out);
    std::printf("wrote %s\n", out.c_str());
    TObject::Free(app);
    platform::Backend::Uninstall();
    return 0;
}
