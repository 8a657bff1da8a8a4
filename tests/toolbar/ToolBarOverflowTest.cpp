#include "ToolBarFixture.h"

#include <string>

#include "framework/forms/ControlDump.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Panel.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/ToolBarDockSite.h"
#include "toolbar/ToolBarOverflowDump.h"

namespace emr::testing {
namespace {

/// The fixture's toolbar docked on a top panel. Buttons are 34 long, separators
/// 10; the grip takes 9 and the right handle 14.
class ToolBarOverflow : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        form->SetClientWidth(800);
        dock = new TAdvDockPanel(form);
        dock->SetParent(form);
        toolBar->SetParent(dock);
    }

    TAdvToolBarButton* Button(const std::string& name) {
        auto* b = AddButton("确定");
        b->SetName(name);
        return b;
    }
    TAdvToolBarSeparator* Separator(const std::string& name) {
        auto* s = new TAdvToolBarSeparator(form);
        s->SetName(name);
        s->AttachToToolBar(toolBar);
        return s;
    }
    /// Sets the toolbar's length as its dock panel does when it squeezes a row.
    void SetLength(int length) {
        bool was = toolBar->BoundsAdjustmentSuppressed();
        toolBar->SetBoundsAdjustmentSuppressed(true);
        if (toolBar->Horizontal())
            toolBar->SetBounds(toolBar->Left(), toolBar->Top(), length, toolBar->Height());
        else
            toolBar->SetBounds(toolBar->Left(), toolBar->Top(), toolBar->Width(), length);
        toolBar->SetBoundsAdjustmentSuppressed(was);
    }
    static std::string Names(const std::vector<TControl*>& list) {
        std::string out;
        for (const TControl* c : list)
            out += (out.empty() ? "" : " ") + c->Name();
        return out;
    }
    std::string Hidden() const { return Names(toolBar->OverflowList()); }
    /// The controls that show on the toolbar, in position order.
    std::string Shown() const {
        std::vector<TControl*> shown;
        for (TControl* c : toolBar->PositionList())
            if (c->Visible() && !toolBar->InOverflow(c)) shown.push_back(c);
        return Names(shown);
    }
    bool Inside(const TControl* c) const {
        return toolBar->Horizontal() ? c->Top() < toolBar->Height() : c->Left() < toolBar->Width();
    }

    TAdvDockPanel* dock = nullptr;
};

// ---- Hiding order ---------------------------------------------------------------------------------

TEST_F(ToolBarOverflow, ShorteningHidesFromTheEndOfThePriorityList) {
    for (const char* n : {"B1", "B2", "B3", "B4", "B5", "B6"})
        Button(n);
    ASSERT_EQ(toolBar->Width(), 9 + 6 * 34 + 14);
    EXPECT_EQ(Hidden(), "");

    SetLength(193); // 34 short
    EXPECT_EQ(Hidden(), "B6");
    SetLength(150); // 77 short: two more, the second only partly needed
    EXPECT_EQ(Hidden(), "B6 B5 B4");
    EXPECT_EQ(Shown(), "B1 B2 B3");
    const TControl* b4 = toolBar->PositionList()[3];
    EXPECT_FALSE(Inside(b4)) << "a hidden control is moved out of the visible area";
    EXPECT_EQ(b4->Parent(), toolBar) << "and stays a child";
}

TEST_F(ToolBarOverflow, WithoutAutoArrangeButtonsPriorityFollowsPosition) {
    auto* b1 = Button("B1");
    auto* b2 = Button("B2");
    Button("B3");
    b2->Click();
    ASSERT_EQ(Names(toolBar->PriorityList()), "B2 B1 B3");
    toolBar->SetAutoArrangeButtons(false);
    EXPECT_EQ(Names(toolBar->PriorityList()), "B1 B2 B3");
    Button("B4");
    b1->Click();
    EXPECT_EQ(Names(toolBar->PriorityList()), "B1 B2 B3 B4");
    SetLength(9 + 3 * 34 + 14);
    EXPECT_EQ(Hidden(), "B4");
}

TEST_F(ToolBarOverflow, AClickedButtonIsHiddenLast) {
    Button("B1");
    Button("B2");
    auto* b3 = Button("B3");
    Button("B4");
    b3->Click();
    EXPECT_EQ(Names(toolBar->PriorityList()), "B3 B1 B2 B4");
    SetLength(9 + 34 + 14);
    EXPECT_EQ(Hidden(), "B4 B2 B1");
    EXPECT_EQ(Shown(), "B3");
    EXPECT_EQ(b3->Left(), 9) << "the one shown control moves to the start";
}

