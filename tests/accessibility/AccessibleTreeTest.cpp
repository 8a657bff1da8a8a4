#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Workbench.h"
#include "app/AppEnvironment.h"
#include "app/Program.h"
#include "app/RecordingLocalePlatform.h"
#include "app/Unit1.h"
#include "framework/accessibility/AccessibleTree.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Screen.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/storage/SettingsStore.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/LayoutStore.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
namespace {

using platform::AccessibleId;
using platform::TAccessibleEvent;
using platform::TAccessibleNode;
using platform::TAccessibleRole;
using TNotice = platform::HeadlessBackend::TAccessibleNotice;

/// Reads the tree only through what a platform bridge sees: the source handed
/// to the backend.
class AccessibleTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
    }

    void TearDown() override {
        ShutDownApplication();
        platform::Backend::Uninstall();
        AppEnvironment() = TAppEnvironment{};
        TLayoutStore::SetFactory(nullptr);
    }

    TForm1* StartProgram() {
        AppEnvironment().Platform = &locale_;
        AppEnvironment().Formats = {"yyyy/M/d", "tt h:mm:ss", "上午", "下午"};
        TForm1* form = StartApplication();
        form->Show();
        Application->ProcessMessages();
        return form;
    }

    TCustomForm* StartWorkbench() {
        TLayoutStore::SetFactory([](const TPersistence&) { return std::make_unique<TEmptySettingsStore>(); });
        RegisterToolbarClasses();
        TApplication* app = EnsureApplication();
        app->Initialize();
        TCustomForm* form = CreateWorkbench(app);
        app->SetMainForm(form);
        form->Show();
        app->ProcessMessages();
        return form;
    }

    platform::AccessibleSource& Source() {
        platform::AccessibleSource* source = backend_->AccessibleSourceInUse();
        EXPECT_NE(source, nullptr) << "the application hands its tree to the backend";
        return *source;
    }

    TAccessibleNode Node(AccessibleId id) {
        std::optional<TAccessibleNode> node = Source().Describe(id);
        EXPECT_TRUE(node.has_value()) << "node " << id;
        return node.value_or(TAccessibleNode{});
    }

    /// The first node below `from` (depth first) with this role and name; 0 when none.
    AccessibleId Find(AccessibleId from, TAccessibleRole role, const std::string& name) {
        const std::optional<TAccessibleNode> node = Source().Describe(from);
        if (!node) return 0;
        if (node->Role == role && node->Name == name) return from;
        for (AccessibleId child : node->Children)
            if (AccessibleId found = Find(child, role, name)) return found;
        return 0;
    }

    AccessibleId MainWindowRoot() {
        const std::vector<platform::WindowId> windows = Source().TopLevelWindows();
        EXPECT_EQ(windows.size(), 1u);
        return windows.empty() ? 0 : Source().WindowRoot(windows.front());
    }

    bool Notified(TAccessibleEvent event, AccessibleId id) const {
        const auto& notices = backend_->AccessibleNotices();
        return std::find(notices.begin(), notices.end(), TNotice{event, id}) != notices.end();
    }

    static TRect ScreenRectOf(const TControl* control) {
        const TPoint topLeft = control->ClientToScreen({0, 0});
        return TRect::FromBounds(topLeft.X, topLeft.Y, control->Width(), control->Height());
    }

    platform::HeadlessBackend* backend_ = nullptr;
    TRecordingLocalePlatform locale_;
};

