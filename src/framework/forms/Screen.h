#pragma once

#include <vector>

#include "framework/controls/ControlTypes.h"
#include "framework/core/Geometry.h"

namespace emr {

class TCustomForm;
class TWinControl;
class TControl;

/// The desktop as the application sees it: size, work area, monitors, the
/// screen-wide cursor, and the list of forms with the active one.
class TScreen {
public:
    static TScreen& Instance();

    // In device-independent pixels, as all form geometry.
    int Width() const;
    int Height() const;
    /// The bounds of all monitors together.
    TRect DesktopRect() const;
    TRect WorkAreaRect() const;
    int MonitorCount() const;
    TRect Monitors(int index) const;
    /// The monitor holding most of `rect` (the first monitor when none does).
    TRect MonitorFor(const TRect& rect) const;

    /// The screen-wide cursor: when not crDefault it overrides every control's cursor.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    /// Shows the cursor that applies to the control under the pointer now.
    void UpdateCursor();

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<std::size_t>(index)); }
    const std::vector<TCustomForm*>& FormList() const { return forms_; }
    TCustomForm* ActiveForm() const { return activeForm_; }
    /// The focused control of the active form.
    TWinControl* ActiveControl() const;

    /// The topmost visible, enabled form whose client area holds the screen point
    /// (stay-on-top forms first, then the most recently raised).
    TCustomForm* FormAt(TPoint screen) const;
    /// Records that a form was raised above the others.
    void BringFormToFront(TCustomForm* form);

    // The forms register themselves.
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);

private:
    TCursor cursor_ = crDefault;
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
};

/// The screen of the running program.
inline TScreen& Screen() {
    return TScreen::Instance();
}

/// The deepest visible control under a screen point in any form (disabled ones
/// only with allowDisabled), or null.
TControl* FindDragTarget(TPoint screen, bool allowDisabled = false);

} // namespace emr
