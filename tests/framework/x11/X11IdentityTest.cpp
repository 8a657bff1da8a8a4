// What a program's windows tell the desktop about it: WM_CLASS and the icon.
#include "X11Fixture.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <utility>

namespace emr::testing {
namespace {

std::pair<std::string, std::string> ClassOf(Display* dpy, Window window) {
    XClassHint hint{};
    if (!XGetClassHint(dpy, window, &hint)) return {};
    std::pair<std::string, std::string> result{hint.res_name ? hint.res_name : "",
                                               hint.res_class ? hint.res_class : ""};
    XFree(hint.res_name);
    XFree(hint.res_class);
    return result;
}

// The property's 32-bit values (Xlib hands them over as longs, sign-extended).
std::vector<std::uint32_t> IconProperty(Display* dpy, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<std::uint32_t> out;
    if (XGetWindowProperty(dpy, window, XInternAtom(dpy, "_NET_WM_ICON", False), 0, 1 << 16, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        format == 32)
        out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
    if (data) XFree(data);
    return out;
}

TWindowStyle OfKind(TWindowKind kind) {
    TWindowStyle style;
    style.Kind = kind;
    return style;
}

} // namespace

// Every program on the toolkit used to call its windows emrpatch/EmrPatch, so
// task bars grouped unrelated programs together.
TEST_F(X11Test, WindowsGoByTheExecutablesNameUntilTheProgramNamesItselfThenByThatNameAndIcon) {
    const WindowId early = Show(OfKind(TWindowKind::Framed), TRect::FromBounds(10, 10, 80, 60));
    Sync();
    EXPECT_EQ(ClassOf(Probe(), early), std::make_pair(std::string("x11_tests"), std::string("X11_tests")));
    EXPECT_TRUE(IconProperty(Probe(), early).empty()) << "an icon nobody drew";

    // Two sizes; the pixels are ARGB with straight alpha.
    platform::TIconImage small{2, {0xFF112233, 0x00000000, 0x80FFFFFF, 0xFF445566}};
    platform::TIconImage large{3, std::vector<std::uint32_t>(9, 0xFF00AA00)};
    B().SetIdentity({"editor", "Text Editor", {small, large}});
    std::vector<std::uint32_t> expected{2, 2};
    expected.insert(expected.end(), small.Pixels.begin(), small.Pixels.end());
    expected.insert(expected.end(), {3, 3});
    expected.insert(expected.end(), large.Pixels.begin(), large.Pixels.end());

    const WindowId framed = Show(OfKind(TWindowKind::Framed), TRect::FromBounds(100, 10, 80, 60));
    const WindowId floating = Show(OfKind(TWindowKind::Borderless), TRect::FromBounds(200, 10, 80, 60));
    const WindowId popup = Show(OfKind(TWindowKind::Popup), TRect::FromBounds(300, 10, 80, 60));
    Sync();
    for (WindowId id : {early, framed, floating, popup}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(ClassOf(Probe(), id), std::make_pair(std::string("editor"), std::string("Text Editor")));
        EXPECT_EQ(IconProperty(Probe(), id), expected);
    }
}

TEST_F(X11Test, AProgramNamingOnlyItselfGetsItsNameCapitalisedAsClassAndNoIcon) {
    B().SetIdentity({"notes", "", {{4, {1, 2, 3}}}}); // pixels that do not fill the size are left out
    const WindowId id = Show(OfKind(TWindowKind::Framed), TRect::FromBounds(10, 10, 80, 60));
    Sync();
    EXPECT_EQ(ClassOf(Probe(), id), std::make_pair(std::string("notes"), std::string("Notes")));
    EXPECT_TRUE(IconProperty(Probe(), id).empty());
}

} // namespace emr::testing
