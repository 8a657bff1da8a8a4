#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolbar/OptionSelectorPanel.h"
#include "toolbar/OptionSelectorWindow.h"

namespace emr {

class TCustomAdvMenuStyler;
class TATBPopupWindow;

/// An entry of the "Add or Remove Buttons" cascade. An auto-check entry stands
/// for a toolbar control and shows whether that control is visible.
class TATBMenuItem {
public:
    std::string Caption;
    bool AutoCheck = false;
    bool Checked = false;
    bool Enabled = true;

    TControl* Control() const { return control_.Get(); }
    void SetControl(TControl* value) { control_.Reset(value); }
    TATBMenuItem* Add();
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    TATBMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }

private:
    TComponentRef<TControl> control_;
    std::vector<std::unique_ptr<TATBMenuItem>> items_;
};

/// One level of the cascade: the children of an item, stacked 24 pixels apart,
/// with an icon bar and check boxes painted from a menu styler.
class TATBPopupPanel : public TOptionSelectorPanel {
    EMR_CLASS(TATBPopupPanel)
public:
    explicit TATBPopupPanel(TComponent* owner);

    static constexpr int MenuMargin = 2;
    static constexpr int ItemHeight = 24;

    TATBMenuItem* RootItem() const { return root_; }
    void SetRootItem(TATBMenuItem* value);
    TCustomAdvMenuStyler* MenuStyler() const { return menuStyler_.Get(); }
    void SetMenuStyler(TCustomAdvMenuStyler* value) { menuStyler_.Reset(value); }
    bool ShowIconBar() const { return showIconBar_; }
    void SetShowIconBar(bool value) { showIconBar_ = value; }

    void ArrangeMenuItems();
    int ItemCount() const { return root_ ? root_->Count() : 0; }
    TRect ItemRect(int index) const { return rects_.at(static_cast<std::size_t>(index)); }
    int ItemAt(TPoint client) const;
    int HotIndex() const { return hot_; }
    void SetHotIndex(int index);
    int OpenIndex() const { return open_; }
    void ResetIndices();
    void OpenSubMenu();
    void CloseSubMenu();
    void ToggleMenuItem(int index);
    /// The next level, created when first opened.
    TATBPopupWindow* ChildWindow() const { return child_; }

protected:
    void Paint() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;

private:
    TOptionSelectorWindow* OwnWindow() const;
    void PaintItem(TCanvas& c, int index);
    void DrawControlImage(TCanvas& c, const TControl* control, const TRect& cell);

    TATBMenuItem* root_ = nullptr;
    TComponentRef<TCustomAdvMenuStyler> menuStyler_;
    bool showIconBar_ = true;
    bool imageColumn_ = false;
    std::vector<TRect> rects_;
    int hot_ = -1;
    int open_ = -1;
    TATBPopupWindow* child_ = nullptr;
};

/// A window of the cascade: it owns its root item and its panel, and when it
/// hides on losing activation it closes what it opened and tells its opener
/// (OnDeActivateHide), so a press outside closes every level.
class TATBPopupWindow : public TOptionSelectorWindow {
    EMR_CLASS(TATBPopupWindow)
public:
    explicit TATBPopupWindow(TComponent* owner);

    TATBMenuItem* RootItem() { return &root_; }
    TATBPopupPanel* PopupPanel() const { return panel_; }
    /// Places the window with its top-left at screen `at`, kept on the work area:
    /// moved up from the bottom, and to `leftOf` - Width when it runs off the right.
    /// A mirrored window opens leftwards instead: `at` is its top-right corner, and
    /// it moves to start at `leftOf` when it runs off the left.
    void PlaceOnWorkArea(TPoint at, int leftOf);

    TNotifyEvent OnDeActivateHide;

protected:
    void DeferredHide() override;

private:
    TATBMenuItem root_;
    TATBPopupPanel* panel_ = nullptr;
};

} // namespace emr
