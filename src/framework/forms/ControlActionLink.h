#pragma once

#include <functional>

#include "framework/controls/Control.h"
#include "framework/forms/ActnList.h"

namespace emr {

/// Keeps a control's Caption, Enabled, Hint and Visible in step with its action
/// while the control still shows the action's value. Controls with more state
/// (checked, image index, group index) derive from it.
///
/// TControl has no action slot of its own: a control class that takes actions
/// holds one of these links, forwards the action's free notification to it
/// (SetAction(nullptr)), runs it from Click, and wires OnActionChange to its own
/// action-change handling.
class TControlActionLink : public TActionLink {
public:
    static constexpr std::string_view StaticClassName = "TControlActionLink";
    std::string_view ClassName() const override { return StaticClassName; }

    explicit TControlActionLink(TControl* client) : client_(client) {}
    TControl* Client() const { return client_; }

    bool IsCaptionLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsVisibleLinked() const override;

    void SetCaption(const std::string& value) override;
    void SetEnabled(bool value) override;
    void SetHint(const std::string& value) override;
    void SetVisible(bool value) override;

    /// Called after every change of the action, with check-defaults off.
    std::function<void(TBasicAction* action, bool checkDefaults)> OnActionChange;

protected:
    void Change() override;

private:
    TControl* client_;
};

/// Copies an action's Caption, Enabled, Hint and Visible into a control; with
/// `checkDefaults` only where the control still has its default value.
void ApplyActionToControl(TControl* control, TBasicAction* action, bool checkDefaults);

} // namespace emr
