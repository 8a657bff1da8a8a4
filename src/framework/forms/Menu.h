#pragma once

#include <functional>

#include "framework/controls/ControlTypes.h"
#include "framework/core/Component.h"
#include "framework/forms/MenuItem.h"

namespace emr {

class TCustomImageList;

enum class TMenuAutoFlag { maAutomatic, maManual, maParent };

/// A tree of menu items under one root item that the menu owns.
class TMenu : public TComponent {
    EMR_CLASS(TMenu)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    void BeforeDestruction() override;

    /// The root item; its sub-items are the menu's top-level entries.
    TMenuItem* Items() const { return items_; }

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag value) { autoHotkeys_ = value; }
    /// The menu's own direction, or while ParentBiDiMode that of the control owning it.
    TBiDiMode BiDiMode() const;
    /// Sets the direction and stops following the owning control's.
    void SetBiDiMode(TBiDiMode mode) {
        biDiMode_ = mode;
        parentBiDiMode_ = false;
    }
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool value) { parentBiDiMode_ = value; }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw) { ownerDraw_ = ownerDraw; }

    /// The item with that command number anywhere in the tree, or null.
    TMenuItem* FindItemByCommand(int command) const;
    /// The enabled, visible item with that shortcut anywhere in the tree, or null.
    TMenuItem* FindItemByShortCut(TShortCut shortCut) const;
    /// Clicks the item with that shortcut; true when there was one.
    bool IsShortCut(TShortCut shortCut);

    /// Fired after an item changed: (menu, item or null, rebuild = the item list changed).
    std::function<void(TObject* sender, TMenuItem* source, bool rebuild)> OnChange;

protected:
    friend class TMenuItem;
    virtual void ItemChanged(TMenuItem* source, bool rebuild);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* items_ = nullptr;
    TCustomImageList* images_ = nullptr;
    TMenuAutoFlag autoHotkeys_ = TMenuAutoFlag::maAutomatic;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    bool parentBiDiMode_ = true;
    bool ownerDraw_ = false;
};

/// A form's menu bar.
class TMainMenu : public TMenu {
    EMR_CLASS(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}

    bool AutoMerge() const { return autoMerge_; }
    void SetAutoMerge(bool value) { autoMerge_ = value; }

private:
    bool autoMerge_ = false;
};

} // namespace emr
