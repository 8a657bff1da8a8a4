#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/Exception.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Panel.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"

namespace emr {
namespace {

/// A form with one dock panel; toolbars hold one plain panel each, so their
/// length is grip (9) + content + right handle (14).
class DockPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(0, 0, 600, 400);
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        dock = new TAdvDockPanel(form);
        dock->SetParent(form);
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }

    /// A toolbar whose content is `content` wide and `thickness` high (toolbar
    /// thickness is content + 4, at least 26); full length is content + 23.
    TAdvToolBar* MakeToolBar(const std::string& name, int content, int thickness = 22,
                             TWinControl* parent = nullptr) {
        auto* t = new TAdvToolBar(form);
        t->SetName(name);
        auto* p = new TPanel(form);
        p->SetBounds(0, 0, content, thickness);
        p->SetParent(t);
        t->SetParent(parent ? parent : dock);
        return t;
    }
    std::string Rows() const {
        std::string out;
        for (const std::string& line : dock->DumpRows())
            out += line + "\n";
        return out;
    }

    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvDockPanel* dock = nullptr;
};

TEST_F(DockPanelTest, PanelThicknessFollowsItsRows) {
    EXPECT_EQ(dock->RowCount(), 0);
    dock->ArrangeRows();
    EXPECT_EQ(dock->Height(), 3) << "an empty panel is MinimumSize high";

    TAdvToolBar* tall = MakeToolBar("Tall", 68, 41);
    EXPECT_EQ(tall->Width(), 91);
    EXPECT_EQ(tall->Height(), 45);
    EXPECT_EQ(dock->Height(), 47);
    EXPECT_EQ(tall->Left(), 3);
    EXPECT_EQ(tall->Top(), 1);
    EXPECT_EQ(Rows(), "row 0: 1,1,399,47: Tall\n");

    tall->SetHeight(20);
    EXPECT_EQ(dock->RowSize(0), 26) << "a row is never thinner than 26";
    EXPECT_EQ(dock->Height(), 28);
}

TEST_F(DockPanelTest, BottomPanelGrowsUpwardsKeepingItsBottomEdge) {
    dock->SetAlign(TDockAlign::daBottom);
    MakeToolBar("A", 40);
    EXPECT_EQ(dock->Height(), 28);
    EXPECT_EQ(dock->Top() + dock->Height(), 300);
    MakeToolBar("B", 40);
    EXPECT_EQ(dock->Height(), 55);
    EXPECT_EQ(dock->Top(), 300 - 55);
}

TEST_F(DockPanelTest, EachNewToolBarGetsANewRowAndFollowsThePanelEdge) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    EXPECT_EQ(dock->RowCount(), 2);
    EXPECT_EQ(a->RowIndex(), 0);
    EXPECT_EQ(b->RowIndex(), 1);
    EXPECT_EQ(b->Top(), 28);
    EXPECT_EQ(dock->Height(), 55);
    EXPECT_EQ(a->Position(), TDockAlign::daTop);
}

TEST_F(DockPanelTest, RowsSplitWhenAToolBarIsDraggedJustAboveOrBelowTheRowTop) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    dock->MoveToRow(b, 0);
    ASSERT_EQ(Rows(), "row 0: 1,1,399,28: A B\n");
    EXPECT_EQ(b->Left(), a->Left() + a->Width() + 2);

    b->SetTop(1 - 4); // 3..5 above: a new row above
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: B\nrow 1: 1,28,399,55: A\n");

    dock->MoveToRow(b, 1);
    ASSERT_EQ(dock->RowCount(), 1);
    b->SetTop(1 + 4); // 3..5 below: a new row below
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: A\nrow 1: 1,28,399,55: B\n");
}

TEST_F(DockPanelTest, ALoneToolBarOnlyChangesRowByReachingAnother) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    TAdvToolBar* c = MakeToolBar("C", 40);
    b->SetTop(28 - 4);
    EXPECT_EQ(b->RowIndex(), 1) << "a lone toolbar does not split its row";
    EXPECT_EQ(b->Top(), 28);

    // 7 or more above: into the row holding that Top; its unchanged Left (the row
    // start) then drags it back past A.
    c->SetTop(55 - 50);
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: C A\nrow 1: 1,28,399,55: B\n");

    a->SetTop(1 + 30); // 6 or more below: into the next row whose Bottom lies beyond
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: C\nrow 1: 1,28,399,55: B A\n");
}

