// The toolbar's calls into its option window (TToolBarOptionWindow).

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ControlSelectorPanel.h"
#include "toolbar/ToolBarOptionWindow.h"

namespace emr {

bool TAdvCustomToolBar::OptionWindowVisible() const {
    return optionWindow_ && optionWindow_->Visible();
}

void TAdvCustomToolBar::CloseOptionWindow() {
    if (optionWindow_) optionWindow_->Close();
}

TWinControl* TAdvCustomToolBar::OptionControlPanel() const {
    return optionWindow_ ? optionWindow_->Panel() : nullptr;
}

void TAdvCustomToolBar::OpenOptionWindow(TPoint screenPoint) {
    optionWindow_->Show(screenPoint, false);
}

} // namespace emr