TEST_F(ToolBarOverflow, AClickedHiddenButtonComesBackAtOnce) {
    Button("B1");
    Button("B2");
    Button("B3");
    auto* b4 = Button("B4");
    SetLength(9 + 2 * 34 + 14);
    ASSERT_EQ(Hidden(), "B4 B3");
    b4->Click();
    EXPECT_EQ(Shown(), "B1 B4") << "B4 returns and the least important shown button makes room";
    EXPECT_EQ(Hidden(), "B3 B2");
    EXPECT_EQ(b4->Left(), 9 + 34);
}

// ---- Growing back ---------------------------------------------------------------------------------

TEST_F(ToolBarOverflow, LengtheningBringsControlsBackInReverseOrderEachOnlyWhenItFitsWhole) {
    for (const char* n : {"B1", "B2", "B3", "B4", "B5", "B6"})
        Button(n);
    SetLength(100);
    ASSERT_EQ(Hidden(), "B6 B5 B4 B3");

    SetLength(9 + 2 * 34 + 14 + 33);
    EXPECT_EQ(Hidden(), "B6 B5 B4 B3") << "33 free pixels do not take a 34-pixel button";
    SetLength(9 + 2 * 34 + 14 + 34);
    EXPECT_EQ(Hidden(), "B6 B5 B4");
    // 101 free pixels: B4 and B5 fit in turn; each uses its room up, so B6 stays.
    SetLength(9 + 3 * 34 + 14 + 101);
    EXPECT_EQ(Hidden(), "B6");
    EXPECT_EQ(Shown(), "B1 B2 B3 B4 B5");
}

/// Two plain controls 50 and 60 long, named P50 and P60.
class ToolBarOverflowFromEmpty : public ToolBarOverflow {
protected:
    void AddPanels() {
        for (int length : {50, 60}) {
            auto* panel = new TPanel(form);
            panel->SetName("P" + std::to_string(length));
            panel->SetBounds(0, 2, length, 20);
            panel->SetParent(toolBar);
        }
    }
    /// What every one of several overflow updates at the current length leaves shown.
    std::vector<std::string> ShownAfterUpdates() {
        std::vector<std::string> seen;
        for (int i = 0; i < 3; ++i) {
            toolBar->UpdateOverflow();
            seen.push_back(Shown());
        }
        return seen;
    }
};

TEST_F(ToolBarOverflowFromEmpty, AControlComesBackEarlyAndFlickers) {
    AddPanels();
    SetLength(60);
    ASSERT_EQ(Shown(), "");
    const TControl* p50 = toolBar->PositionList()[0];

    SetLength(9 + 50 + 14 - 1);
    EXPECT_EQ(Shown(), "") << "one pixel short of room after the grip and its margin";
    EXPECT_EQ(ShownAfterUpdates(), (std::vector<std::string>{"", "", ""}));
    Snapshot(toolBar);
    EXPECT_EQ(Shown(), "") << "the first paint leaves it hidden too";

    SetLength(9 + 50 + 14);
    EXPECT_EQ(Shown(), "P50");
    EXPECT_EQ(p50->Left(), 9);
    EXPECT_LE(p50->Left() + p50->Width(), toolBar->Width() - 14) << "clear of the right handle";
    EXPECT_EQ(ShownAfterUpdates(), (std::vector<std::string>{"P50", "P50", "P50"}));
}

TEST_F(ToolBarOverflowFromEmpty, WithoutAGripControlsComeBackFromTheMarginOn) {
    styler->SetDragGripStyle(dsNone);
    AddPanels();
    SetLength(60);
    ASSERT_EQ(Shown(), "");

    SetLength(2 + 50 + 14 - 1);
    EXPECT_EQ(ShownAfterUpdates(), (std::vector<std::string>{"", "", ""}));
    SetLength(2 + 50 + 14);
    EXPECT_EQ(ShownAfterUpdates(), (std::vector<std::string>{"P50", "P50", "P50"}));
    EXPECT_EQ(toolBar->PositionList()[0]->Left(), 2);
}