TEST_F(DockPanelTest, DraggingBackSwapsNeighboursButDraggingForwardNeverDoes) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    dock->MoveToRow(b, 0);
    ASSERT_EQ(a->Left(), 3);
    ASSERT_EQ(b->Left(), 68);

    b->SetLeft(40); // the gap before B is 0: nothing left, and 3 + 5 < 40 so no swap
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: A B\n");
    EXPECT_EQ(b->Left(), 68);

    b->SetLeft(5); // reaches A.Left + 5: swap
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: B A\n");
    EXPECT_EQ(b->Left(), 3);
    EXPECT_EQ(a->Left(), 68);

    b->SetLeft(300); // forward: B moves through free room, never past A
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: B A\n");
    EXPECT_EQ(a->Left() + a->Width(), 399 - 2) << "A was pushed to the row end";
    EXPECT_LE(b->Left() + b->Width() + 2, a->Left());
}

TEST_F(DockPanelTest, FirstToolBarCannotStartBeforeTheRowStart) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    a->SetLeft(100);
    EXPECT_EQ(a->Left(), 100);
    a->SetLeft(-50);
    EXPECT_EQ(a->Left(), 3);
}

TEST_F(DockPanelTest, FullSizeToolBarOwnsItsRow) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    dock->MoveToRow(b, 0);
    a->SetFullSize(true);
    EXPECT_EQ(dock->RowCount(), 2);
    EXPECT_EQ(a->RowIndex(), 0);
    EXPECT_EQ(b->RowIndex(), 1);
    EXPECT_EQ(a->Left(), 3);
    EXPECT_EQ(a->Width(), 398 - 4);
    EXPECT_FALSE(dock->CanAccept(0, b));
    dock->MoveToRow(b, 0);
    EXPECT_EQ(b->RowIndex(), 1) << "no toolbar joins a full-size toolbar's row";
}

TEST_F(DockPanelTest, LoneToolBarIsNotShrunkOnRequestButNeighboursAre) {
    TAdvToolBar* a = MakeToolBar("A", 100);
    const int full = a->Width();
    a->SetWidth(full - 20);
    EXPECT_EQ(a->Width(), full);

    TAdvToolBar* b = MakeToolBar("B", 40);
    dock->MoveToRow(b, 0);
    a->Constraints()->SetMinWidth(60);
    a->SetWidth(full - 20);
    EXPECT_EQ(a->Width(), full - 20);
}

TEST_F(DockPanelTest, SqueezedToolBarsGrowBackWhenThePanelWidens) {
    TAdvToolBar* a = MakeToolBar("A", 150);
    TAdvToolBar* b = MakeToolBar("B", 150);
    dock->MoveToRow(b, 0);
    a->Constraints()->SetMinWidth(60);
    b->Constraints()->SetMinWidth(60);
    form->SetClientWidth(250);
    EXPECT_EQ(dock->Gap(0, a, b), 0);
    EXPECT_EQ(dock->Gap(0, b, nullptr), 0) << "the row is closed up at its end";
    EXPECT_LT(a->Width() + b->Width(), 346);

    form->SetClientWidth(600);
    EXPECT_EQ(a->Width(), 173);
    EXPECT_EQ(b->Width(), 173);
    EXPECT_EQ(b->Left(), a->Left() + a->Width() + 2);
}

TEST_F(DockPanelTest, LockHeightKeepsRowsAndRefusesWhatDoesNotFit) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    dock->Loaded();
    dock->SetLockHeight(true);
    const int height = dock->Height();
    TAdvToolBar* b = MakeToolBar("B", 40);
    EXPECT_EQ(b->RowIndex(), 0) << "joins the last accepting row";
    EXPECT_EQ(dock->RowCount(), 1);
    EXPECT_EQ(dock->Height(), height);

    a->SetFullSize(false);
    b->SetParent(form);
    auto* c = MakeToolBar("C", 40, 22, form);
    c->SetFullSize(true);
    EXPECT_EQ(dock->AddToolBar(c), -1) << "no row can take a full-size toolbar here";
}

