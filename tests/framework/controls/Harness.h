#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/ControlsClasses.h"
#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"
#include "framework/controls/Mouse.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/FormsClasses.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"

namespace emr::testing {

/// A headless backend and an application for one test; everything is torn down
/// in the right order afterwards.
class Harness {
public:
    Harness() {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        app_ = new TApplication(nullptr);
    }
    ~Harness() {
        TObject::Free(app_);
        platform::Backend::Uninstall();
    }
    platform::HeadlessBackend& Backend() { return *backend_; }
    TApplication& App() { return *app_; }

    /// A shown form with the given client size at screen (x, y) of the frame.
    TForm* NewForm(int x, int y, int clientWidth, int clientHeight) {
        auto* form = new TForm(app_);
        form->SetBounds(x, y, 100, 100);
        form->SetClientWidth(clientWidth);
        form->SetClientHeight(clientHeight);
        return form;
    }
    /// Screen position of a client point of a control.
    static TPoint At(const TControl* c, int x, int y) { return c->ClientToScreen({x, y}); }

private:
    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app_ = nullptr;
};

/// A windowed control that records what happens to it.
class Probe : public TCustomControl {
    EMR_CLASS(Probe)
public:
    explicit Probe(TComponent* owner, TColor fill = clNone) : TCustomControl(owner), fill_(fill) {}

    std::vector<std::string> Log;
    std::vector<TPoint> Moves;
    int Paints = 0;
    bool EraseHandled = false;

    void WndProc(TMessage& m) override {
        if (m.Msg == WM_ERASEBKGND && EraseHandled) {
            m.Result = 1;
            return;
        }
        if (m.Msg == WM_CAPTURECHANGED) Log.push_back("capture-lost");
        TCustomControl::WndProc(m);
    }

protected:
    void MouseEnter() override {
        Log.push_back("enter");
        TCustomControl::MouseEnter();
    }
    void MouseLeave() override {
        Log.push_back("leave");
        TCustomControl::MouseLeave();
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
        Log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::MouseUp(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) override {
        Moves.push_back({x, y});
        TCustomControl::MouseMove(s, x, y);
    }
    void Paint() override {
        ++Paints;
        if (fill_ != clNone) {
            Canvas()->Brush()->SetColor(fill_);
            Canvas()->FillRect(ClientRect());
        }
    }

private:
    TColor fill_;
};

/// A windowless control that paints itself in one colour.
class Swatch : public TGraphicControl {
    EMR_CLASS(Swatch)
public:
    Swatch(TComponent* owner, TColor fill) : TGraphicControl(owner), fill_(fill) {}
    std::vector<std::string> Log;

protected:
    void MouseEnter() override { Log.push_back("enter"); }
    void MouseLeave() override { Log.push_back("leave"); }
    void Paint() override {
        Canvas()->Brush()->SetColor(fill_);
        Canvas()->FillRect(ClientRect());
    }

private:
    TColor fill_;
};

/// Makes a control of class T at the given bounds inside `parent`.
template <class T, class... A> T* Place(TWinControl* parent, int l, int t, int w, int h, A&&... args) {
    auto* c = new T(parent, std::forward<A>(args)...);
    c->SetBounds(l, t, w, h);
    c->SetParent(parent);
    return c;
}

} // namespace emr::testing
