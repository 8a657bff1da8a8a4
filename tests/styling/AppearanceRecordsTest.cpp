// Initial values, notification rules and copying of the appearance records.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "styling/ButtonAppearance.h"
#include "styling/CaptionAppearance.h"
#include "styling/ContainerAppearance.h"
#include "styling/GradientBackground.h"
#include "styling/SystemFont.h"

namespace emr {
namespace {

struct Counter {
    int events = 0;
    template <class R> void Watch(R& record) {
        record.OnChange = [this](TObject*) { ++events; };
    }
};

TEST(SystemFont, ThisPlatformOffersTheNewerLocaleInterface) {
    EXPECT_EQ(SystemUIFontName(), "Segoe UI");
    TButtonAppearance appearance;
    EXPECT_EQ(appearance.CaptionFont()->Name(), "Segoe UI");
}

TEST(GradientBackground, InitialValuesAndEverySetterNotifies) {
    TGradientBackground b;
    EXPECT_EQ(b.Color(), clWhite);
    EXPECT_EQ(b.ColorTo(), clBtnFace);
    EXPECT_EQ(b.Direction(), gdHorizontal);
    EXPECT_EQ(b.Steps(), 64);
    Counter c;
    c.Watch(b);
    b.SetColor(clWhite);
    b.SetColorTo(clBtnFace);
    b.SetDirection(gdHorizontal);
    b.SetSteps(64);
    EXPECT_EQ(c.events, 4) << "unchanged values notify too";
    b.SetSteps(-3);
    EXPECT_EQ(b.Steps(), -3) << "no range check";
    EXPECT_EQ(c.events, 5);
}

TEST(GradientBackground, AssignCopiesSilentlyAndIgnoresOtherClasses) {
    TGradientBackground source, target;
    source.SetColor(clRed);
    source.SetColorTo(clNone);
    source.SetDirection(gdVertical);
    source.SetSteps(128);
    Counter c;
    c.Watch(target);
    target.Assign(&source);
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_EQ(target.ColorTo(), clNone);
    EXPECT_EQ(target.Direction(), gdVertical);
    EXPECT_EQ(target.Steps(), 128);
    EXPECT_EQ(c.events, 0);

    TMirrorGradient other;
    EXPECT_NO_THROW(target.Assign(&other));
    EXPECT_EQ(target.Color(), clRed);
    TButtonAppearance button;
    TVistaGradientBackground vista;
    EXPECT_NO_THROW(vista.Assign(&button));
}

TEST(MirrorGradient, InitialValuesNotifyOnlyOnChangeAndRejectOtherClasses) {
    TMirrorGradient m;
    EXPECT_EQ(m.Color(), clWhite);
    EXPECT_EQ(m.ColorTo(), clBtnFace);
    EXPECT_EQ(m.ColorMirror(), 15587784u);
    EXPECT_EQ(m.ColorMirrorTo(), 16774371u);
    Counter c;
    c.Watch(m);
    m.SetColor(clWhite);
    m.SetColorMirrorTo(16774371);
    EXPECT_EQ(c.events, 0);
    m.SetColor(clRed);
    m.SetColorTo(clRed);
    m.SetColorMirror(clRed);
    m.SetColorMirrorTo(clRed);
    EXPECT_EQ(c.events, 4);

    TMirrorGradient copy;
    Counter c2;
    c2.Watch(copy);
    copy.Assign(&m);
    EXPECT_EQ(copy.ColorMirrorTo(), clRed);
    EXPECT_EQ(c2.events, 0);

    TGradientBackground wrong;
    try {
        copy.Assign(&wrong);
        FAIL() << "expected the assignment error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TGradientBackground to a TMirrorGradient");
    }
}

TEST(VistaGradientBackground, MirrorIsOwnedAndCopiedOnlyFromItsOwnClass) {
    TVistaGradientBackground a, b;
    TMirrorGradient* owned = a.Mirror();
    TMirrorGradient given;
    given.SetColorMirror(clLime);
    a.SetMirror(&given);
    EXPECT_EQ(a.Mirror(), owned);
    EXPECT_EQ(a.Mirror()->ColorMirror(), clLime);

    b.Assign(&a);
    EXPECT_EQ(b.Mirror()->ColorMirror(), clLime);

    TVistaGradientBackground c;
    TGradientBackground plain;
    plain.SetColor(clYellow);
    c.Assign(&plain);
    EXPECT_EQ(c.Color(), clYellow);
    EXPECT_EQ(c.Mirror()->ColorMirror(), 15587784u) << "a plain background has no mirror to give";
    Counter mirrorEvents;
    mirrorEvents.Watch(*c.Mirror());
    Counter backgroundEvents;
    backgroundEvents.Watch(c);
    c.Mirror()->SetColor(clRed);
    EXPECT_EQ(mirrorEvents.events, 1);
    EXPECT_EQ(backgroundEvents.events, 0) << "the mirror is not connected to its background";
}

TEST(ButtonAppearance, WhichSettersNotify) {
    using Setter = std::function<void(TButtonAppearance&)>;
    struct Case {
        const char* name;
        Setter set;
        bool notifies;
    };
    const std::vector<Case> cases = {
        {"Color", [](auto& a) { a.SetColor(1); }, true},
        {"ColorTo", [](auto& a) { a.SetColorTo(1); }, true},
        {"ColorChecked", [](auto& a) { a.SetColorChecked(1); }, true},
        {"ColorCheckedTo", [](auto& a) { a.SetColorCheckedTo(1); }, true},
        {"ColorDown", [](auto& a) { a.SetColorDown(1); }, true},
        {"ColorDownTo", [](auto& a) { a.SetColorDownTo(1); }, true},
        {"ColorHot", [](auto& a) { a.SetColorHot(1); }, true},
        {"ColorHotTo", [](auto& a) { a.SetColorHotTo(1); }, true},
        {"CaptionTextColor", [](auto& a) { a.SetCaptionTextColor(1); }, true},
        {"CaptionTextColorHot", [](auto& a) { a.SetCaptionTextColorHot(1); }, true},
        {"CaptionTextColorDown", [](auto& a) { a.SetCaptionTextColorDown(1); }, true},
        {"CaptionTextColorChecked", [](auto& a) { a.SetCaptionTextColorChecked(1); }, true},
        {"GradientDirection", [](auto& a) { a.SetGradientDirection(gdHorizontal); }, true},
        {"GradientDirectionHot", [](auto& a) { a.SetGradientDirectionHot(gdHorizontal); }, false},
        {"GradientDirectionDown", [](auto& a) { a.SetGradientDirectionDown(gdHorizontal); }, false},
        {"GradientDirectionChecked", [](auto& a) { a.SetGradientDirectionChecked(gdHorizontal); }, false},
        {"BorderColor", [](auto& a) { a.SetBorderColor(1); }, true},
        {"BorderDownColor", [](auto& a) { a.SetBorderDownColor(1); }, false},
        {"BorderHotColor", [](auto& a) { a.SetBorderHotColor(1); }, false},
        {"BorderCheckedColor", [](auto& a) { a.SetBorderCheckedColor(1); }, true},
        {"SystemFont", [](auto& a) { a.SetSystemFont(false); }, false},
    };
    for (const Case& c : cases) {
        TButtonAppearance a;
        Counter counter;
        counter.Watch(a);
        c.set(a);
        EXPECT_EQ(counter.events, c.notifies ? 1 : 0) << c.name;
        c.set(a);
        EXPECT_EQ(counter.events, c.notifies ? 1 : 0) << c.name << " set again to the same value";
    }
}

TEST(ButtonAppearance, CaptionFontIsCopiedAndAlwaysNotifies) {
    TButtonAppearance a;
    TFont* owned = a.CaptionFont();
    Counter counter;
    counter.Watch(a);
    TFont font;
    font.SetName("Courier New");
    a.SetCaptionFont(&font);
    a.SetCaptionFont(&font);
    EXPECT_EQ(counter.events, 2);
    EXPECT_EQ(a.CaptionFont(), owned);
    EXPECT_EQ(a.CaptionFont()->Name(), "Courier New");

    a.SetSystemFont(false);
    EXPECT_EQ(a.CaptionFont()->Name(), "Courier New") << "switching off leaves the font alone";
    a.SetSystemFont(true);
    EXPECT_EQ(a.CaptionFont()->Name(), "Segoe UI");
}

TEST(ButtonAppearance, AssignCopiesColoursButNotFontOrStateDirections) {
    TButtonAppearance source, target;
    source.SetColor(1);
    source.SetColorTo(2);
    source.SetColorHot(3);
    source.SetColorHotTo(4);
    source.SetColorDown(5);
    source.SetColorDownTo(6);
    source.SetColorChecked(7);
    source.SetColorCheckedTo(8);
    source.SetCaptionTextColor(9);
    source.SetCaptionTextColorHot(10);
    source.SetCaptionTextColorDown(11);
    source.SetCaptionTextColorChecked(12);
    source.SetGradientDirection(gdHorizontal);
    source.SetGradientDirectionHot(gdHorizontal);
    source.SetGradientDirectionDown(gdHorizontal);
    source.SetGradientDirectionChecked(gdHorizontal);
    source.SetBorderColor(13);
    source.SetBorderHotColor(14);
    source.SetBorderDownColor(15);
    source.SetBorderCheckedColor(16);
    source.CaptionFont()->SetName("Arial");
    source.SetSystemFont(false);

    Counter counter;
    counter.Watch(target);
    target.Assign(&source);
    EXPECT_EQ(counter.events, 0);
    const TColor copied[] = {target.Color(),
                             target.ColorTo(),
                             target.ColorHot(),
                             target.ColorHotTo(),
                             target.ColorDown(),
                             target.ColorDownTo(),
                             target.ColorChecked(),
                             target.ColorCheckedTo(),
                             target.CaptionTextColor(),
                             target.CaptionTextColorHot(),
                             target.CaptionTextColorDown(),
                             target.CaptionTextColorChecked()};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(copied[i], TColor(i + 1)) << i;
    EXPECT_EQ(target.GradientDirection(), gdHorizontal);
    EXPECT_EQ(target.BorderColor(), 13u);
    EXPECT_EQ(target.BorderHotColor(), 14u);
    EXPECT_EQ(target.BorderDownColor(), 15u);
    EXPECT_EQ(target.BorderCheckedColor(), 16u);
    EXPECT_EQ(target.GradientDirectionHot(), gdVertical);
    EXPECT_EQ(target.GradientDirectionDown(), gdVertical);
    EXPECT_EQ(target.GradientDirectionChecked(), gdVertical);
    EXPECT_EQ(target.CaptionFont()->Name(), "Segoe UI");
    EXPECT_TRUE(target.SystemFont());

    TCaptionAppearance other;
    EXPECT_NO_THROW(target.Assign(&other));
    EXPECT_EQ(target.Color(), 1u);
}

TEST(CaptionAppearance, InitialValuesAndChangeOnlyNotification) {
    TCaptionAppearance a;
    EXPECT_EQ(a.CaptionColor(), 0x808080u);
    EXPECT_EQ(a.CaptionColorTo(), clNone);
    EXPECT_EQ(a.CaptionTextColor(), clWhite);
    EXPECT_EQ(a.CaptionBorderColor(), clNone);
    EXPECT_EQ(a.CaptionColorHot(), clNone);
    EXPECT_EQ(a.CaptionColorHotTo(), clNone);
    EXPECT_EQ(a.CaptionTextColorHot(), clWhite);
    EXPECT_EQ(a.CaptionBorderColorHot(), clNone);
    Counter counter;
    counter.Watch(a);
    a.SetCaptionColor(0x808080);
    a.SetCaptionBorderColorHot(clNone);
    EXPECT_EQ(counter.events, 0);
    a.SetCaptionColor(1);
    a.SetCaptionBorderColorHot(2);
    EXPECT_EQ(counter.events, 2);
}

TEST(CaptionAppearance, AssignNotifiesOnlyThroughTheLastTwoValues) {
    TCaptionAppearance source, target;
    source.SetCaptionColor(clRed);
    source.SetCaptionColorTo(clRed);
    source.SetCaptionTextColor(clRed);
    source.SetCaptionBorderColor(clRed);
    source.SetCaptionBorderColorHot(clRed);
    source.SetCaptionColorHot(clRed);
    Counter counter;
    counter.Watch(target);
    target.Assign(&source);
    EXPECT_EQ(counter.events, 0) << "the directly copied colours do not notify";
    EXPECT_EQ(target.CaptionColor(), clRed);
    EXPECT_EQ(target.CaptionBorderColorHot(), clRed);

    source.SetCaptionTextColorHot(clBlue);
    target.Assign(&source);
    EXPECT_EQ(counter.events, 1);
    source.SetCaptionColorHotTo(clBlue);
    source.SetCaptionTextColorHot(clLime);
    target.Assign(&source);
    EXPECT_EQ(counter.events, 3);
    EXPECT_EQ(target.CaptionTextColorHot(), clLime);

    TContainerAppearance wrong;
    EXPECT_THROW(target.Assign(&wrong), Exception);
}

TEST(ContainerAppearance, AssignNotifiesOncePerChangedValue) {
    TContainerAppearance a;
    EXPECT_EQ(a.LineColor(), clBtnShadow);
    EXPECT_TRUE(a.Line3D());
    TContainerAppearance source;
    Counter counter;
    counter.Watch(a);
    a.Assign(&source);
    EXPECT_EQ(counter.events, 0);
    source.SetLineColor(clRed);
    source.SetLine3D(false);
    a.Assign(&source);
    EXPECT_EQ(counter.events, 2);
    EXPECT_EQ(a.LineColor(), clRed);
    EXPECT_FALSE(a.Line3D());

    TGradientBackground wrong;
    try {
        a.Assign(&wrong);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TGradientBackground to a TContainerAppearance");
    }
}

} // namespace
} // namespace emr
