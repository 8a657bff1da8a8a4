// What must hold of a toolbar after every input event.
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvCustomToolBarButton.h"
#include "toolbar/ToolBarKeyboardMode.h"

namespace emr {

std::string TAdvCustomToolBar::CheckInvariants() const {
    int hot = 0;
    for (const TControl* child : ControlList())
        if (const auto* button = dynamic_cast<const TAdvCustomToolBarButton*>(child); button && button->Hot())
            ++hot;
    if (hot > 1) return std::to_string(hot) + " hot buttons";
    if (const std::string parts = parts_.Check(); !parts.empty()) return parts;
    if (Floating() && docking_.RowIndex != -1)
        return "floating but says row " + std::to_string(docking_.RowIndex);
    return {};
}

bool TAdvCustomToolBar::KeepsCaptureWithoutButtons() const {
    return keyboard_ && keyboard_->KeyboardMode();
}

} // namespace emr
