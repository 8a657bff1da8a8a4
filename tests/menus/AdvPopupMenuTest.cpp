// Styled popup menus: what they measure and paint, and their keyboard.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/PopupMenuWindow.h"
#include "framework/forms/Screen.h"
#include "framework/forms/ShortCut.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "menus/AdvMainMenu.h"
#include "menus/AdvPopupMenu.h"
#include "styling/AdvMenuStyler.h"

namespace emr::testing {
namespace {

class AdvPopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(50, 50, 400, 300);
        app->SetMainForm(form);
        form->Show();
        menu = new TAdvPopupMenu(form);
        open = Item("&Open");
        greyed = Item("&Greyed");
        greyed->SetEnabled(false);
        Item("-");
        quit = Item("&Quit");
        app->ProcessMessages();
    }
    void TearDown() override {
        app->OnIdle = nullptr;
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    TMenuItem* Item(const std::string& caption) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) { chosen.push_back(caption); };
        menu->Items()->Add(item);
        return item;
    }
    TPopupMenuWindow* Window() {
        for (TCustomForm* f : Screen().FormList())
            if (auto* w = dynamic_cast<TPopupMenuWindow*>(f); w && w->Visible()) return w;
        return nullptr;
    }
    /// Pops the menu up and feeds one key per idle moment; returns the hot
    /// captions seen before each key.
    std::vector<std::string> Keys(std::vector<int> keys) {
        std::vector<std::string> hot;
        std::size_t next = 0;
        app->OnIdle = [&](TObject*) {
            if (backend_->PendingEvents() > 0 || !Window()) return;
            if (next >= keys.size()) {
                backend_->Key(platform::VK_ESCAPE);
                return;
            }
            TMenuItem* item = Window()->HotItem();
            hot.push_back(item ? item->Caption() : "-");
            backend_->Key(keys[next++]);
        };
        menu->Popup(100, 100);
        app->OnIdle = nullptr;
        return hot;
    }

    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvPopupMenu* menu = nullptr;
    TMenuItem* open = nullptr;
    TMenuItem* greyed = nullptr;
    TMenuItem* quit = nullptr;
    std::vector<std::string> chosen;
};

// ---- Keyboard ---------------------------------------------------------------------------------

TEST_F(AdvPopupMenuTest, UpAndDownPassOverDisabledItemsAndSeparatorsAndWrap) {
    const auto hot =
        Keys({platform::VK_DOWN, platform::VK_DOWN, platform::VK_DOWN, platform::VK_UP, platform::VK_UP});
    EXPECT_EQ(hot, (std::vector<std::string>{"-", "&Open", "&Quit", "&Open", "&Quit"}));
    EXPECT_TRUE(chosen.empty());
}

TEST_F(AdvPopupMenuTest, SpaceChoosesTheHighlightedItem) {
    Keys({platform::VK_DOWN, platform::VK_DOWN, platform::VK_SPACE});
    EXPECT_EQ(chosen, (std::vector<std::string>{"&Quit"}));
}

TEST_F(AdvPopupMenuTest, EscClosesOnlyTheInnermostLevel) {
    auto* sub = new TMenuItem(form);
    sub->SetCaption("Sub");
    open->Add(sub);
    std::vector<int> windows;
    std::size_t step = 0;
    app->OnIdle = [&](TObject*) {
        if (backend_->PendingEvents() > 0 || !Window()) return;
        int n = 0;
        for (TCustomForm* f : Screen().FormList())
            if (auto* w = dynamic_cast<TPopupMenuWindow*>(f); w && w->Visible()) ++n;
        windows.push_back(n);
        const int keys[] = {platform::VK_DOWN, platform::VK_RIGHT, platform::VK_ESCAPE, platform::VK_ESCAPE};
        backend_->Key(step < 4 ? keys[step++] : platform::VK_ESCAPE);
    };
    menu->Popup(100, 100);
    app->OnIdle = nullptr;
    EXPECT_EQ(windows, (std::vector<int>{1, 1, 2, 1}));
    EXPECT_TRUE(chosen.empty());
}