TEST_F(AccessibleTreeTest, ProgramWindowIsAFrameHoldingThePanelToolbarAndItsTwoPushButtons) {
    TForm1* form = StartProgram();
    const AccessibleId root = MainWindowRoot();
    const TAccessibleNode window = Node(root);
    EXPECT_EQ(window.Role, TAccessibleRole::Window);
    EXPECT_EQ(window.Name, "电子病历补丁");
    EXPECT_EQ(window.Parent, 0u);
    EXPECT_EQ(window.Window, form->NativeWindow());
    EXPECT_TRUE(window.States & platform::asActive);
    EXPECT_EQ(window.Extents, form->BoundsRect());

    // window → dock panel → toolbar → buttons, each child naming its parent.
    ASSERT_FALSE(window.Children.empty());
    const AccessibleId panel = window.Children.front();
    EXPECT_EQ(Node(panel).Role, TAccessibleRole::Panel);
    EXPECT_EQ(Node(panel).Parent, root);
    const AccessibleId toolBar = Find(panel, TAccessibleRole::ToolBar, "Untitled");
    ASSERT_NE(toolBar, 0u);
    EXPECT_EQ(Node(toolBar).Parent, panel);

    const AccessibleId ok = Find(toolBar, TAccessibleRole::PushButton, "确定");
    const AccessibleId quit = Find(toolBar, TAccessibleRole::PushButton, "退出");
    ASSERT_NE(ok, 0u);
    ASSERT_NE(quit, 0u);
    EXPECT_EQ(Node(toolBar).Children, (std::vector<AccessibleId>{ok, quit}));
    auto* okButton = form->FindComponentAs<TControl>("AdvToolBarButton1");
    auto* quitButton = form->FindComponentAs<TControl>("AdvToolBarButton2");
    for (auto [id, control] : {std::pair{ok, okButton}, std::pair{quit, quitButton}}) {
        SCOPED_TRACE(control->Caption());
        const TAccessibleNode button = Node(id);
        EXPECT_EQ(button.Parent, toolBar);
        EXPECT_EQ(button.Window, form->NativeWindow());
        const auto expected = platform::asEnabled | platform::asVisible | platform::asShowing;
        EXPECT_EQ(button.States & expected, expected);
        EXPECT_FALSE(button.States & (platform::asChecked | platform::asPressed | platform::asFocused));
        EXPECT_EQ(button.Actions, std::vector<std::string>{"click"});
        EXPECT_EQ(button.Extents, ScreenRectOf(control));
        // Hit testing finds the button, not the toolbar under it.
        const TPoint centre{(button.Extents.Left + button.Extents.Right) / 2,
                            (button.Extents.Top + button.Extents.Bottom) / 2};
        EXPECT_EQ(Source().At(centre), id);
    }
    // The toolbar sits at (3, 1) in the panel, the buttons at Left 9 and 43.
    EXPECT_EQ(Node(ok).Extents.Left - Node(toolBar).Extents.Left, 9);
    EXPECT_EQ(Node(quit).Extents.Left - Node(toolBar).Extents.Left, 43);
    EXPECT_EQ(Node(toolBar).Extents.Left - Node(panel).Extents.Left, 3);
}

TEST_F(AccessibleTreeTest, TabAndArrowsMoveTheFocusReadersFollow) {
    StartProgram();
    const AccessibleId root = MainWindowRoot();
    const AccessibleId ok = Find(root, TAccessibleRole::PushButton, "确定");
    const AccessibleId quit = Find(root, TAccessibleRole::PushButton, "退出");
    backend_->ClearAccessibleNotices();

    backend_->Key(platform::VK_TAB);
    Application->ProcessMessages();
    EXPECT_TRUE(Notified(TAccessibleEvent::FocusChanged, ok));
    EXPECT_EQ(Source().Focused(), ok);
    EXPECT_TRUE(Node(ok).States & platform::asFocused);
    EXPECT_TRUE(Node(ok).States & platform::asFocusable);

    backend_->Key(platform::VK_RIGHT);
    Application->ProcessMessages();
    EXPECT_TRUE(Notified(TAccessibleEvent::FocusChanged, quit));
    EXPECT_EQ(Source().Focused(), quit);
    EXPECT_FALSE(Node(ok).States & platform::asFocused);
}

TEST_F(AccessibleTreeTest, EnableCaptionAndChildChangesAreReportedUnderTheNodesId) {
    TForm1* form = StartProgram();
    const AccessibleId ok = Find(MainWindowRoot(), TAccessibleRole::PushButton, "确定");
    auto* okButton = form->FindComponentAs<TAdvToolBarButton>("AdvToolBarButton1");
    auto* toolBar = form->FindComponentAs<TAdvToolBar>("AdvToolBar1");
    const AccessibleId root = MainWindowRoot();
    const AccessibleId bar = Find(root, TAccessibleRole::ToolBar, "Untitled");
    backend_->ClearAccessibleNotices();

    okButton->SetEnabled(false);
    EXPECT_TRUE(Notified(TAccessibleEvent::StateChanged, ok));
    EXPECT_FALSE(Node(ok).States & platform::asEnabled);

    okButton->SetCaption("应用(&A)");
    EXPECT_TRUE(Notified(TAccessibleEvent::NameChanged, ok));
    EXPECT_EQ(Node(ok).Name, "应用(A)") << "the hot-key marker is not read out";

    auto* added = new TAdvToolBarButton(form);
    added->SetCaption("新");
    added->SetParent(toolBar);
    EXPECT_TRUE(Notified(TAccessibleEvent::ChildrenChanged, bar));
    EXPECT_EQ(Node(bar).Children.size(), 3u);
    backend_->ClearAccessibleNotices();
    TObject::Free(added);
    EXPECT_TRUE(Notified(TAccessibleEvent::ChildrenChanged, bar));
    EXPECT_EQ(Node(bar).Children.size(), 2u);

    backend_->ClearAccessibleNotices();
    form->Hide();
    EXPECT_TRUE(Notified(TAccessibleEvent::WindowHidden, root));
    EXPECT_TRUE(Source().TopLevelWindows().empty());
}

