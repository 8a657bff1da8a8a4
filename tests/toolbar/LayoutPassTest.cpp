// How many layouts a dock panel computes and applies for one event: at most one.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "ToolBarFixture.h"
#include "framework/forms/Panel.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/ToolbarClasses.h"

namespace emr::testing {
namespace {

class LayoutPassTest : public ::testing::Test {
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
        for (const char* name : {"A", "B", "C"}) {
            auto* t = new TAdvToolBar(form);
            t->SetName(name);
            auto* p = new TPanel(form);
            p->SetBounds(0, 0, 60, 22);
            p->SetParent(t);
            content[name] = p;
            t->SetParent(dock);
            bars.push_back(t);
        }
        // Two in the first row, one in the second.
        bars[1]->SetTop(bars[0]->Top() + 2);
        form->Show();
        app->ProcessMessages();
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    /// The passes `event` costs the panel.
    template <class F> std::uint64_t PassesOf(F&& event) {
        const std::uint64_t before = dock->LayoutPasses();
        event();
        app->ProcessMessages();
        return dock->LayoutPasses() - before;
    }

    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvDockPanel* dock = nullptr;
    std::vector<TAdvToolBar*> bars;
    std::map<std::string, TPanel*> content;
};

TEST_F(LayoutPassTest, EachEventCostsTheDockPanelAtMostOneLayoutPass) {
    ASSERT_EQ(dock->RowCount(), 2) << [&] {
        std::string s;
        for (auto& l : dock->DumpRows())
            s += l + "\n";
        return s;
    }();
    EXPECT_LE(PassesOf([&] { form->SetClientWidth(300); }), 1u) << "resize";
    EXPECT_LE(PassesOf([&] { bars[1]->SetLeft(bars[1]->Left() + 10); }), 1u) << "a move within the row";
    EXPECT_LE(PassesOf([&] { bars[2]->SetTop(bars[0]->Top() + 1); }), 1u) << "a move into another row";
    EXPECT_LE(PassesOf([&] { bars[0]->SetVisible(false); }), 1u) << "hidden";
    EXPECT_LE(PassesOf([&] { bars[0]->SetVisible(true); }), 1u) << "shown";
    EXPECT_LE(PassesOf([&] { content["B"]->SetWidth(90); }), 1u) << "a control grows";
    EXPECT_LE(PassesOf([&] { app->ProcessMessages(); }), 0u) << "nothing happened";
}

} // namespace
} // namespace emr::testing