// ---- Measuring --------------------------------------------------------------------------------

TEST_F(AdvPopupMenuTest, AShortcutTextWidensTheItemAndImagesMakeItTaller) {
    TCanvas canvas;
    int plainW = 10, plainH = 10;
    menu->MeasureItem(canvas, quit, plainW, plainH);
    quit->SetShortCut(TextToShortCut("Ctrl+Q"));
    int w = 10, h = 10;
    menu->MeasureItem(canvas, quit, w, h);
    EXPECT_GE(w, plainW + canvas.TextWidth("Ctrl+Q"));
    EXPECT_EQ(h, plainH);
}

TEST_F(AdvPopupMenuTest, ItemsAreMeasuredAgainOnlyWhenTheyOrTheLookChange) {
    TCanvas canvas;
    const auto measure = [&](TMenuItem* item) {
        int w = 10, h = 10;
        menu->MeasureItem(canvas, item, w, h);
        return std::make_pair(w, h);
    };
    const auto first = measure(open);
    measure(quit);
    const int measured = menu->TextMeasurements();
    EXPECT_EQ(measure(open), first);
    measure(quit);
    EXPECT_EQ(menu->TextMeasurements(), measured) << "sizes are kept";

    open->SetCaption("&Open a much longer caption");
    EXPECT_GT(measure(open).first, first.first);
    const auto longer = measure(open);
    open->SetShortCut(TextToShortCut("Ctrl+O"));
    EXPECT_GT(measure(open).first, longer.first);
    EXPECT_EQ(menu->TextMeasurements(), measured + 2);

    // The root item's font is every item's font.
    TFont* font = const_cast<TFont*>(menu->StylerInEffect()->RootItem()->Font());
    font->SetHeight(font->Height() * 2);
    EXPECT_GT(measure(quit).second, first.second);
    EXPECT_EQ(menu->TextMeasurements(), measured + 3);

    // An item made after another was freed is measured for itself.
    TObject::Free(quit);
    TMenuItem* wide = Item("&Something else entirely, and wide");
    EXPECT_GT(measure(wide).first, measure(open).first / 2);
    EXPECT_EQ(menu->TextMeasurements(), measured + 5);
}

TEST_F(AdvPopupMenuTest, AWindowOpenedAfterTheFontChangedIsSizedForTheNewFont) {
    const auto openedSize = [&] {
        TSize size;
        app->OnIdle = [&](TObject*) {
            if (backend_->PendingEvents() > 0 || !Window()) return;
            size = {Window()->Width(), Window()->Height()};
            backend_->Key(platform::VK_ESCAPE);
        };
        menu->Popup(100, 100);
        app->OnIdle = nullptr;
        return size;
    };
    const TSize before = openedSize();
    TFont* font = const_cast<TFont*>(menu->StylerInEffect()->RootItem()->Font());
    font->SetHeight(font->Height() * 2);
    const TSize after = openedSize();
    EXPECT_GT(after.Width, before.Width);
    EXPECT_GT(after.Height, before.Height);
}