TEST_F(DockPanelTest, HiddenToolBarKeepsItsRowAndReturnsByItsStart) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    TAdvToolBar* c = MakeToolBar("C", 40);
    dock->MoveToRow(b, 0);
    dock->MoveToRow(c, 0);
    ASSERT_EQ(Rows(), "row 0: 1,1,399,28: A B C\n");
    b->SetVisible(false);
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: A C\n");
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(dock->InvisibleToolBars().size(), 1u);
    b->SetVisible(true);
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: A B C\n");
    EXPECT_TRUE(dock->InvisibleToolBars().empty());
    (void)a;
}

TEST_F(DockPanelTest, VerticalPanelsMirrorTheRules) {
    dock->SetAlign(TDockAlign::daLeft);
    TAdvToolBar* a = MakeToolBar("A", 40);
    EXPECT_EQ(a->Position(), TDockAlign::daLeft);
    EXPECT_EQ(a->Width(), 44);
    EXPECT_EQ(dock->Width(), 47);
    EXPECT_EQ(a->Left(), 1);
    dock->RemoveFromRow(0, a, false);
    dock->AppendToRow(0, a);
    EXPECT_EQ(a->Top() + a->Height(), 299 - 2) << "a column's first toolbar sits at its bottom end";

    dock->SetAlign(TDockAlign::daRight);
    TAdvToolBar* b = MakeToolBar("B", 40);
    EXPECT_EQ(b->Position(), TDockAlign::daRight);
    EXPECT_EQ(a->Position(), TDockAlign::daRight);
    EXPECT_EQ(dock->Width(), 1 + a->Width() + 1 + b->Width() + 1 + 1);
    EXPECT_EQ(b->RowIndex(), 1);
    EXPECT_EQ(dock->Left() + dock->Width(), 400) << "a right panel keeps its right edge";
}

TEST_F(DockPanelTest, ProgrammingErrorsRaiseWithPlainMessages) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    try {
        dock->MoveToRow(a, 5);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid Row Index");
    }
    TAdvToolBar* stranger = MakeToolBar("S", 40, 22, form);
    int left = 0, width = 0;
    try {
        dock->MoveWithinRow(0, stranger, left, width);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid ToolBar Index");
    }
    auto* inner = new TAdvDockPanel(form);
    try {
        inner->SetParent(dock);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid Parent");
    }
    EXPECT_EQ(inner->Parent(), nullptr);
}

TEST_F(DockPanelTest, FreedToolBarLeavesItsRow) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    MakeToolBar("B", 40);
    TObject::Free(a);
    EXPECT_EQ(dock->ToolBarCount(), 1);
    EXPECT_EQ(Rows(), "row 0: 1,1,399,28: B\n");
}

TEST_F(DockPanelTest, PersistenceSettingsReachTheToolBarsInItsRows) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    EXPECT_EQ(a->Persistence()->Section(), "UnDockedAdvToolBars");
    dock->Persistence()->SetKey("Software\\Clinic");
    dock->Persistence()->SetLocation(TPersistenceLocation::plIniFile);
    EXPECT_EQ(a->Persistence()->Key(), "Software\\Clinic");
    EXPECT_EQ(a->Persistence()->Location(), TPersistenceLocation::plIniFile);
    EXPECT_EQ(a->Persistence()->Section(), "UnDockedAdvToolBars") << "the section stays the toolbar's own";

    TPersistence copy;
    copy.SetEnabled(true);
    dock->SetPersistence(&copy);
    EXPECT_FALSE(a->Persistence()->Enabled()) << "assigning the record raises no change";
    TAdvToolBar* b = MakeToolBar("B", 40);
    EXPECT_TRUE(b->Persistence()->Enabled()) << "a newly docked toolbar takes the panel's values";
}

} // namespace
} // namespace emr
