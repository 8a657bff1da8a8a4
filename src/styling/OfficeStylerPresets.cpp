#include "styling/OfficeStylerPresets.h"

#include <array>

namespace emr {

namespace {

constexpr TPresetSwitches kDots{dsDots, true, 0, false, 2};
constexpr TPresetSwitches kOffice2007{dsNone, true, 0, false, 1};
constexpr TPresetSwitches kClassicXP{dsSingleLine, false, 2, true, 2};

// The orange hot, pressed and checked faces shared by the Office 2003 and 2007 looks.
constexpr TColor kOrangeHot = 13432063, kOrangeHotTo = 9556223;
constexpr TColor kOrangeDown = 5149182, kOrangeDownTo = 9556991;
constexpr TColor kOrangeChecked = 9229823, kOrangeCheckedTo = 5812223;

// The amber faces of the Office 2010 looks.
constexpr TColor k2010Hot = RGB(255, 252, 217), k2010HotTo = RGB(255, 231, 147);
constexpr TColor k2010Down = RGB(255, 226, 150), k2010DownTo = RGB(255, 200, 95);
constexpr TColor k2010Checked = RGB(255, 216, 108), k2010CheckedTo = RGB(255, 236, 160);

constexpr TStylerPreset kOffice2003Blue{
    .Color = {16640730, 14986888, 64, {16440004, 16440004, 16372409, 16572878}},
    .ColorHot = {16773606, 16444126, {}, {16507602, 16507602, 16506056, 16639959}},
    .DockColor = 16105376,
    .DockColorTo = 16440004,
    .BorderColor = 14731181,
    .BorderColorHot = 14731181,
    .RightHandle = {15836789, 9516288, 13891839, 7782911, 557032, 8182519},
    .Caption = {clHighlight, clHighlight, clHighlight, 13432063, 9556223, 16777215, 0, {}},
    .Buttons = {16640730, 14986888, kOrangeHot, kOrangeHotTo, kOrangeDown, kOrangeDownTo, kOrangeChecked,
                kOrangeCheckedTo, 0, 0, 0, 0, clNavy, clNavy, clNavy},
    .FloatingWindowBorderColor = 9516288,
    .Switches = kDots,
    .Ribbon = {RGB(21, 66, 139), RGB(227, 239, 255), RGB(255, 255, 255), RGB(218, 234, 253),
               RGB(173, 199, 228), RGB(218, 234, 253), RGB(196, 218, 250), RGB(185, 210, 249),
               RGB(206, 225, 252), RGB(173, 199, 228), RGB(21, 66, 139), RGB(160, 191, 245),
               RGB(196, 218, 250), RGB(196, 218, 250), RGB(136, 174, 228), RGB(21, 66, 139)},
};

constexpr TStylerPreset kOffice2003Silver{
    .Color = {RGB(249, 249, 255),
              RGB(159, 157, 185),
              64,
              {RGB(243, 243, 247), RGB(232, 232, 240), RGB(215, 215, 229), RGB(236, 236, 244)}},
    .ColorHot = {RGB(255, 255, 255),
                 RGB(236, 236, 244),
                 {},
                 {RGB(245, 245, 250), RGB(236, 236, 244), RGB(225, 225, 236), RGB(243, 243, 247)}},
    .DockColor = RGB(215, 215, 229),
    .DockColorTo = RGB(243, 243, 247),
    .BorderColor = RGB(124, 124, 148),
    .BorderColorHot = RGB(124, 124, 148),
    .RightHandle = {RGB(186, 185, 206), RGB(118, 116, 146), RGB(255, 248, 211), RGB(255, 193, 118), {}, {}},
    .Caption = {RGB(122, 121, 153),
                RGB(122, 121, 153),
                RGB(122, 121, 153),
                kOrangeHot,
                kOrangeHotTo,
                RGB(255, 255, 255),
                0,
                {}},
    .Buttons = {RGB(249, 249, 255), RGB(159, 157, 185), kOrangeHot, kOrangeHotTo, kOrangeDown, kOrangeDownTo,
                kOrangeChecked, kOrangeCheckedTo, 0, 0, 0, 0, RGB(75, 75, 111), RGB(75, 75, 111),
                RGB(75, 75, 111)},
    .FloatingWindowBorderColor = RGB(122, 121, 153),
    .Switches = kDots,
    .Ribbon = {RGB(76, 83, 92), RGB(245, 245, 250), RGB(255, 255, 255), RGB(236, 236, 244),
               RGB(165, 164, 189), RGB(249, 249, 255), RGB(232, 232, 240), RGB(215, 215, 229),
               RGB(236, 236, 244), RGB(165, 164, 189), RGB(76, 83, 92), RGB(186, 185, 206),
               RGB(215, 215, 229), RGB(232, 232, 240), RGB(186, 185, 206), RGB(76, 83, 92)},
};

constexpr TStylerPreset kOffice2003Olive{
    .Color = {RGB(255, 255, 237),
              RGB(181, 196, 143),
              64,
              {RGB(244, 247, 222), RGB(236, 240, 213), RGB(217, 225, 188), RGB(240, 243, 224)}},
    .ColorHot = {RGB(255, 255, 245),
                 RGB(240, 243, 224),
                 {},
                 {RGB(248, 250, 236), RGB(240, 243, 224), RGB(229, 234, 206), RGB(244, 247, 222)}},
    .DockColor = RGB(217, 217, 167),
    .DockColorTo = RGB(242, 241, 228),
    .BorderColor = RGB(96, 128, 88),
    .BorderColorHot = RGB(96, 128, 88),
    .RightHandle = {RGB(180, 195, 145), RGB(96, 119, 66), RGB(255, 248, 211), RGB(255, 193, 118), {}, {}},
    .Caption = {RGB(116, 134, 94),
                RGB(116, 134, 94),
                RGB(116, 134, 94),
                kOrangeHot,
                kOrangeHotTo,
                RGB(255, 255, 255),
                0,
                {}},
    .Buttons = {RGB(255, 255, 237), RGB(181, 196, 143), kOrangeHot, kOrangeHotTo, kOrangeDown, kOrangeDownTo,
                kOrangeChecked, kOrangeCheckedTo, 0, 0, 0, 0, RGB(63, 93, 56), RGB(63, 93, 56),
                RGB(63, 93, 56)},
    .FloatingWindowBorderColor = RGB(116, 134, 94),
    .Switches = kDots,
    .Ribbon = {RGB(63, 93, 56), RGB(248, 250, 236), RGB(255, 255, 245), RGB(236, 240, 213),
               RGB(163, 178, 130), RGB(255, 255, 237), RGB(236, 240, 213), RGB(217, 225, 188),
               RGB(240, 243, 224), RGB(163, 178, 130), RGB(63, 93, 56), RGB(180, 195, 145),
               RGB(217, 225, 188), RGB(236, 240, 213), RGB(181, 196, 143), RGB(63, 93, 56)},
};

constexpr TStylerPreset kOffice2003Classic{
    .Color = {RGB(249, 248, 247),
              RGB(219, 216, 209),
              64,
              {RGB(245, 244, 242), RGB(236, 234, 230), RGB(225, 222, 216), RGB(238, 236, 232)}},
    .ColorHot = {RGB(182, 189, 210),
                 RGB(182, 189, 210),
                 {},
                 {RGB(182, 189, 210), RGB(182, 189, 210), RGB(182, 189, 210), RGB(182, 189, 210)}},
    .DockColor = RGB(212, 208, 200),
    .DockColorTo = RGB(236, 234, 230),
    .BorderColor = {},
    .BorderColorHot = RGB(10, 36, 106),
    .RightHandle = {RGB(158, 158, 158), RGB(128, 128, 128), RGB(182, 189, 210), RGB(182, 189, 210),
                    RGB(133, 146, 181), RGB(133, 146, 181)},
    .Caption = {RGB(128, 128, 128),
                RGB(128, 128, 128),
                RGB(128, 128, 128),
                RGB(182, 189, 210),
                RGB(182, 189, 210),
                RGB(255, 255, 255),
                0,
                {}},
    .Buttons = {RGB(249, 248, 247),
                RGB(219, 216, 209),
                RGB(182, 189, 210),
                clNone,
                RGB(133, 146, 181),
                clNone,
                RGB(212, 213, 216),
                clNone,
                0,
                0,
                0,
                0,
                RGB(10, 36, 106),
                RGB(10, 36, 106),
                {}},
    .FloatingWindowBorderColor = RGB(128, 128, 128),
    .Switches = kDots,
    .Ribbon = {RGB(0, 0, 0), RGB(236, 234, 230), RGB(255, 255, 255), RGB(236, 234, 230), RGB(128, 128, 128),
               RGB(249, 248, 247), RGB(236, 234, 230), RGB(225, 222, 216), RGB(238, 236, 232),
               RGB(128, 128, 128), RGB(0, 0, 0), RGB(212, 208, 200), RGB(225, 222, 216), RGB(236, 234, 230),
               RGB(212, 208, 200), RGB(0, 0, 0)},
};

constexpr TStylerPreset kOffice2007Luna{
    .Color = {15587527, 16181721, {}, {15984090, 15785680, 15587784, 16510428}},
    .ColorHot = {16773606, 16444126, {}, {16642021, 16576743, 16509403, 16510428}},
    .DockColor = 15587527,
    .DockColorTo = 16445929,
    .BorderColor = 14141623,
    .BorderColorHot = 14731181,
    .RightHandle = {14668485, 14731181, 13891839, 7782911, 557032, 8182519},
    .Caption = {15915714, 15784385, {}, 16769224, 16772566, 11168318, 11168318, {}},
    .Buttons = {13627626, 9224369, kOrangeHot, kOrangeHotTo, kOrangeDown, kOrangeDownTo, kOrangeChecked,
                kOrangeCheckedTo, 0, 0, 0, 0, 3693887, 3693887, 3693887},
    .FloatingWindowBorderColor = 14922381,
    .Switches = kOffice2007,
    .Ribbon = {RGB(21, 66, 139), RGB(227, 239, 255), RGB(255, 255, 255), RGB(218, 229, 243),
               RGB(141, 178, 227), RGB(218, 229, 243), RGB(199, 216, 237), RGB(199, 216, 237),
               RGB(219, 230, 244), RGB(141, 178, 227), RGB(62, 106, 170), RGB(194, 218, 242),
               RGB(193, 217, 240), RGB(218, 229, 243), RGB(199, 216, 237), RGB(62, 106, 170)},
};

constexpr TStylerPreset kOffice2007Obsidian{
    .Color = {RGB(238, 239, 241),
              RGB(178, 183, 191),
              {},
              {RGB(232, 233, 235), RGB(218, 220, 224), RGB(198, 202, 208), RGB(226, 228, 232)}},
    .ColorHot = {RGB(248, 248, 249),
                 RGB(228, 230, 233),
                 {},
                 {RGB(240, 241, 243), RGB(228, 230, 233), RGB(214, 217, 221), RGB(236, 237, 239)}},
    .DockColor = RGB(83, 83, 83),
    .DockColorTo = RGB(118, 118, 118),
    .BorderColor = RGB(120, 124, 131),
    .BorderColorHot = RGB(120, 124, 131),
    .RightHandle = {RGB(150, 155, 163), RGB(76, 80, 86), 13891839, 7782911, 557032, 8182519},
    .Caption = {RGB(92, 92, 92),
                RGB(64, 64, 64),
                {},
                RGB(120, 120, 120),
                RGB(92, 92, 92),
                RGB(255, 255, 255),
                RGB(255, 255, 255),
                {}},
    .Buttons = {RGB(238, 239, 241), RGB(178, 183, 191), kOrangeHot, kOrangeHotTo, kOrangeDown, kOrangeDownTo,
                kOrangeChecked, kOrangeCheckedTo, 0, 0, 0, 0, RGB(63, 93, 56), RGB(63, 93, 56),
                RGB(63, 93, 56)},
    .FloatingWindowBorderColor = RGB(76, 80, 86),
    .Switches = kOffice2007,
    .Ribbon = {RGB(255, 255, 255), RGB(110, 110, 110), RGB(231, 233, 236), RGB(200, 204, 209),
               RGB(48, 48, 48), RGB(221, 224, 228), RGB(200, 204, 209), RGB(190, 194, 200),
               RGB(214, 217, 221), RGB(94, 94, 94), RGB(255, 255, 255), RGB(104, 104, 104), RGB(83, 83, 83),
               RGB(83, 83, 83), RGB(118, 118, 118), RGB(255, 255, 255)},
};

constexpr TStylerPreset kWindowsXP{
    .Color = {clBtnFace, clBtnFace, 64, {clBtnFace, clBtnFace, clBtnFace, clBtnFace}},
    .ColorHot = {15717318, 15717318, {}, {15266548, 15266548, 15266548, 15266548}},
    .DockColor = clBtnFace,
    .DockColorTo = clBtnFace,
    .BorderColor = 8421504,
    .BorderColorHot = clHighlight,
    .RightHandle = {clBtnFace, clNone, 15717318, clNone, 11899524, clNone},
    .Caption = {clHighlight, clHighlight, clHighlight, clHighlight, clHighlight, 16777215, 16777215, {}},
    .Buttons =
        {clBtnFace, clBtnFace, 15717318, clNone, 11899524, clNone, clBtnFace, clNone, 0, 0, 0, 0, {}, {}, {}},
    .FloatingWindowBorderColor = clHighlight,
    .Switches = kClassicXP,
    .Ribbon = {RGB(0, 0, 0), RGB(198, 211, 239), RGB(255, 255, 255), RGB(240, 240, 240), RGB(160, 160, 160),
               RGB(250, 250, 250), RGB(240, 240, 240), RGB(232, 232, 232), RGB(244, 244, 244),
               RGB(160, 160, 160), RGB(0, 0, 0), RGB(51, 153, 255), RGB(51, 153, 255), RGB(240, 240, 240),
               RGB(227, 227, 227), RGB(0, 0, 0)},
};

constexpr TStylerPreset kWhidbeyStyle{
    .Color = {RGB(250, 250, 246),
              RGB(192, 192, 168),
              64,
              {RGB(245, 244, 236), RGB(236, 235, 222), RGB(222, 221, 203), RGB(238, 237, 226)}},
    .ColorHot = {RGB(193, 210, 238),
                 RGB(193, 210, 238),
                 {},
                 {RGB(193, 210, 238), RGB(193, 210, 238), RGB(193, 210, 238), RGB(193, 210, 238)}},
    .DockColor = RGB(229, 229, 215),
    .DockColorTo = RGB(243, 242, 231),
    .BorderColor = RGB(192, 192, 168),
    .BorderColorHot = RGB(49, 106, 197),
    .RightHandle = {RGB(238, 238, 226), RGB(155, 154, 131), RGB(193, 210, 238), RGB(152, 181, 226),
                    RGB(152, 181, 226), RGB(112, 146, 206)},
    .Caption = {RGB(113, 111, 100),
                RGB(113, 111, 100),
                RGB(113, 111, 100),
                RGB(193, 210, 238),
                RGB(152, 181, 226),
                RGB(255, 255, 255),
                0,
                {}},
    .Buttons = {RGB(250, 250, 246),
                RGB(192, 192, 168),
                RGB(193, 210, 238),
                clNone,
                RGB(152, 181, 226),
                clNone,
                RGB(225, 230, 232),
                clNone,
                0,
                0,
                0,
                0,
                RGB(49, 106, 197),
                RGB(49, 106, 197),
                {}},
    .FloatingWindowBorderColor = RGB(113, 111, 100),
    .Switches = kDots,
    .Ribbon = {RGB(0, 0, 0), RGB(238, 238, 226), RGB(255, 255, 255), RGB(243, 242, 231), RGB(155, 154, 131),
               RGB(250, 250, 246), RGB(243, 242, 231), RGB(229, 229, 215), RGB(243, 242, 231),
               RGB(155, 154, 131), RGB(0, 0, 0), RGB(229, 229, 215), RGB(214, 213, 197), RGB(243, 242, 231),
               RGB(192, 192, 168), RGB(0, 0, 0)},
};

constexpr TStylerPreset kOffice2007Silver{
    .Color = {RGB(248, 248, 250),
              RGB(208, 212, 221),
              {},
              {RGB(243, 244, 246), RGB(232, 234, 238), RGB(218, 220, 226), RGB(238, 239, 242)}},
    .ColorHot = {RGB(255, 255, 255),
                 RGB(236, 238, 242),
                 {},
                 {RGB(248, 249, 250), RGB(236, 238, 242), RGB(226, 229, 234), RGB(243, 244, 246)}},
    .DockColor = RGB(221, 224, 229),
    .DockColorTo = RGB(240, 241, 244),
    .BorderColor = RGB(177, 182, 192),
    .BorderColorHot = RGB(177, 182, 192),
    .RightHandle = {RGB(205, 209, 217), RGB(135, 142, 156), 13891839, 7782911, 557032, 8182519},
    .Caption = {RGB(209, 213, 221),
                RGB(193, 198, 207),
                RGB(160, 166, 178),
                RGB(255, 240, 200),
                RGB(255, 224, 160),
                RGB(76, 83, 92),
                RGB(76, 83, 92),
                {}},
    .Buttons = {RGB(248, 248, 250), RGB(208, 212, 221), kOrangeHot, kOrangeHotTo, kOrangeDown, kOrangeDownTo,
                kOrangeChecked, kOrangeCheckedTo, 0, 0, 0, 0, RGB(194, 155, 88), RGB(194, 155, 88),
                RGB(194, 155, 88)},
    .FloatingWindowBorderColor = RGB(160, 166, 178),
    .Switches = kOffice2007,
    .Ribbon = {RGB(76, 83, 92), RGB(245, 246, 248), RGB(255, 255, 255), RGB(234, 236, 240),
               RGB(177, 182, 192), RGB(243, 244, 246), RGB(232, 234, 238), RGB(218, 220, 226),
               RGB(238, 239, 242), RGB(177, 182, 192), RGB(76, 83, 92), RGB(209, 213, 221),
               RGB(193, 198, 207), RGB(232, 234, 238), RGB(208, 212, 221), RGB(76, 83, 92)},
};

constexpr TStylerPreset kWindowsVista{
    .Color = {RGB(252, 253, 254),
              RGB(219, 232, 247),
              64,
              {RGB(250, 252, 254), RGB(236, 243, 251), RGB(219, 232, 247), RGB(240, 246, 253)}},
    .ColorHot = {RGB(255, 255, 255),
                 RGB(232, 242, 252),
                 {},
                 {RGB(252, 254, 255), RGB(232, 242, 252), RGB(220, 236, 251), RGB(244, 249, 255)}},
    .DockColor = RGB(218, 231, 245),
    .DockColorTo = RGB(246, 250, 255),
    .BorderColor = RGB(166, 192, 221),
    .BorderColorHot = RGB(60, 127, 177),
    .RightHandle = {RGB(200, 218, 238), RGB(111, 150, 196), RGB(232, 246, 253), RGB(152, 209, 239),
                    RGB(152, 209, 239), RGB(60, 127, 177)},
    .Caption = {RGB(105, 156, 210),
                RGB(81, 137, 196),
                RGB(60, 127, 177),
                RGB(232, 246, 253),
                RGB(196, 232, 249),
                RGB(255, 255, 255),
                0,
                {}},
    .Buttons = {RGB(252, 253, 254), RGB(219, 232, 247), RGB(232, 246, 253), RGB(196, 232, 249),
                RGB(196, 229, 246), RGB(152, 209, 239), RGB(214, 235, 247), RGB(169, 217, 242), 0, 0, 0, 0,
                RGB(60, 127, 177), RGB(44, 98, 139), RGB(44, 98, 139)},
    .FloatingWindowBorderColor = RGB(81, 137, 196),
    .Switches = kDots,
    .Ribbon = {RGB(30, 57, 91), RGB(232, 246, 253), RGB(255, 255, 255), RGB(236, 243, 251),
               RGB(166, 192, 221), RGB(252, 253, 254), RGB(236, 243, 251), RGB(219, 232, 247),
               RGB(240, 246, 253), RGB(166, 192, 221), RGB(30, 57, 91), RGB(200, 218, 238),
               RGB(219, 232, 247), RGB(236, 243, 251), RGB(219, 232, 247), RGB(30, 57, 91)},
};

constexpr TStylerPreset kWindows7{
    .Color = {RGB(255, 255, 255),
              RGB(229, 233, 238),
              64,
              {RGB(252, 253, 254), RGB(242, 245, 248), RGB(233, 237, 242), RGB(245, 247, 250)}},
    .ColorHot = {RGB(255, 255, 255),
                 RGB(240, 245, 251),
                 {},
                 {RGB(252, 254, 255), RGB(240, 245, 251), RGB(229, 238, 250), RGB(247, 250, 254)}},
    .DockColor = RGB(233, 238, 245),
    .DockColorTo = RGB(248, 250, 253),
    .BorderColor = RGB(187, 202, 219),
    .BorderColorHot = RGB(125, 162, 206),
    .RightHandle = {RGB(214, 223, 235), RGB(137, 157, 184), RGB(232, 242, 252), RGB(184, 212, 244),
                    RGB(195, 215, 240), RGB(94, 129, 183)},
    .Caption = {RGB(203, 215, 230),
                RGB(180, 197, 218),
                RGB(137, 157, 184),
                RGB(232, 242, 252),
                RGB(205, 226, 250),
                RGB(30, 57, 91),
                RGB(30, 57, 91),
                {}},
    .Buttons = {RGB(255, 255, 255), RGB(229, 233, 238), RGB(250, 252, 254), RGB(220, 235, 252),
                RGB(224, 235, 249), RGB(195, 215, 240), RGB(236, 243, 252), RGB(205, 226, 250), 0, 0, 0, 0,
                RGB(125, 162, 206), RGB(94, 129, 183), RGB(94, 129, 183)},
    .FloatingWindowBorderColor = RGB(137, 157, 184),
    .Switches = kDots,
    .Ribbon = {RGB(30, 57, 91), RGB(240, 245, 251), RGB(255, 255, 255), RGB(242, 245, 248),
               RGB(187, 202, 219), RGB(255, 255, 255), RGB(242, 245, 248), RGB(233, 237, 242),
               RGB(245, 247, 250), RGB(187, 202, 219), RGB(30, 57, 91), RGB(233, 238, 245),
               RGB(220, 228, 238), RGB(242, 245, 248), RGB(229, 233, 238), RGB(30, 57, 91)},
};

// Windows 7 in scenic-ribbon mode: the same faces on a bluer ground.
constexpr TStylerPreset kWindows7Scenic{
    .Color = {RGB(245, 248, 252),
              RGB(219, 229, 241),
              64,
              {RGB(242, 246, 251), RGB(232, 239, 247), RGB(219, 229, 241), RGB(236, 242, 250)}},
    .ColorHot = kWindows7.ColorHot,
    .DockColor = RGB(218, 229, 243),
    .DockColorTo = RGB(236, 242, 250),
    .BorderColor = RGB(168, 189, 216),
    .BorderColorHot = RGB(125, 162, 206),
    .RightHandle = kWindows7.RightHandle,
    .Caption = {RGB(188, 205, 228),
                RGB(161, 184, 214),
                RGB(118, 143, 178),
                RGB(232, 242, 252),
                RGB(205, 226, 250),
                RGB(30, 57, 91),
                RGB(30, 57, 91),
                {}},
    .Buttons = {RGB(245, 248, 252), RGB(219, 229, 241), RGB(250, 252, 254), RGB(220, 235, 252),
                RGB(224, 235, 249), RGB(195, 215, 240), RGB(236, 243, 252), RGB(205, 226, 250), 0, 0, 0, 0,
                RGB(125, 162, 206), RGB(94, 129, 183), RGB(94, 129, 183)},
    .FloatingWindowBorderColor = RGB(118, 143, 178),
    .Switches = kDots,
    .Ribbon = {RGB(30, 57, 91), RGB(232, 241, 252), RGB(255, 255, 255), RGB(232, 239, 247),
               RGB(168, 189, 216), RGB(245, 248, 252), RGB(232, 239, 247), RGB(219, 229, 241),
               RGB(236, 242, 250), RGB(168, 189, 216), RGB(30, 57, 91), RGB(218, 229, 243),
               RGB(200, 215, 235), RGB(232, 239, 247), RGB(219, 229, 241), RGB(30, 57, 91)},
};

constexpr TStylerPreset kTerminal{
    .Color = {RGB(236, 236, 236),
              RGB(236, 236, 236),
              64,
              {RGB(236, 236, 236), RGB(236, 236, 236), RGB(236, 236, 236), RGB(236, 236, 236)}},
    .ColorHot = {RGB(248, 248, 248),
                 RGB(248, 248, 248),
                 {},
                 {RGB(248, 248, 248), RGB(248, 248, 248), RGB(248, 248, 248), RGB(248, 248, 248)}},
    .DockColor = RGB(212, 212, 212),
    .DockColorTo = RGB(212, 212, 212),
    .BorderColor = RGB(96, 96, 96),
    .BorderColorHot = RGB(0, 0, 0),
    .RightHandle = {RGB(192, 192, 192), RGB(192, 192, 192), RGB(224, 224, 224), RGB(224, 224, 224),
                    RGB(128, 128, 128), RGB(128, 128, 128)},
    .Caption = {RGB(64, 64, 64), RGB(64, 64, 64), RGB(0, 0, 0), RGB(96, 96, 96), RGB(96, 96, 96),
                RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0)},
    .Buttons = {RGB(236, 236, 236), RGB(236, 236, 236), RGB(200, 200, 200), RGB(200, 200, 200),
                RGB(150, 150, 150), RGB(150, 150, 150), RGB(176, 176, 176), RGB(176, 176, 176), 0, 0,
                RGB(255, 255, 255), 0, RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
    .FloatingWindowBorderColor = RGB(64, 64, 64),
    .Switches = kDots,
    .Ribbon = {RGB(0, 0, 0), RGB(224, 224, 224), RGB(255, 255, 255), RGB(236, 236, 236), RGB(96, 96, 96),
               RGB(236, 236, 236), RGB(236, 236, 236), RGB(236, 236, 236), RGB(236, 236, 236),
               RGB(96, 96, 96), RGB(0, 0, 0), RGB(212, 212, 212), RGB(212, 212, 212), RGB(236, 236, 236),
               RGB(236, 236, 236), RGB(0, 0, 0)},
};

constexpr TStylerPreset kOffice2010Blue{
    .Color = {RGB(237, 242, 249),
              RGB(214, 226, 241),
              64,
              {RGB(232, 239, 248), RGB(222, 232, 245), RGB(211, 224, 240), RGB(227, 236, 247)}},
    .ColorHot = {RGB(245, 249, 253),
                 RGB(228, 236, 247),
                 {},
                 {RGB(240, 245, 252), RGB(228, 236, 247), RGB(218, 229, 244), RGB(235, 242, 250)}},
    .DockColor = RGB(207, 221, 238),
    .DockColorTo = RGB(223, 233, 245),
    .BorderColor = RGB(160, 185, 216),
    .BorderColorHot = RGB(132, 163, 203),
    .RightHandle = {RGB(176, 200, 231), RGB(100, 131, 176), k2010Hot, k2010HotTo, k2010Down, k2010DownTo},
    .Caption = {RGB(136, 167, 208),
                RGB(113, 148, 194),
                RGB(100, 131, 176),
                k2010Hot,
                k2010HotTo,
                RGB(255, 255, 255),
                RGB(30, 57, 91),
                {}},
    .Buttons = {RGB(237, 242, 249), RGB(214, 226, 241), k2010Hot, k2010HotTo, k2010Down, k2010DownTo,
                k2010Checked, k2010CheckedTo, RGB(30, 57, 91), RGB(30, 57, 91), RGB(30, 57, 91),
                RGB(30, 57, 91), RGB(242, 202, 88), RGB(194, 150, 66), RGB(194, 118, 43)},
    .FloatingWindowBorderColor = RGB(113, 148, 194),
    .Switches = kDots,
    .Ribbon = {RGB(30, 57, 91), RGB(229, 238, 250), RGB(255, 255, 255), RGB(237, 242, 249),
               RGB(160, 185, 216), RGB(237, 242, 249), RGB(222, 232, 245), RGB(211, 224, 240),
               RGB(227, 236, 247), RGB(160, 185, 216), RGB(30, 57, 91), RGB(207, 221, 238),
               RGB(194, 212, 234), RGB(223, 233, 245), RGB(207, 221, 238), RGB(30, 57, 91)},
};

constexpr TStylerPreset kOffice2010Silver{
    .Color = {RGB(255, 255, 255),
              RGB(229, 232, 236),
              64,
              {RGB(250, 251, 252), RGB(241, 243, 245), RGB(232, 235, 238), RGB(245, 246, 248)}},
    .ColorHot = {RGB(255, 255, 255),
                 RGB(242, 244, 246),
                 {},
                 {RGB(253, 253, 254), RGB(242, 244, 246), RGB(235, 238, 241), RGB(248, 249, 250)}},
    .DockColor = RGB(233, 237, 241),
    .DockColorTo = RGB(246, 247, 248),
    .BorderColor = {},
    .BorderColorHot = RGB(167, 173, 182),
    .RightHandle = {RGB(208, 213, 219), RGB(141, 149, 160), k2010Hot, k2010HotTo, k2010Down, k2010DownTo},
    .Caption = {RGB(172, 179, 189),
                RGB(150, 158, 169),
                RGB(132, 140, 151),
                k2010Hot,
                k2010HotTo,
                RGB(255, 255, 255),
                RGB(59, 59, 59),
                {}},
    .Buttons = {RGB(255, 255, 255), RGB(229, 232, 236), k2010Hot, k2010HotTo, k2010Down, k2010DownTo,
                k2010Checked, k2010CheckedTo, RGB(59, 59, 59), RGB(59, 59, 59), RGB(59, 59, 59),
                RGB(59, 59, 59), RGB(242, 202, 88), RGB(194, 150, 66), RGB(194, 118, 43)},
    .FloatingWindowBorderColor = RGB(150, 158, 169),
    .Switches = kDots,
    .Ribbon = {RGB(59, 59, 59), RGB(242, 244, 246), RGB(255, 255, 255), RGB(241, 243, 245),
               RGB(190, 195, 203), RGB(255, 255, 255), RGB(241, 243, 245), RGB(232, 235, 238),
               RGB(245, 246, 248), RGB(190, 195, 203), RGB(59, 59, 59), RGB(233, 237, 241),
               RGB(221, 226, 231), RGB(241, 243, 245), RGB(229, 232, 236), RGB(59, 59, 59)},
};

constexpr TStylerPreset kOffice2010Black{
    .Color = {RGB(196, 199, 204),
              RGB(143, 147, 153),
              64,
              {RGB(186, 189, 194), RGB(166, 170, 176), RGB(150, 154, 160), RGB(176, 180, 186)}},
    .ColorHot = {RGB(214, 216, 220),
                 RGB(170, 174, 180),
                 {},
                 {RGB(206, 208, 212), RGB(186, 189, 194), RGB(170, 174, 180), RGB(196, 199, 204)}},
    .DockColor = RGB(71, 71, 71),
    .DockColorTo = RGB(104, 104, 104),
    .BorderColor = RGB(76, 76, 76),
    .BorderColorHot = RGB(40, 40, 40),
    .RightHandle = {RGB(128, 128, 128), RGB(54, 54, 54), k2010Hot, k2010HotTo, k2010Down, k2010DownTo},
    .Caption = {RGB(68, 68, 68), RGB(40, 40, 40), RGB(24, 24, 24), k2010Hot, k2010HotTo, RGB(255, 255, 255),
                RGB(0, 0, 0), RGB(194, 150, 66)},
    .Buttons = {RGB(196, 199, 204), RGB(143, 147, 153), k2010Hot, k2010HotTo, k2010Down, k2010DownTo,
                k2010Checked, k2010CheckedTo, 0, 0, 0, 0, RGB(242, 202, 88), RGB(194, 150, 66),
                RGB(194, 118, 43)},
    .FloatingWindowBorderColor = RGB(40, 40, 40),
    .Switches = kDots,
    .Ribbon = {RGB(255, 255, 255), RGB(110, 110, 110), RGB(214, 216, 220), RGB(186, 189, 194),
               RGB(40, 40, 40), RGB(196, 199, 204), RGB(176, 180, 186), RGB(150, 154, 160),
               RGB(166, 170, 176), RGB(76, 76, 76), RGB(255, 255, 255), RGB(90, 90, 90), RGB(64, 64, 64),
               RGB(104, 104, 104), RGB(71, 71, 71), RGB(255, 255, 255)},
};

bool gScenicRibbon = false;

} // namespace

const TStylerPreset& StylerPreset(TToolBarStyle style, bool scenicRibbon) {
    switch (style) {
    case bsOffice2003Blue:
        return kOffice2003Blue;
    case bsOffice2003Silver:
        return kOffice2003Silver;
    case bsOffice2003Olive:
        return kOffice2003Olive;
    case bsOffice2003Classic:
        return kOffice2003Classic;
    case bsOffice2007Luna:
        return kOffice2007Luna;
    case bsOffice2007Obsidian:
        return kOffice2007Obsidian;
    case bsWindowsXP:
    case bsOfficeXP:
        return kWindowsXP;
    case bsWhidbeyStyle:
        return kWhidbeyStyle;
    case bsOffice2007Silver:
        return kOffice2007Silver;
    case bsWindowsVista:
        return kWindowsVista;
    case bsWindows7:
        return scenicRibbon ? kWindows7Scenic : kWindows7;
    case bsTerminal:
        return kTerminal;
    case bsOffice2010Blue:
        return kOffice2010Blue;
    case bsOffice2010Silver:
        return kOffice2010Silver;
    case bsOffice2010Black:
        return kOffice2010Black;
    case bsCustom:
        break;
    }
    return kOffice2003Blue;
}

bool ScenicRibbonMode() {
    return gScenicRibbon;
}
void SetScenicRibbonMode(bool on) {
    gScenicRibbon = on;
}

} // namespace emr
