#pragma once

#include <cstdint>
#include <optional>

#include "framework/graphics/Color.h"
#include "styling/StylingTypes.h"

namespace emr {

/// The colours one look gives a toolbar-side record. An empty optional marks a
/// value the look leaves alone (the styler keeps its current value).
struct TPresetMirror {
    TColor Color, ColorTo, ColorMirror, ColorMirrorTo;
};

struct TPresetBackground {
    TColor Color, ColorTo;
    std::optional<int> Steps;
    TPresetMirror Mirror;
};

struct TPresetRightHandle {
    TColor Color, ColorTo, Hot, HotTo;
    std::optional<TColor> Down, DownTo;
};

struct TPresetCaption {
    TColor Color, ColorTo;
    std::optional<TColor> Border;
    TColor Hot, HotTo, Text, TextHot;
    std::optional<TColor> BorderHot;
};

struct TPresetButtons {
    TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo;
    TColor Text, TextHot, TextDown, TextChecked;
    std::optional<TColor> BorderHot, BorderDown, BorderChecked;
};

struct TPresetSwitches {
    TDragGripStyle DragGrip;
    bool RoundCorners;
    std::uint8_t Bevel;
    bool ShowBevel;
    int FloatingBorderWidth;
};

/// The ribbon-side palette of a look; the ribbon records are derived from it.
struct TPresetRibbon {
    TColor TabText, TabHot, TabSelected, TabSelectedTo, TabBorder;
    TColor Page, PageTo, PageMirror, PageMirrorTo, PageBorder;
    TColor GroupText, GroupCaption, GroupCaptionTo;
    TColor Qat, QatTo;
    TColor PagerCaptionColor;
};

/// One named look: every value its preset block assigns.
struct TStylerPreset {
    TPresetBackground Color;
    TPresetBackground ColorHot;
    TColor DockColor, DockColorTo;
    std::optional<TColor> BorderColor;
    TColor BorderColorHot;
    TPresetRightHandle RightHandle;
    TPresetCaption Caption;
    TPresetButtons Buttons;
    TColor FloatingWindowBorderColor;
    TPresetSwitches Switches;
    TPresetRibbon Ribbon;
};

/// The look of `style` (not bsCustom). bsWindows7 has a second variant for
/// scenic-ribbon mode; bsOfficeXP is the bsWindowsXP look.
const TStylerPreset& StylerPreset(TToolBarStyle style, bool scenicRibbon = false);

/// Process-wide scenic-ribbon mode, switched on by ribbon pagers only.
bool ScenicRibbonMode();
void SetScenicRibbonMode(bool on);

} // namespace emr
