#pragma once

#include <memory>

#include "framework/controls/CustomControl.h"
#include "framework/forms/ControlActionLink.h"
#include "framework/forms/Form.h"

namespace emr {

/// A push button. Clicking it (mouse release over it, Space or Enter while focused,
/// Enter when it is the Default button, Esc when it is the Cancel button, its
/// caption's accelerator) runs OnClick or its action, and sets its form's
/// ModalResult when it has one.
///
/// Pressed look: while the left button is held on it and the pointer is over it.
class TButton : public TCustomControl {
    EMR_CLASS(TButton)
public:
    explicit TButton(TComponent* owner);
    void BeforeDestruction() override;

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    /// True while the button shows its pressed face.
    bool Down() const { return down_; }

    TBasicAction* Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }
    void SetAction(TBasicAction* action);
    TControlActionLink* ActionLink() const { return actionLink_.get(); }

    void Click() override;
    void WndProc(TMessage& message) override;
    void DescribeAccessible(platform::TAccessibleNode& node) const override;
    bool DoAccessibleAction(TComponent* part, int index) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    void KeyUp(int& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void DoEnter() override;
    void DoExit() override;
    void TextChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void ActionChange(TBasicAction* sender, bool checkDefaults);

private:
    void SetDown(bool value);

    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool down_ = false;
    bool tracking_ = false;
    bool spaceDown_ = false;
    std::unique_ptr<TControlActionLink> actionLink_;
};

} // namespace emr