TEST_F(AccessibleTreeTest, ChangesOfNodesNoBridgeHasSeenCostNothing) {
    // Start-up sets every caption and bound; with nobody reading, none of it is news.
    TForm1* form = StartProgram();
    // Only the nodes that a window's appearance or the focus introduced are told of.
    std::vector<AccessibleId> introduced;
    for (const TNotice& n : backend_->AccessibleNotices())
        if (n.Event == TAccessibleEvent::WindowShown || n.Event == TAccessibleEvent::FocusChanged)
            introduced.push_back(n.Id);
    for (const TNotice& n : backend_->AccessibleNotices())
        EXPECT_NE(std::find(introduced.begin(), introduced.end(), n.Id), introduced.end())
            << "node " << n.Id << " told of before anybody asked";

    auto* quitButton = form->FindComponentAs<TControl>("AdvToolBarButton2");
    backend_->ClearAccessibleNotices();
    quitButton->SetCaption("关闭");
    EXPECT_TRUE(backend_->AccessibleNotices().empty());
    // Once a bridge has seen the node its changes are told.
    const AccessibleId quit = Find(MainWindowRoot(), TAccessibleRole::PushButton, "关闭");
    ASSERT_NE(quit, 0u);
    quitButton->SetCaption("退出");
    EXPECT_TRUE(Notified(TAccessibleEvent::NameChanged, quit));
}

TEST_F(AccessibleTreeTest, IdsStayAcrossLayoutsAndAreNeverGivenToAnotherControl) {
    TForm1* form = StartProgram();
    const AccessibleId ok = Find(MainWindowRoot(), TAccessibleRole::PushButton, "确定");
    auto* toolBar = form->FindComponentAs<TAdvToolBar>("AdvToolBar1");

    // A re-layout moves the buttons; their ids stay.
    toolBar->Realign();
    form->SetBounds(form->Left() + 40, form->Top() + 20, form->Width(), form->Height());
    Application->ProcessMessages();
    EXPECT_EQ(Find(MainWindowRoot(), TAccessibleRole::PushButton, "确定"), ok);
    EXPECT_EQ(Node(ok).Extents, ScreenRectOf(form->FindComponentAs<TControl>("AdvToolBarButton1")));

    std::vector<AccessibleId> gone;
    for (int i = 0; i < 3; ++i) {
        auto* temporary = new TAdvToolBarButton(form);
        temporary->SetCaption("临时");
        temporary->SetParent(toolBar);
        const AccessibleId id = Find(MainWindowRoot(), TAccessibleRole::PushButton, "临时");
        ASSERT_NE(id, 0u);
        EXPECT_TRUE(std::find(gone.begin(), gone.end(), id) == gone.end()) << "id " << id << " given again";
        EXPECT_NE(id, ok);
        TObject::Free(temporary);
        EXPECT_FALSE(Source().Describe(id).has_value()) << "a freed control's node is gone";
        gone.push_back(id);
    }
}