TEST_F(ToolBarOverflow, FullSizeBringsEverythingBackAndHidesNothing) {
    for (const char* n : {"B1", "B2", "B3", "B4"})
        Button(n);
    SetLength(80);
    ASSERT_NE(Hidden(), "");
    toolBar->SetFullSize(true);
    EXPECT_EQ(Hidden(), "");
    EXPECT_EQ(Shown(), "B1 B2 B3 B4");
    SetLength(70);
    toolBar->UpdateOverflow();
    EXPECT_EQ(Hidden(), "");
}

// ---- Separators -----------------------------------------------------------------------------------

TEST_F(ToolBarOverflow, ASeparatorIsHiddenWithTheLastControlOfItsGroupAndReturnsWithTheFirst) {
    Button("A1");
    Separator("S1");
    Button("B1");
    Button("B2");
    // 9 + 34 + 10 + 68 + 14 = 135
    ASSERT_EQ(toolBar->Width(), 135);
    SetLength(135 - 34);
    EXPECT_EQ(Hidden(), "B2") << "the group still shows, its separator stays";
    SetLength(135 - 68);
    EXPECT_EQ(Hidden(), "B2 B1 S1");
    EXPECT_EQ(Shown(), "A1");

    SetLength(43 + 34 + 10 + 14 - 1);
    EXPECT_EQ(Hidden(), "B2 B1 S1") << "B1 needs room for itself and its separator";
    SetLength(43 + 34 + 10 + 14);
    EXPECT_EQ(Hidden(), "B2");
    EXPECT_EQ(Shown(), "A1 S1 B1");
}

TEST_F(ToolBarOverflow, TheFirstGroupTakesTheSeparatorAfterIt) {
    Button("A1");
    Separator("S1");
    auto* b1 = Button("B1");
    b1->Click(); // B1 is now hidden last, so the first group goes first
    SetLength(9 + 34 + 14);
    EXPECT_EQ(Hidden(), "A1 S1");
    EXPECT_EQ(Shown(), "B1");
    EXPECT_EQ(b1->Left(), 9);

    SetLength(9 + 34 + 34 + 14);
    EXPECT_EQ(Hidden(), "A1 S1") << "no room for A1 and S1 together";
    SetLength(9 + 34 + 10 + 34 + 14);
    EXPECT_EQ(Hidden(), "");
    EXPECT_EQ(Shown(), "A1 S1 B1");
}

TEST_F(ToolBarOverflow, AClickedHiddenButtonBringsItsGroupSeparatorWhenTheGroupShowedNothing) {
    Button("A1");
    Separator("S1");
    auto* b1 = Button("B1");
    SetLength(9 + 34 + 14);
    ASSERT_EQ(Hidden(), "B1 S1");
    b1->Click();
    // B1 and S1 return; the toolbar is still too short, so A1, now least
    // important, goes with the separator after it (it is the first group).
    EXPECT_EQ(Shown(), "B1");
    EXPECT_EQ(Hidden(), "A1 S1");
}

TEST_F(ToolBarOverflow, AGroupShownAgainByHandWithItsSeparatorHiddenIsHiddenToo) {
    Button("A1");
    Separator("S1");
    auto* b1 = Button("B1");
    auto* b2 = Button("B2");
    b2->SetVisible(false);
    // A narrow window: the row cannot lengthen the toolbar past 9 + 34 + 34 + 14.
    form->SetClientWidth(toolBar->Left() + 9 + 34 + 34 + 14 + 1);
    ASSERT_EQ(Hidden(), "B1 S1");
    b2->SetVisible(true);
    EXPECT_EQ(Shown(), "A1") << "B2 would stand next to A1 without a separator";
    EXPECT_TRUE(toolBar->InOverflow(b2));
    EXPECT_TRUE(toolBar->InOverflow(b1));
}

// ---- Orientation and state ------------------------------------------------------------------------

TEST_F(ToolBarOverflow, VerticalToolBarsUseHeightsAndTops) {
    dock->SetAlign(TDockAlign::daLeft);
    toolBar->SetParent(nullptr);
    toolBar->SetParent(dock);
    ASSERT_FALSE(toolBar->Horizontal());
    Button("B1");
    Separator("S1");
    Button("B2");
    Button("B3");
    const int full = toolBar->Height();
    const int button = toolBar->PositionList()[0]->Height();
    SetLength(full - button);
    EXPECT_EQ(Hidden(), "B3");
    SetLength(full - 2 * button);
    EXPECT_EQ(Hidden(), "B3 B2 S1");
    TControl* b2 = toolBar->PositionList()[2];
    EXPECT_GE(b2->Left(), toolBar->Width()) << "hidden sideways on a vertical toolbar";
    SetLength(full);
    EXPECT_EQ(Hidden(), "");
    EXPECT_EQ(b2->Top(), 9 + button + toolBar->PositionList()[1]->Height());
}

