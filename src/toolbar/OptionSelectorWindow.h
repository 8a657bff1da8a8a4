#pragma once

#include "framework/forms/Form.h"

namespace emr {

class TAdvCustomToolBar;
class TOptionSelectorPanel;
class TTimer;

/// A borderless popup that shows one option panel: the toolbar's option window,
/// and the base of every cascade level. It hides itself when it loses
/// activation (a press outside every open popup of its chain) unless a window it
/// opened is up; the hide waits for the first tick of a 1 ms timer.
class TOptionSelectorWindow : public TCustomForm {
    EMR_CLASS(TOptionSelectorWindow)
public:
    explicit TOptionSelectorWindow(TComponent* owner);
    void BeforeDestruction() override;

    TAdvCustomToolBar* AdvToolBar() const;
    void SetAdvToolBar(TAdvCustomToolBar* value);
    TOptionSelectorPanel* OptionsPanel() const { return panel_; }
    void SetOptionsPanel(TOptionSelectorPanel* value) { panel_ = value; }
    /// The toolbar, or the panel that opened this window.
    TControl* OwnerControl() const { return ownerControl_.Get(); }
    void SetOwnerControl(TControl* value) { ownerControl_.Reset(value); }
    bool HideOnDeactivate() const { return hideOnDeactivate_; }
    void SetHideOnDeactivate(bool value) { hideOnDeactivate_ = value; }
    /// Takes the panel's size.
    void FitToPanel();
    /// Activation moved elsewhere: starts the deferred hide when allowed.
    void LoseActivation();
    bool HidePending() const;

protected:
    void CreateParams(TCreateParams& params) const override;
    void Deactivate() override;
    void DoShow() override;
    void DoHide() override;
    /// The deferred hide's tick.
    virtual void DeferredHide();

private:
    TOptionSelectorPanel* panel_ = nullptr;
    TComponentRef<TAdvCustomToolBar> toolBar_;
    TComponentRef<TControl> ownerControl_;
    bool hideOnDeactivate_ = true;
    TTimer* hideTimer_ = nullptr;
};

} // namespace emr
