#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/forms/ActnList.h"
#include "framework/forms/Hotkey.h"
#include "framework/forms/ShortCut.h"

namespace emr {

class TMenu;
class TMenuItem;

/// Keeps a menu item's caption, checks, enabled and visible state, hint, image
/// and shortcut in step with its action, as long as the item still shows the
/// action's value.
class TMenuActionLink : public TActionLink {
public:
    static constexpr std::string_view StaticClassName = "TMenuActionLink";
    std::string_view ClassName() const override { return StaticClassName; }

    explicit TMenuActionLink(TMenuItem* client) : client_(client) {}
    TMenuItem* Client() const { return client_; }

    bool IsCaptionLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsGroupIndexLinked() const override;
    bool IsHintLinked() const override;
    bool IsImageIndexLinked() const override;
    bool IsShortCutLinked() const override;
    bool IsVisibleLinked() const override;

    void SetCaption(const std::string& value) override;
    void SetChecked(bool value) override;
    void SetEnabled(bool value) override;
    void SetGroupIndex(int value) override;
    void SetHint(const std::string& value) override;
    void SetImageIndex(int value) override;
    void SetShortCut(TShortCut value) override;
    void SetVisible(bool value) override;

protected:
    void Change() override;

private:
    TMenuItem* client_;
};

/// One entry of a menu; holds its sub-items in order. Sub-items are owned by the
/// component that created them (the form, for stored menus); an item that is
/// freed also frees the sub-items it still holds.
class TMenuItem : public TComponent {
    EMR_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    void BeforeDestruction() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    /// A caption of "-" makes the item a separator line.
    bool IsLine() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Checked() const { return checked_; }
    /// Checking a radio item unchecks the radio items of the same group beside it.
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int imageIndex);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radioItem);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int groupIndex);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool autoCheck);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int helpContext) { helpContext_ = helpContext; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // Sub-items.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TMenuItem* operator[](int index) const { return Item(index); }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    TMenuItem* Parent() const { return parent_; }
    /// Appends `item` (taking it from any earlier parent).
    void Add(TMenuItem* item);
    /// Inserts `item` before position `index` (0..Count).
    void Insert(int index, TMenuItem* item);
    /// Takes the sub-item out of this item without freeing it.
    void Remove(TMenuItem* item);
    /// Removes the sub-item at `index` and frees it.
    void Delete(int index);
    /// Frees every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    /// Position among the parent's items, or -1.
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    /// The sub-item with this caption (accelerator marks ignored), or null.
    TMenuItem* Find(const std::string& caption) const;
    /// Number of visible sub-items.
    int VisibleCount() const;

    /// The menu this item belongs to (through its parents), or null.
    TMenu* GetParentMenu() const;
    /// A number unique to this item for its lifetime, for lookups by command.
    int Command() const { return command_; }
    /// Counts the changes to the item's own properties: what was worked out
    /// from them (a measured size, say) still holds while it stays the same.
    unsigned Revision() const { return revision_; }

    TBasicAction* Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }
    void SetAction(TBasicAction* action);
    TMenuActionLink* ActionLink() const { return actionLink_.get(); }

    /// Runs the item: OnClick when set, else its action; auto-check first. Does
    /// nothing when disabled.
    virtual void Click();

    TNotifyEvent OnClick;

    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

protected:
    friend class TMenuActionLink;
    friend class TMenu;
    /// Takes the action's values; with `checkDefaults` only where this item still has its default.
    virtual void ActionChange(TBasicAction* sender, bool checkDefaults);
    /// Tells the parent menu that this item changed (`rebuild`: the item list changed).
    void MenuChanged(bool rebuild);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void TurnSiblingsOff();

    std::string caption_;
    TShortCut shortCut_ = 0;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int imageIndex_ = -1;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool default_ = false;
    std::string hint_;
    bool autoCheck_ = false;
    int helpContext_ = 0;
    int tag_ = 0;
    int command_ = 0;
    unsigned revision_ = 0;
    bool tornDown_ = false;

    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on a menu's root item only
    std::unique_ptr<TMenuActionLink> actionLink_;
};

} // namespace emr