/// A minimal floating window: a toolbar placed in it is floating.
class FloatingHolder : public TCustomForm, public TToolBarFloatingSite {
public:
    explicit FloatingHolder(TComponent* owner) : TCustomForm(owner) {}
    void FitToToolBar() override {}
    bool WindowShowing() const override { return false; }
    void HideWindow() override {}
    void StopFollowing() override {}
    void Release() override {}
};

TEST_F(ToolBarOverflow, FloatingAndStandaloneToolBarsNeverOverflow) {
    for (const char* n : {"B1", "B2", "B3"})
        Button(n);
    toolBar->SetParent(form);
    ASSERT_TRUE(toolBar->Standalone());
    toolBar->SetAutoSize(false);
    toolBar->SetWidth(60);
    toolBar->UpdateOverflow();
    EXPECT_EQ(Hidden(), "");

    auto* holder = new FloatingHolder(form);
    toolBar->SetParent(holder);
    ASSERT_TRUE(toolBar->Floating());
    toolBar->SetWidth(60);
    toolBar->UpdateOverflow();
    EXPECT_EQ(Hidden(), "");
}

// ---- Any control ----------------------------------------------------------------------------------

TEST_F(ToolBarOverflow, PlainControlsTakePartAndTheirGrowthRearrangesTheToolBar) {
    Button("B1");
    auto* edit = new TEdit(form);
    edit->SetName("Edit");
    edit->SetBounds(200, 2, 50, 21);
    edit->SetParent(toolBar);
    auto* panel = new TPanel(form);
    panel->SetName("Panel");
    panel->SetBounds(300, 2, 40, 20);
    panel->SetParent(toolBar);
    EXPECT_EQ(Names(toolBar->PositionList()), "B1 Edit Panel");
    EXPECT_EQ(Names(toolBar->PriorityList()), "B1 Edit Panel");
    EXPECT_EQ(toolBar->Width(), 9 + 34 + 50 + 40 + 14);
    EXPECT_EQ(panel->Left(), 9 + 34 + 50);

    edit->SetWidth(80);
    EXPECT_EQ(panel->Left(), 9 + 34 + 80) << "the edit's growth moves what follows";
    EXPECT_EQ(toolBar->Width(), 9 + 34 + 80 + 40 + 14) << "and the toolbar grows";

    SetLength(9 + 34 + 80 + 14);
    EXPECT_EQ(Hidden(), "Panel");
    SetLength(60);
    EXPECT_EQ(Hidden(), "Panel Edit");
}

TEST_F(ToolBarOverflow, ASqueezedRowHidesAndAWiderOneBringsBack) {
    for (const char* n : {"B1", "B2", "B3", "B4"})
        Button(n);
    ASSERT_EQ(toolBar->Width(), 9 + 4 * 34 + 14);
    form->SetClientWidth(120);
    EXPECT_LT(toolBar->Width(), 9 + 4 * 34 + 14);
    EXPECT_NE(Hidden(), "");
    for (TControl* c : toolBar->PositionList())
        if (!toolBar->InOverflow(c)) {
            EXPECT_LE(c->Left() + c->Width(), toolBar->Width() - 14);
        }
    form->SetClientWidth(800);
    EXPECT_EQ(Hidden(), "");
}

// ---- Dump ---------------------------------------------------------------------------------------

TEST_F(ToolBarOverflow, TheDumpListsHiddenControlsAfterTheToolBarsSubtree) {
    RegisterToolBarOverflowDump();
    toolBar->SetName("Bar");
    for (const char* n : {"B1", "B2", "B3"})
        Button(n);
    EXPECT_EQ(DumpForms().find("overflow:"), std::string::npos) << "nothing hidden, no line";
    SetLength(9 + 34 + 14);
    const std::string dump = DumpForms();
    const std::size_t bar = dump.find("    Bar: TAdvToolBar ");
    const std::size_t b3 = dump.find("      B3: TAdvToolBarButton ");
    const std::size_t overflow = dump.find("\n      overflow: B3 B2\n");
    ASSERT_NE(bar, std::string::npos) << dump;
    ASSERT_NE(overflow, std::string::npos) << dump;
    EXPECT_LT(bar, b3);
    EXPECT_LT(b3, overflow);
}

} // namespace
} // namespace emr::testing
