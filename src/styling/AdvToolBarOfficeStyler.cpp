#include "styling/AdvToolBarOfficeStyler.h"

#include <string>

#include "framework/platform/Backend.h"
#include "styling/MenuLookFromToolBar.h"
#include "styling/OfficeStylerPresets.h"
#include "styling/SystemFont.h"

namespace emr {

namespace {

// The glow faces the Office 2003 looks share (step 6 of a Style change).
void FillOffice2003Glow(TGlowButtonAppearance& glow) {
    glow.SetColorHot(RGB(255, 244, 204));
    glow.SetColorHotTo(RGB(255, 228, 170));
    glow.SetColorMirrorHot(RGB(255, 214, 133));
    glow.SetColorMirrorHotTo(RGB(255, 232, 162));
    glow.SetBorderColorHot(RGB(219, 206, 153));
    glow.SetGradientHot(ggRadial);
    glow.SetGradientMirrorHot(ggRadial);
    glow.SetColorDown(RGB(241, 175, 118));
    glow.SetColorDownTo(RGB(243, 144, 65));
    glow.SetColorMirrorDown(RGB(241, 114, 14));
    glow.SetColorMirrorDownTo(RGB(253, 159, 76));
    glow.SetBorderColorDown(RGB(123, 102, 69));
    glow.SetGradientDown(ggRadial);
    glow.SetGradientMirrorDown(ggRadial);
    glow.SetColorChecked(RGB(251, 219, 181));
    glow.SetColorCheckedTo(RGB(254, 199, 120));
    glow.SetColorMirrorChecked(RGB(253, 235, 159));
    glow.SetColorMirrorCheckedTo(RGB(254, 180, 86));
    glow.SetBorderColorChecked(RGB(123, 102, 69));
    glow.SetGradientChecked(ggVertical);
    glow.SetGradientMirrorChecked(ggVertical);
}

const TGlowButtonAppearance& Office2003Glow() {
    static TGlowButtonAppearance glow;
    static const bool filled = (FillOffice2003Glow(glow), true);
    (void)filled;
    return glow;
}

bool SharesOffice2003Glow(TToolBarStyle style) {
    return style == bsOffice2003Blue || style == bsOffice2003Silver || style == bsOffice2003Olive ||
           style == bsWhidbeyStyle;
}

bool IsOffice2010(TToolBarStyle style) {
    return style == bsOffice2010Blue || style == bsOffice2010Silver || style == bsOffice2010Black;
}

TColor OrSame(TColor color, TColor fallback) {
    return color == clNone ? fallback : color;
}

// Glow faces from the button faces of a look: each upper half runs from the
// face colour to its end colour and the lower half back again, for a soft
// two-part shine.
void SetGlowFaces(TGlowButtonAppearance& g, const TPresetButtons& b, TColor normalBorder,
                  const TButtonAppearance& borders) {
    g.SetColor(b.Color);
    g.SetColorTo(OrSame(b.ColorTo, b.Color));
    g.SetColorMirror(OrSame(b.ColorTo, b.Color));
    g.SetColorMirrorTo(b.Color);
    g.SetBorderColor(normalBorder);

    g.SetColorHot(b.Hot);
    g.SetColorHotTo(OrSame(b.HotTo, b.Hot));
    g.SetColorMirrorHot(OrSame(b.HotTo, b.Hot));
    g.SetColorMirrorHotTo(b.Hot);
    g.SetBorderColorHot(borders.BorderHotColor());

    g.SetColorDown(b.Down);
    g.SetColorDownTo(OrSame(b.DownTo, b.Down));
    g.SetColorMirrorDown(OrSame(b.DownTo, b.Down));
    g.SetColorMirrorDownTo(b.Down);
    g.SetBorderColorDown(borders.BorderDownColor());

    g.SetColorChecked(b.Checked);
    g.SetColorCheckedTo(OrSame(b.CheckedTo, b.Checked));
    g.SetColorMirrorChecked(OrSame(b.CheckedTo, b.Checked));
    g.SetColorMirrorCheckedTo(b.Checked);
    g.SetBorderColorChecked(borders.BorderCheckedColor());
}

} // namespace

TAdvToolBarOfficeStyler::TAdvToolBarOfficeStyler(TComponent* owner) : TCustomAdvToolBarStyler(owner) {
    notifier_ = new TNotifierWindow(this);
    for (TComponent* c = owner; c; c = c->Owner())
        if (auto* window = dynamic_cast<TWinControl*>(c)) {
            notifier_->SetParent(window);
            break;
        }
    style_ = bsCustom;
    notifier_->OnThemeChange = [this](TObject* sender) { ThemeChanged(sender); };
    if (InDesigner() && !owner->HasState(csLoading)) {
        SetStyle(bsWindowsXP);
        SetStyle(bsOffice2003Blue);
    }
}

bool TAdvToolBarOfficeStyler::InDesigner() const {
    return HasState(csDesigning) || (Owner() && Owner()->HasState(csDesigning));
}

void TAdvToolBarOfficeStyler::Notification(TComponent* component, TOperation operation) {
    TCustomAdvToolBarStyler::Notification(component, operation);
    if (operation == TOperation::opRemove && component == notifier_) notifier_ = nullptr;
}

void TAdvToolBarOfficeStyler::Loaded() {
    TCustomAdvToolBarStyler::Loaded();
    if (!InDesigner()) ThemeChanged(this);
}

int TAdvToolBarOfficeStyler::SharedStyleNumber(TToolBarStyle style) {
    // By ordinal; bsOffice2003Classic and bsCustom hand on none (8), bsOfficeXP is bsWindowsXP.
    static constexpr int kNumbers[kToolBarStyleCount] = {0, 1, 2,  8,  4,  5,  6,  7, 8,
                                                         9, 6, 10, 11, 12, 13, 14, 15};
    const int ordinal = static_cast<int>(style);
    return ordinal < kToolBarStyleCount ? kNumbers[ordinal] : 8;
}

void TAdvToolBarOfficeStyler::SetSharedStyle(int styleNumber) {
    static constexpr TToolBarStyle kByNumber[] = {
        bsOffice2003Blue, bsOffice2003Silver,   bsOffice2003Olive,  bsOffice2003Classic,
        bsOffice2007Luna, bsOffice2007Obsidian, bsWindowsXP,        bsWhidbeyStyle,
        bsCustom,         bsOffice2007Silver,   bsWindowsVista,     bsWindows7,
        bsTerminal,       bsOffice2010Blue,     bsOffice2010Silver, bsOffice2010Black,
    };
    if (styleNumber < 0 || styleNumber > 15 || styleNumber == 8) return;
    SetStyle(kByNumber[styleNumber]);
}

int TAdvToolBarOfficeStyler::CurrentThemeScheme() {
    if (!platform::Backend::Installed()) return 0;
    int scheme = platform::Backend::Current().ThemeScheme();
    return scheme >= 1 && scheme <= 3 ? scheme : 0;
}

void TAdvToolBarOfficeStyler::ThemeChanged(TObject* sender) {
    (void)sender;
    if (!AutoThemeAdapt()) return;
    switch (CurrentThemeScheme()) {
    case 1:
        SetStyle(bsOffice2003Blue);
        break;
    case 2:
        SetStyle(bsOffice2003Olive);
        break;
    case 3:
        SetStyle(bsOffice2003Silver);
        break;
    default:
        SetStyle(bsOffice2003Classic);
        break;
    }
}

void TAdvToolBarOfficeStyler::SetStyle(TToolBarStyle value) {
    if (value == style_) return;
    style_ = value;
    ApplyPreamble();
    ApplyFontNames();
    if (SharesOffice2003Glow(value)) {
        GlowButtonAppearance()->AssignActiveStates(Office2003Glow());
        CompactGlowButtonAppearance()->Assign(GlowButtonAppearance());
    }
    if (value != bsCustom) {
        ApplyPreset(StylerPreset(value, ScenicRibbonMode()));
        MatchMenuLookToToolBar(*InternalMenuStyler(), *this);
    }
    if (IsOffice2010(value)) {
        GroupAppearance()->SetGradient(ggVertical);
        GroupAppearance()->SetGradientMirror(ggVertical);
        GroupAppearance()->SetBorderColor(GroupAppearance()->CaptionColorTo());
    }
    NotifyControls(scColors);
}

void TAdvToolBarOfficeStyler::ApplyPreamble() {
    SetComponentStyle(8);
    SetPagerCaptionColor(0);
    PagerCaption()->SetTextColor(static_cast<TColor>(8421504));
    PagerCaption()->SetTextColorExtended(static_cast<TColor>(0xFF0000));
    PagerCaption()->Font()->SetSize(10);
}

void TAdvToolBarOfficeStyler::ApplyFontNames() {
    const std::string name(SystemUIFontName());
    if (TabAppearance()->SystemFont()) TabAppearance()->Font()->SetName(name);
    if (PagerCaption()->SystemFont()) PagerCaption()->Font()->SetName(name);
    if (GroupAppearance()->SystemFont()) GroupAppearance()->Font()->SetName(name);
    if (ButtonAppearance()->SystemFont()) ButtonAppearance()->CaptionFont()->SetName(name);
    if (SystemFont()) {
        Font()->SetName(name);
        CaptionFont()->SetName(name);
    }
}

void TAdvToolBarOfficeStyler::ApplyPreset(const TStylerPreset& p) {
    auto setMirror = [](TMirrorGradient* m, const TPresetMirror& v) {
        m->SetColor(v.Color);
        m->SetColorTo(v.ColorTo);
        m->SetColorMirror(v.ColorMirror);
        m->SetColorMirrorTo(v.ColorMirrorTo);
    };

    TVistaGradientBackground* color = Color();
    color->SetColor(p.Color.Color);
    color->SetColorTo(p.Color.ColorTo);
    color->SetDirection(gdVertical);
    if (p.Color.Steps) color->SetSteps(*p.Color.Steps);
    setMirror(color->Mirror(), p.Color.Mirror);

    TVistaGradientBackground* hot = ColorHot();
    hot->SetColor(p.ColorHot.Color);
    hot->SetColorTo(p.ColorHot.ColorTo);
    hot->SetDirection(gdVertical);
    setMirror(hot->Mirror(), p.ColorHot.Mirror);

    TGradientBackground* dock = DockColor();
    dock->SetColor(p.DockColor);
    dock->SetColorTo(p.DockColorTo);
    dock->SetDirection(gdHorizontal);
    dock->SetSteps(128);

    if (p.BorderColor) SetBorderColor(*p.BorderColor);
    SetBorderColorHot(p.BorderColorHot);

    SetRightHandleColor(p.RightHandle.Color);
    SetRightHandleColorTo(p.RightHandle.ColorTo);
    SetRightHandleColorHot(p.RightHandle.Hot);
    SetRightHandleColorHotTo(p.RightHandle.HotTo);
    if (p.RightHandle.Down) SetRightHandleColorDown(*p.RightHandle.Down);
    if (p.RightHandle.DownTo) SetRightHandleColorDownTo(*p.RightHandle.DownTo);

    TCaptionAppearance* caption = CaptionAppearance();
    caption->SetCaptionColor(p.Caption.Color);
    caption->SetCaptionColorTo(p.Caption.ColorTo);
    if (p.Caption.Border) caption->SetCaptionBorderColor(*p.Caption.Border);
    caption->SetCaptionColorHot(p.Caption.Hot);
    caption->SetCaptionColorHotTo(p.Caption.HotTo);
    caption->SetCaptionTextColor(p.Caption.Text);
    caption->SetCaptionTextColorHot(p.Caption.TextHot);
    if (p.Caption.BorderHot) caption->SetCaptionBorderColorHot(*p.Caption.BorderHot);

    TButtonAppearance* buttons = ButtonAppearance();
    buttons->SetColor(p.Buttons.Color);
    buttons->SetColorTo(p.Buttons.ColorTo);
    buttons->SetColorHot(p.Buttons.Hot);
    buttons->SetColorHotTo(p.Buttons.HotTo);
    buttons->SetColorDown(p.Buttons.Down);
    buttons->SetColorDownTo(p.Buttons.DownTo);
    buttons->SetColorChecked(p.Buttons.Checked);
    buttons->SetColorCheckedTo(p.Buttons.CheckedTo);
    buttons->SetCaptionTextColor(p.Buttons.Text);
    buttons->SetCaptionTextColorHot(p.Buttons.TextHot);
    buttons->SetCaptionTextColorDown(p.Buttons.TextDown);
    buttons->SetCaptionTextColorChecked(p.Buttons.TextChecked);
    if (p.Buttons.BorderHot) buttons->SetBorderHotColor(*p.Buttons.BorderHot);
    if (p.Buttons.BorderDown) buttons->SetBorderDownColor(*p.Buttons.BorderDown);
    if (p.Buttons.BorderChecked) buttons->SetBorderCheckedColor(*p.Buttons.BorderChecked);

    SetFloatingWindowBorderColor(p.FloatingWindowBorderColor);
    SetFloatingWindowBorderWidth(p.Switches.FloatingBorderWidth);
    SetDragGripStyle(p.Switches.DragGrip);
    SetRoundCorners(p.Switches.RoundCorners);
    SetToolBarBevel(p.Switches.Bevel);
    SetShowToolBarBevel(p.Switches.ShowBevel);
    if (style_ != bsOffice2003Classic)
        SetComponentStyle(static_cast<std::uint8_t>(SharedStyleNumber(style_)));

    ApplyRibbon(p);
}

// The ribbon-side records follow the look: glow faces from the button faces
// (the Office 2003 looks have their shared set already), and tabs, pages,
// groups, the pager caption and the quick-access strip from the ribbon palette.
void TAdvToolBarOfficeStyler::ApplyRibbon(const TStylerPreset& p) {
    const TButtonAppearance* buttons = ButtonAppearance();
    if (!SharesOffice2003Glow(style_)) {
        SetGlowFaces(*GlowButtonAppearance(), p.Buttons, OrSame(BorderColor(), p.BorderColorHot), *buttons);
        CompactGlowButtonAppearance()->Assign(GlowButtonAppearance());
    }

    const TPresetRibbon& r = p.Ribbon;
    TTabAppearance* tab = TabAppearance();
    tab->SetTextColor(r.TabText);
    tab->SetTextColorHot(r.TabText);
    tab->SetTextColorSelected(r.TabText);
    tab->SetColorHot(r.TabHot);
    tab->SetColorHotTo(r.TabHot);
    tab->SetColorSelected(r.TabSelected);
    tab->SetColorSelectedTo(r.TabSelectedTo);
    tab->SetColorMirrorSelected(r.TabSelectedTo);
    tab->SetColorMirrorSelectedTo(r.Page);
    tab->SetBorderColorHot(r.TabBorder);
    tab->SetBorderColorSelected(r.TabBorder);
    tab->SetShadowColor(r.TabBorder);

    TVistaPageBackground* page = PageAppearance();
    page->SetColor(r.Page);
    page->SetColorTo(r.PageTo);
    page->SetColorMirror(r.PageMirror);
    page->SetColorMirrorTo(r.PageMirrorTo);
    page->SetBorderColor(r.PageBorder);

    TVistaTextBackground* pager = PagerCaption();
    pager->SetColor(r.Qat);
    pager->SetColorTo(r.QatTo);
    pager->SetColorMirror(r.QatTo);
    pager->SetColorMirrorTo(r.Qat);
    pager->SetBorderColor(r.PageBorder);

    TGroupAppearance* group = GroupAppearance();
    group->SetColor(r.Page);
    group->SetColorTo(r.PageTo);
    group->SetColorMirror(r.PageMirror);
    group->SetColorMirrorTo(r.PageMirrorTo);
    group->SetBorderColor(r.PageBorder);
    group->SetTextColor(r.GroupText);
    group->SetCaptionColor(r.GroupCaption);
    group->SetCaptionColorTo(r.GroupCaptionTo);
    group->TabAppearance()->SetTextColor(r.GroupText);
    group->TabAppearance()->SetColorHot(r.TabHot);
    group->TabAppearance()->SetColorHotTo(r.TabHot);
    group->TabAppearance()->SetBorderColorHot(r.TabBorder);

    TQATAppearance* qat = QATAppearance();
    qat->SetColor(r.Qat);
    qat->SetColorTo(r.QatTo);
    qat->SetBorderColor(r.PageBorder);
    qat->SetFullSizeColor(r.Page);
    qat->SetFullSizeColorTo(r.PageTo);
    qat->SetFullSizeBorderColor(r.PageBorder);

    SetPagerCaptionColor(r.PagerCaptionColor);
}

} // namespace emr
