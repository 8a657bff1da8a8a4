// Paints, for three styler presets, a docked toolbar that lost its last buttons to
// overflow, with its option window open (the hidden buttons, a separator copy,
// "Options" and "Add or Remove Buttons"), the cascade's two levels open and one
// entry of the last level hot, and writes them side by side as one PNG sheet.
//
// Everything is driven through the headless backend's pointer, as a user would:
// a press on the option indicator, then hovering the items.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/MenuItem.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Png.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "menus/AdvPopupMenu.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/ATBPopupWindow.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/ControlSelectorPanel.h"
#include "toolbar/OptionSelectorWindow.h"
#include "toolbar/ToolBarOptionWindow.h"

using namespace emr;

namespace {

constexpr int kCellWidth = 560;
constexpr int kCellHeight = 330;
constexpr int kLabelHeight = 20;

struct Preset {
    TToolBarStyle Style;
    const char* Name;
};

const Preset kPresets[] = {
    {bsOffice2003Blue, "bsOffice2003Blue"},
    {bsOffice2007Obsidian, "bsOffice2007Obsidian"},
    {bsWindows7, "bsWindows7"},
};

/// A form at (left, top) whose toolbar holds New Open Save | Cut Copy Paste |
/// Undo Redo and is squeezed to `length`, so the last buttons overflow.
TAdvToolBar* MakeScene(TApplication* app, TToolBarStyle style, int left, int top, int length) {
    auto* form = new TForm(app);
    form->SetBorderStyle(bsNone);
    form->SetBounds(left, top, 300, 120);
    form->SetColor(clWindow);
    auto* styler = new TAdvToolBarOfficeStyler(form);
    styler->SetStyle(style);
    auto* dock = new TAdvDockPanel(form);
    dock->SetParent(form);
    dock->SetToolBarStyler(styler);
    auto* bar = new TAdvToolBar(form);
    bar->SetParent(dock);
    bar->SetToolBarStyler(styler);
    bar->SetCaption("Standard");
    bar->SetAutoOptionMenu(true);
    auto* menu = new TAdvPopupMenu(form);
    for (const char* caption : {"Reset Toolbar", "Customize..."}) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    bar->SetOptionMenu(menu);
    const char* groups[][3] = {{"New", "Open", "Save"}, {"Cut", "Copy", "Paste"}, {"Undo", "Redo", nullptr}};
    for (int g = 0; g < 3; ++g) {
        if (g > 0) (new TAdvToolBarSeparator(form))->AttachToToolBar(bar);
        for (const char* caption : groups[g]) {
            if (!caption) continue;
            auto* b = new TAdvToolBarButton(form);
            b->SetName(std::string(caption) + "Button");
            b->SetCaption(caption);
            b->SetShowCaption(true);
            b->AttachToToolBar(bar);
        }
    }
    form->Show();
    bar->SetBoundsAdjustmentSuppressed(true);
    bar->SetBounds(bar->Left(), bar->Top(), length, bar->Height());
    bar->SetBoundsAdjustmentSuppressed(false);
    return bar;
}

/// Copies the screen rectangle `from` (clipped to the screen) to (x, y) of the sheet.
void Blit(const std::vector<std::uint32_t>& screen, int screenWidth, int screenHeight, TRect from,
          std::vector<std::uint32_t>& sheet, int sheetWidth, int x, int y) {
    for (int sy = std::max(0, from.Top); sy < std::min(screenHeight, from.Bottom); ++sy)
        for (int sx = std::max(0, from.Left); sx < std::min(screenWidth, from.Right); ++sx)
            sheet[static_cast<std::size_t>(y + sy - from.Top) * sheetWidth + (x + sx - from.Left)] =
                screen[static_cast<std::size_t>(sy) * screenWidth + sx];
}

} // namespace

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "optionsheet.png";
    const TRect screen{0, 0, 1024, 768};
    auto owned = std::make_unique<platform::HeadlessBackend>(screen);
    platform::HeadlessBackend* backend = owned.get();
    platform::Backend::Install(std::move(owned));
    auto* app = new TApplication(nullptr);

    const int count = static_cast<int>(std::size(kPresets));
    const int sheetWidth = kCellWidth * count, sheetHeight = kCellHeight + kLabelHeight;
    std::vector<std::uint32_t> sheet(static_cast<std::size_t>(sheetWidth) * sheetHeight, 0xFFFFFF);
    TCanvas label(sheet.data(), sheetWidth, sheetHeight, sheetWidth);
    label.Font()->SetName("Tahoma");
    label.Font()->SetHeight(-11);
    label.Brush()->SetStyle(TBrushStyle::bsClear);

    bool complete = true;
    for (int i = 0; i < count; ++i) {
        const TPoint origin{40, 40};
        TAdvToolBar* bar = MakeScene(app, kPresets[i].Style, origin.X, origin.Y, 180);
        app->ProcessMessages();
        auto press = [&](TPoint p) {
            backend->MoveMouse(p.X, p.Y);
            backend->Press(p.X, p.Y);
            app->ProcessMessages();
            backend->MoveMouse(p.X, p.Y, platform::ssLeft);
            backend->Release(p.X, p.Y);
            app->ProcessMessages();
        };
        auto hover = [&](TPoint p) {
            backend->MoveMouse(p.X, p.Y);
            app->ProcessMessages();
        };
        press(bar->ClientToScreen({bar->Width() - 7, bar->Height() - 8}));
        TOptionSelectorWindow* window = bar->OptionWindow()->Window();
        TControlSelectorPanel* panel = bar->OptionWindow()->Panel();
        TRect shown{origin.X - 10, origin.Y - 10, origin.X + 310, origin.Y + 130};
        if (window && window->Visible()) {
            const TRect item = panel->AddRemoveItem().Rect;
            hover(panel->ClientToScreen({(item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2}));
            if (TATBPopupWindow* first = panel->AddRemoveWindow(); first && first->Visible()) {
                TATBPopupPanel* firstPanel = first->PopupPanel();
                const TRect entry = firstPanel->ItemRect(0);
                hover(firstPanel->ClientToScreen({entry.Left + 10, (entry.Top + entry.Bottom) / 2}));
                if (TATBPopupWindow* list = firstPanel->ChildWindow(); list && list->Visible()) {
                    TATBPopupPanel* listPanel = list->PopupPanel();
                    const TRect hot = listPanel->ItemRect(2);
                    hover(listPanel->ClientToScreen({hot.Left + 40, (hot.Top + hot.Bottom) / 2}));
                    shown.Right = std::max(shown.Right, list->Left() + list->Width() + 10);
                    shown.Bottom = std::max(shown.Bottom, list->Top() + list->Height() + 10);
                } else {
                    complete = false;
                }
            } else {
                complete = false;
            }
            shown.Bottom = std::max(shown.Bottom, window->Top() + window->Height() + 10);
        } else {
            complete = false;
        }
        app->ProcessMessages();
        const std::vector<std::uint32_t> pixels = backend->ComposeScreen();
        shown.Right = std::min(shown.Right, shown.Left + kCellWidth);
        shown.Bottom = std::min(shown.Bottom, shown.Top + kCellHeight);
        Blit(pixels, screen.Width(), screen.Height(), shown, sheet, sheetWidth, i * kCellWidth, kLabelHeight);
        label.TextOut(i * kCellWidth + 6, 3, kPresets[i].Name);

        // A press on the empty desktop closes the chain before the next preset.
        press({1000, 740});
        backend->AdvanceTime(5);
        app->ProcessMessages();
        TComponent* form = bar->Owner();
        TObject::Free(form);
        app->ProcessMessages();
    }
    SavePng(out, sheet.data(), sheetWidth, sheetHeight, sheetWidth);
    std::printf("wrote %s\n", out.c_str());
    TObject::Free(app);
    platform::Backend::Uninstall();
    if (!complete) std::fprintf(stderr, "optionsheet: a window of the option chain did not open\n");
    return complete ? 0 : 1;
}
