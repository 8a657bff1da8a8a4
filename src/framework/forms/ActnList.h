#pragma once

#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/forms/ShortCut.h"

namespace emr {

class TBasicAction;
class TCustomAction;
class TActionList;
class TCustomImageList;

/// Connects one client (a control, a menu item) to an action. The action calls
/// Change() on every link after any change; the setters below are called before
/// the action stores a new value so the link can tell whether the client still
/// followed the old one.
class TBasicActionLink : public TObject {
public:
    static constexpr std::string_view StaticClassName = "TBasicActionLink";
    std::string_view ClassName() const override { return StaticClassName; }

    TBasicActionLink() = default;
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return action_; }
    /// Registers with `action` (and unregisters from the previous one).
    void SetAction(TBasicAction* action);

    /// Runs the action on behalf of `component`; false when nothing ran.
    virtual bool Execute(TComponent* component = nullptr);
    /// Lets the action refresh its state; true when an update handler ran.
    virtual bool Update();

    /// Fired after the action changed.
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    friend class TCustomAction;
    /// The action changed; the default fires OnChange.
    virtual void Change();
    /// True when the client's click runs the action.
    virtual bool IsOnExecuteLinked() const { return true; }

private:
    TBasicAction* action_ = nullptr;
};

/// A link to a TCustomAction that keeps the client's properties in step. Each
/// Is...Linked test holds when the action is a TCustomAction; clients refine it
/// by comparing their own value with the action's.
class TActionLink : public TBasicActionLink {
public:
    static constexpr std::string_view StaticClassName = "TActionLink";
    std::string_view ClassName() const override { return StaticClassName; }

    virtual bool IsCaptionLinked() const { return IsCustomAction(); }
    virtual bool IsCheckedLinked() const { return IsCustomAction(); }
    virtual bool IsEnabledLinked() const { return IsCustomAction(); }
    virtual bool IsGroupIndexLinked() const { return IsCustomAction(); }
    virtual bool IsHintLinked() const { return IsCustomAction(); }
    virtual bool IsImageIndexLinked() const { return IsCustomAction(); }
    virtual bool IsShortCutLinked() const { return IsCustomAction(); }
    virtual bool IsVisibleLinked() const { return IsCustomAction(); }

    virtual void SetCaption(const std::string&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetGroupIndex(int) {}
    virtual void SetHint(const std::string&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}

protected:
    bool IsCustomAction() const;
    TCustomAction* CustomAction() const;
};

/// A command that clients (buttons, menu items) run and reflect.
class TBasicAction : public TComponent {
    EMR_CLASS(TBasicAction)
public:
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;
    void BeforeDestruction() override;

    /// Runs OnExecute; false when there is no handler.
    virtual bool Execute();
    /// Runs OnUpdate; false when there is no handler.
    virtual bool Update();

    /// The component that triggered the current execution (null outside one).
    TComponent* ActionComponent() const { return actionComponent_.Get(); }
    void SetActionComponent(TComponent* component) { actionComponent_.Reset(component); }

    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);
    const std::vector<TBasicActionLink*>& Links() const { return links_; }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    /// Tells every link that the action changed.
    virtual void Change();

private:
    std::vector<TBasicActionLink*> links_;
    TComponentRef<TComponent> actionComponent_;
};

/// An action that can sit in an action list.
class TContainedAction : public TBasicAction {
    EMR_CLASS(TContainedAction)
public:
    explicit TContainedAction(TComponent* owner);
    void BeforeDestruction() override;

    TActionList* ActionList() const { return actionList_; }
    void SetActionList(TActionList* list);
    /// Position in the action list, or -1.
    int Index() const;
    const std::string& Category() const { return category_; }
    void SetCategory(const std::string& category);

    bool Execute() override;
    bool Update() override;

    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

private:
    friend class TActionList;
    TActionList* actionList_ = nullptr;
    std::string category_;
};

/// An action with the properties a client mirrors.
class TCustomAction : public TContainedAction {
    EMR_CLASS(TCustomAction)
public:
    explicit TCustomAction(TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return checked_; }
    /// Checking an action of a group (GroupIndex > 0) unchecks the others of the
    /// same group in the same action list.
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int groupIndex);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int imageIndex);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    /// Execute toggles Checked (or checks it, in a group) before the handler runs.
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool autoCheck);

    /// The action list's images, or null.
    TCustomImageList* Images() const;

    /// Updates, then runs the handler when enabled.
    bool Execute() override;

private:
    template <class F> void ForEachLink(F f);

    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    int groupIndex_ = 0;
    std::string hint_;
    int imageIndex_ = -1;
    TShortCut shortCut_ = 0;
    bool visible_ = true;
    bool autoCheck_ = false;
    bool checking_ = false;
};

/// The action stored in layouts.
class TAction : public TCustomAction {
    EMR_CLASS(TAction)
public:
    explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

/// Keeps the actions of a form together with their shared image list.
class TActionList : public TComponent {
    EMR_CLASS(TActionList)
public:
    explicit TActionList(TComponent* owner);
    void BeforeDestruction() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TContainedAction* Action(int index) const { return actions_.at(static_cast<std::size_t>(index)); }
    const std::vector<TContainedAction*>& Actions() const { return actions_; }

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);

    /// Runs before any action of the list executes; setting `handled` skips the action's own handler.
    std::function<void(TBasicAction* action, bool& handled)> OnExecute;
    std::function<void(TBasicAction* action, bool& handled)> OnUpdate;
    /// Fired when Images or the list of actions changed.
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TContainedAction;
    void AddAction(TContainedAction* action);
    void RemoveAction(TContainedAction* action);
    void Changed();

    std::vector<TContainedAction*> actions_;
    TCustomImageList* images_ = nullptr;
};

} // namespace emr