TEST_F(AccessibleTreeTest, PressOnQuitRunsFromTheLoopAndEndsTheProgram) {
    TForm1* form = StartProgram();
    const AccessibleId quit = Find(MainWindowRoot(), TAccessibleRole::PushButton, "退出");
    EXPECT_FALSE(Source().DoAction(quit, 1)) << "the button has one action";
    EXPECT_FALSE(Source().DoAction(0, 0));

    ASSERT_TRUE(Source().DoAction(quit, 0));
    // Nothing runs inside the bridge's call.
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(form->Visible());
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(AccessibleTreeTest, ActionOnAControlFreedBeforeTheLoopRunsItDoesNothing) {
    TForm1* form = StartProgram();
    auto* toolBar = form->FindComponentAs<TAdvToolBar>("AdvToolBar1");
    auto* doomed = new TAdvToolBarButton(form);
    doomed->SetCaption("临时");
    doomed->SetParent(toolBar);
    bool clicked = false;
    doomed->OnClick = [&](TObject*) { clicked = true; };
    const AccessibleId id = Find(MainWindowRoot(), TAccessibleRole::PushButton, "临时");
    ASSERT_TRUE(Source().DoAction(id, 0));
    TObject::Free(doomed);
    Application->ProcessMessages();
    EXPECT_FALSE(clicked);
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(AccessibleTreeTest, AButtonGroupReportsTheButtonItReleased) {
    TForm1* form = StartProgram();
    auto* toolBar = form->FindComponentAs<TAdvToolBar>("AdvToolBar1");
    std::vector<TAdvToolBarButton*> group;
    for (const char* caption : {"左", "右"}) {
        auto* button = new TAdvToolBarButton(form);
        button->SetCaption(caption);
        button->SetGroupIndex(1);
        button->SetParent(toolBar);
        group.push_back(button);
    }
    const AccessibleId left = Find(MainWindowRoot(), TAccessibleRole::ToggleButton, "左");
    const AccessibleId right = Find(MainWindowRoot(), TAccessibleRole::ToggleButton, "右");
    ASSERT_NE(left, 0u);
    ASSERT_NE(right, 0u);
    group[0]->SetDown(true);
    EXPECT_TRUE(Node(left).States & platform::asChecked);
    backend_->ClearAccessibleNotices();

    // The released button is set up by its neighbour, not through its own setter.
    group[1]->SetDown(true);
    EXPECT_TRUE(Node(right).States & platform::asChecked);
    EXPECT_FALSE(Node(left).States & platform::asChecked);
    EXPECT_TRUE(Notified(TAccessibleEvent::StateChanged, right));
    EXPECT_TRUE(Notified(TAccessibleEvent::StateChanged, left));
}

TEST_F(AccessibleTreeTest, WorkbenchMenuBarToolbarsAndCheckButtons) {
    TCustomForm* form = StartWorkbench();
    const AccessibleId root = MainWindowRoot();
    EXPECT_EQ(Node(root).Name, "Workbench");

    const AccessibleId menuBar = Find(root, TAccessibleRole::MenuBar, "Menu");
    ASSERT_NE(menuBar, 0u);
    const std::vector<AccessibleId> menus = Node(menuBar).Children;
    ASSERT_FALSE(menus.empty());
    for (AccessibleId menu : menus) {
        const TAccessibleNode item = Node(menu);
        SCOPED_TRACE(item.Name);
        EXPECT_EQ(item.Role, TAccessibleRole::MenuItem);
        EXPECT_FALSE(item.Name.empty());
        EXPECT_EQ(item.Name.find('&'), std::string::npos);
        EXPECT_TRUE(item.States & platform::asHasPopup);
        EXPECT_EQ(item.Actions, std::vector<std::string>{"open"});
    }

    const AccessibleId standard = Find(root, TAccessibleRole::ToolBar, "Standard");
    ASSERT_NE(standard, 0u);
    EXPECT_NE(Find(standard, TAccessibleRole::PushButton, "Save"), 0u);
    EXPECT_NE(Find(standard, TAccessibleRole::Separator, ""), 0u);
    // A glyph-only button is named by its hint.
    auto* preview = form->FindComponentAs<TAdvToolBarButton>("PreviewButton");
    ASSERT_NE(preview, nullptr);
    ASSERT_FALSE(preview->ShowCaption());
    EXPECT_NE(Find(standard, TAccessibleRole::PushButton, preview->Hint()), 0u);
    EXPECT_EQ(Find(standard, TAccessibleRole::PushButton, preview->Caption()), 0u);

    const AccessibleId bold = Find(root, TAccessibleRole::ToggleButton, "Bold");
    ASSERT_NE(bold, 0u);
    EXPECT_FALSE(Node(bold).States & platform::asChecked);
    EXPECT_EQ(Node(bold).Actions, std::vector<std::string>{"click"});
    backend_->ClearAccessibleNotices();
    ASSERT_TRUE(Source().DoAction(bold, 0));
    Application->ProcessMessages();
    EXPECT_TRUE(Node(bold).States & platform::asChecked);
    EXPECT_TRUE(Notified(TAccessibleEvent::StateChanged, bold));
}

} // namespace
} // namespace emr