TEST_F(AdvPopupMenuTest, ALongMenuPaintsOnlyTheItemsOnItsWindow) {
    class CountingMenu : public TAdvPopupMenu {
    public:
        using TAdvPopupMenu::TAdvPopupMenu;
        void DrawItem(TCanvas& canvas, TMenuItem* item, const TRect& rect,
                      TMenuItemDrawState state) override {
            ++Drawn;
            TAdvPopupMenu::DrawItem(canvas, item, rect, state);
        }
        int Drawn = 0;
    };
    constexpr int kItems = 2000;
    auto* counting = new CountingMenu(form);
    for (int i = 0; i < kItems; ++i) {
        auto* item = new TMenuItem(form);
        item->SetCaption("Item " + std::to_string(i));
        counting->Items()->Add(item);
    }
    int onWindow = 0, drawn = 0;
    app->OnIdle = [&](TObject*) {
        if (backend_->PendingEvents() > 0 || !Window() || onWindow > 0) return;
        TPopupMenuWindow* window = Window();
        // A menu taller than the screen shows its items between two scroll arrows.
        TRect view = window->ClientRect();
        if (window->Scrolls()) {
            const int strip = counting->BorderWidth() + TPopupMenuWindow::ScrollArrowHeight;
            view = {view.Left, strip, view.Right, view.Bottom - strip};
        }
        for (int i = 0; i < static_cast<int>(window->ShownItems().size()); ++i)
            if (!window->ItemRect(i).Intersect(view).Empty()) ++onWindow;
        drawn = counting->Drawn;
        backend_->Key(platform::VK_ESCAPE);
    };
    counting->Popup(0, 0);
    app->OnIdle = nullptr;
    ASSERT_GT(onWindow, 0);
    EXPECT_LT(onWindow, kItems);
    EXPECT_EQ(drawn, onWindow);
}

// ---- Painting ---------------------------------------------------------------------------------

class AdvPopupMenuPaint : public AdvPopupMenuTest {
protected:
    std::unique_ptr<TBitmap> Paint(TMenuItem* item, TMenuItemDrawState state, int width = 120,
                                   int height = 22) {
        auto bmp = std::make_unique<TBitmap>(width, height);
        bmp->Canvas()->Brush()->SetColor(clWhite);
        bmp->Canvas()->FillRect({0, 0, width, height});
        menu->DrawItem(*bmp->Canvas(), item, {0, 0, width, height}, state);
        return bmp;
    }
    static TColor At(const TBitmap& b, int x, int y) { return b.Pixel(x, y); }
};

TEST_F(AdvPopupMenuPaint, TheSelectedFaceIsFramedWithTheSelectedBorder) {
    auto bmp = Paint(open, midSelected);
    const TColor border = ColorToRGB(menu->StylerInEffect()->SelectedItem()->BorderColor());
    EXPECT_EQ(At(*bmp, 0, 0), border);
    EXPECT_EQ(At(*bmp, 119, 21), border);
    EXPECT_NE(At(*bmp, 60, 10), ColorToRGB(clWhite));
}

TEST_F(AdvPopupMenuPaint, ACheckedItemGetsAFramedBoxInTheIconBarWithAMarkInside) {
    auto bmp = Paint(open, midChecked);
    const TColor border = ColorToRGB(menu->StylerInEffect()->IconBar()->CheckBorder());
    EXPECT_EQ(At(*bmp, 2, 2), border) << "box top-left";
    EXPECT_EQ(At(*bmp, 21, 19), border) << "box bottom-right (the 24-pixel bar less 2 on each side)";
    int dark = 0;
    for (int y = 3; y < 19; ++y)
        for (int x = 3; x < 21; ++x)
            if ((At(*bmp, x, y) & 0xFFFFFF) < 0x404040) ++dark;
    EXPECT_GT(dark, 4) << "a check mark inside the box";
}

TEST_F(AdvPopupMenuPaint, AnItemWithSubItemsShowsAnArrowAtItsRightEnd) {
    auto* sub = new TMenuItem(form);
    sub->SetCaption("Sub");
    quit->Add(sub);
    auto with = Paint(quit, 0);
    int dark = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 102; x < 120; ++x)
            if ((At(*with, x, y) & 0xFFFFFF) < 0x404040) ++dark;
    EXPECT_GT(dark, 3);
    quit->Remove(sub);
    auto without = Paint(quit, 0);
    dark = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 102; x < 120; ++x)
            if ((At(*without, x, y) & 0xFFFFFF) < 0x404040) ++dark;
    EXPECT_EQ(dark, 0);
}

} // namespace
} // namespace emr::testing
