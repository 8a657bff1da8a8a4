#pragma once

#include <vector>

#include "framework/forms/PopupMenu.h"
#include "toolbar/OptionSelectorPanel.h"

namespace emr {

class TAdvToolBarSeparator;
class TATBPopupWindow;
class TTimer;

/// The colours of the two text items of a control selector panel.
struct TSelectorItemColors {
    TColor HotFrom = static_cast<TColor>(0xD2BDB6);
    TColor HotTo = clNone;
    TColor OpenFrom = static_cast<TColor>(0x808080);
    TColor OpenTo = clNone;
    TColor TextNormal = static_cast<TColor>(0);
    TColor TextHot = static_cast<TColor>(0xFFFFFF);
    TColor TextOpen = static_cast<TColor>(0);
};

/// The panel of a toolbar's option window: the controls that did not fit, flowed
/// in rows (with copies of the separators between them), and under them the
/// "Add or Remove Buttons" item, which opens the cascade of check marks, and the
/// "Options" item, which pops up the toolbar's option menu.
class TControlSelectorPanel : public TOptionSelectorPanel {
    EMR_CLASS(TControlSelectorPanel)
public:
    explicit TControlSelectorPanel(TComponent* owner);

    static constexpr int ItemGap = 8;

    // Listing.
    void AddControl(TControl* control);
    void AddSeparatorCopy(const TAdvToolBarSeparator* original);
    void ClearListedControls() { listed_.clear(); }
    const std::vector<TControl*>& ListedControls() const { return listed_; }
    const std::vector<TAdvToolBarSeparator*>& SeparatorCopies() const { return copies_; }
    void FreeSeparatorCopies();
    void ArrangeOptionPanel();
    void MeasureOptionItems();
    /// Nothing to show: no listed control and no item.
    bool Empty() const;

    // Items.
    TSelectorItem& AddRemoveItem() { return addRemove_; }
    TSelectorItem& OptionsItem() { return options_; }
    bool ShowAddRemove() const { return showAddRemove_; }
    void SetShowAddRemove(bool value) { showAddRemove_ = value; }
    TPopupMenu* OptionMenu() const { return optionMenu_.Get(); }
    void SetOptionMenu(TPopupMenu* value) { optionMenu_.Reset(value); }
    bool OptionsItemShown() const { return OptionMenu() != nullptr; }
    const TSelectorItemColors& ItemColors() const { return colors_; }
    void SetItemColors(const TSelectorItemColors& value) { colors_ = value; }
    bool AddRemoveHot() const { return addRemoveHot_; }
    bool AddRemoveOpen() const { return addRemoveOpen_; }
    bool OptionsHot() const { return optionsHot_; }
    bool OptionsOpen() const { return optionsOpen_; }

    void OpenAddRemoveMenu();
    /// Shows the add-remove item highlighted (or not) as the pointer would.
    void SetAddRemoveHot(bool value);
    /// Opens the cascade with the add-remove item shown open, as moving onto it does.
    void OpenAddRemoveByKey();
    void CloseAddRemoveMenu();
    void OpenOptionsMenu();
    /// The cascade's first level, created when first opened.
    TATBPopupWindow* AddRemoveWindow() const { return addRemoveWindow_; }

    void WindowHidden() override;

protected:
    void Paint() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave() override;

private:
    void PaintItem(TCanvas& c, const TSelectorItem& item, bool hot, bool open, bool addRemove);
    /// The face an item's caption is drawn in: the panel's font, and for the
    /// add-or-remove item Tahoma 8 in its place.
    void SelectItemFont(TCanvas& c, bool addRemove) const;
    void PollTick();

    std::vector<TControl*> listed_;
    std::vector<TAdvToolBarSeparator*> copies_;
    TSelectorItem addRemove_;
    TSelectorItem options_;
    bool showAddRemove_ = true;
    TComponentRef<TPopupMenu> optionMenu_;
    TSelectorItemColors colors_;
    bool addRemoveHot_ = false;
    bool addRemoveOpen_ = false;
    bool optionsHot_ = false;
    bool optionsOpen_ = false;
    TATBPopupWindow* addRemoveWindow_ = nullptr;
    TTimer* pollTimer_ = nullptr;
};

} // namespace emr
