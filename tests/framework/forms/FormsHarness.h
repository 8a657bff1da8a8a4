#pragma once

#include <functional>
#include <string>

#include "framework/controls/Harness.h"
#include "framework/forms/FormsClasses.h"
#include "framework/forms/Screen.h"
#include "framework/streaming/LayoutReader.h"

namespace emr::testing {

/// The controls harness plus what forms-layer tests share: layouts, pixels,
/// and input fed from the idle step so that nested loops receive it.
class FormsHarness : public Harness {
public:
    FormsHarness() { RegisterFormsClasses(); }
    ~FormsHarness() { App().OnIdle = nullptr; }

    /// Creates a form from a stored layout, shows it and lets it paint.
    TCustomForm* Show(const std::string& layout) {
        auto* form = dynamic_cast<TCustomForm*>(TLayoutReader::CreateFromText(layout, &App()));
        if (!form) throw Exception("layout root is not a form");
        if (!App().MainForm()) App().SetMainForm(form);
        form->Show();
        App().ProcessMessages();
        return form;
    }

    /// The presented pixel at client point (x, y) of `control` (0x00RRGGBB).
    std::uint32_t Pixel(const TControl* control, int x, int y) {
        const auto* form = dynamic_cast<const TCustomForm*>(control->TopLevel());
        const TPoint screen = control->ClientToScreen({x, y});
        const TPoint origin = form->ClientOrigin();
        return Backend().PixelAt(form->NativeWindow(), screen.X - origin.X, screen.Y - origin.Y);
    }

    /// Runs `step` each time the running loop has nothing to do and all injected
    /// input is taken; `step` injects more (its result is for the reader only).
    void OnIdle(std::function<bool()> step) {
        App().OnIdle = [this, step](TObject*) {
            if (Backend().PendingEvents() == 0) step();
        };
    }

    /// The first shown form of class T other than `except`, or null.
    template <class T = TCustomForm> T* FindForm(const TCustomForm* except = nullptr) {
        for (TCustomForm* f : Screen().FormList())
            if (f != except && f->Visible())
                if (auto* t = dynamic_cast<T*>(f)) return t;
        return nullptr;
    }
    /// The first shown form whose class is named `className`.
    TCustomForm* FindFormByClass(std::string_view className) {
        for (TCustomForm* f : Screen().FormList())
            if (f->Visible() && f->ClassName() == className) return f;
        return nullptr;
    }

    /// Clicks the middle of a control.
    void ClickOn(const TControl* control) {
        const TPoint p = control->ClientToScreen({control->Width() / 2, control->Height() / 2});
        Backend().Click(p.X, p.Y);
    }
};

inline std::uint32_t Rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}
inline constexpr std::uint32_t kHighlight = 0xFFFFFF; // clBtnHighlight
inline constexpr std::uint32_t kShadow = 0xA0A0A0;    // clBtnShadow
inline constexpr std::uint32_t kFace = 0xF0F0F0;      // clBtnFace
inline constexpr std::uint32_t kDkShadow = 0x696969;  // cl3DDkShadow
inline constexpr std::uint32_t kLight = 0xE3E3E3;     // cl3DLight
inline constexpr std::uint32_t kWindow = 0xFFFFFF;    // clWindow

} // namespace emr::testing
