#include "framework/platform/x11/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <errno.h>

#include <cctype>
#include <vector>

#include "framework/platform/x11/X11BackendInternals.h"

namespace emr::platform::x11 {

namespace {

// What a program that never named itself is called: the executable's name, so
// that two programs on the toolkit are not grouped as one.
std::string ExecutableName() {
    const char* name = program_invocation_short_name;
    return name && *name ? name : "emr";
}

// The class by the X resource convention: the instance name with its first
// letter in capitals.
std::string ClassFromName(std::string name) {
    if (!name.empty()) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

// _NET_WM_ICON: width, height, then the ARGB pixels, for each size in turn.
// Format 32 properties travel as longs through Xlib, whatever their width.
std::vector<long> IconCardinals(const std::vector<TIconImage>& icons) {
    std::vector<long> values;
    for (const TIconImage& icon : icons) {
        if (icon.Size <= 0 || icon.Pixels.size() != static_cast<std::size_t>(icon.Size) * icon.Size) continue;
        values.push_back(icon.Size);
        values.push_back(icon.Size);
        values.insert(values.end(), icon.Pixels.begin(), icon.Pixels.end());
    }
    return values;
}

} // namespace

void X11Backend::SetIdentity(const TProgramIdentity& identity) {
    identity_ = identity;
    if (identity_.Name.empty()) identity_.Name = ExecutableName();
    if (identity_.Title.empty()) identity_.Title = ClassFromName(identity_.Name);
    for (const auto& [id, w] : windows_)
        ApplyIdentity(id);
}

void X11Backend::ApplyIdentity(unsigned long window) {
    XClassHint classHint;
    classHint.res_name = identity_.Name.data();
    classHint.res_class = identity_.Title.data();
    XSetClassHint(display_, window, &classHint);

    const std::vector<long> icon = IconCardinals(identity_.Icons);
    if (icon.empty()) {
        XDeleteProperty(display_, window, A(NET_WM_ICON));
        return;
    }
    XChangeProperty(display_, window, A(NET_WM_ICON), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(icon.data()), static_cast<int>(icon.size()));
}

} // namespace emr::platform::x11
