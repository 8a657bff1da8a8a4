// Saving and restoring toolbar layouts, grouped by rule: when nothing is
// touched, what a panel writes, round trips through destruction and loading,
// the persistence record's copy, toolbar state, failing stores, and damaged
// saved layouts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Panel.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/storage/SettingsStore.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolBarFixture.h"
#include "toolbar/ToolBarLayoutPersistence.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
namespace {

#ifdef _WIN32
/// A value of the user's registry as the system gives it: "s:" and the text of a
/// REG_SZ, "d:" and the decimal of a REG_DWORD, empty when missing or of another kind.
std::string RawRegistryValue(const std::string& subKey, const std::string& name);
void DeleteRegistryKey(const std::string& subKey);
#endif

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

/// "Section/Name" to the value as written, read line by line without the store's parser.
std::map<std::string, std::string> ReadIni(const std::string& path) {
    std::map<std::string, std::string> values;
    std::istringstream in(ReadFile(path));
    std::string line, section;
    while (std::getline(in, line)) {
        if (line.size() >= 2 && line.front() == '[') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto eq = line.find('=');
        if (eq != std::string::npos) values[section + "/" + line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

/// Points the user's configuration folder at `dir` on either system.
void UseConfigFolder(const std::string& dir) {
#ifdef _WIN32
    _putenv_s("APPDATA", dir.c_str());
#else
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
#endif
}

class LayoutPersistenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto unique = std::to_string(std::random_device{}()) + std::to_string(std::rand());
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("emr-layout-" + unique);
        ASSERT_TRUE(std::filesystem::create_directories(folder));
        dir = folder.generic_string();
        ini = dir + "/layout.ini";
        UseConfigFolder(dir);
        auto be = std::make_unique<platform::HeadlessBackend>();
        backend = be.get();
        platform::Backend::Install(std::move(be));
        app = new TApplication(nullptr);
        RegisterToolbarClasses();
        form = new TForm(app);
        form->SetBounds(0, 0, 600, 400);
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        dock = new TAdvDockPanel(form);
        dock->SetName("Dock");
        dock->SetParent(form);
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
        std::error_code error;
        std::filesystem::permissions(ini, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(dir, error);
        if (error) ADD_FAILURE() << "cannot remove " << dir << ": " << error.message();
    }

    void UseIni(TAdvDockPanel* panel, const std::string& section = "Dock") {
        panel->Persistence()->SetLocation(TPersistenceLocation::plIniFile);
        panel->Persistence()->SetKey(ini);
        panel->Persistence()->SetSection(section);
        panel->Persistence()->SetEnabled(true);
    }

    /// A toolbar whose content is `content` wide: full length content + 23.
    TAdvToolBar* MakeToolBar(const std::string& name, int content, TWinControl* parent = nullptr) {
        auto* t = new TAdvToolBar(form);
        t->SetName(name);
        auto* p = new TPanel(form);
        p->SetBounds(0, 0, content, 22);
        p->SetParent(t);
        t->SetParent(parent ? parent : dock);
        return t;
    }

    /// A toolbar of `buttons` captioned buttons.
    TAdvToolBar* MakeButtonBar(const std::string& name, int buttons) {
        auto* t = new TAdvToolBar(form);
        t->SetName(name);
        t->SetParent(dock);
        for (int i = 0; i < buttons; ++i) {
            auto* b = new TAdvToolBarButton(form);
            b->SetName(name + "Button" + std::to_string(i + 1));
            b->SetCaption("B" + std::to_string(i + 1));
            b->SetShowCaption(true);
            b->AttachToToolBar(t);
        }
        return t;
    }

    static std::string Rows(const TAdvDockPanel* panel) {
        std::string out;
        for (const std::string& line : panel->DumpRows())
            out += line + "\n";
        return out;
    }

    /// A form with a dock panel saving to the test's INI file and three toolbars
    /// of two buttons each, built the way the program builds its window.
    /// With `registryKey`, the panel saves under that key of the user's registry instead.
    std::string StoredForm(const std::string& registryKey = "") const {
        const std::string where = registryKey.empty() ? "plIniFile" : "plRegistry";
        std::string text = "object LayoutForm: TForm\n  ClientWidth = 400\n  ClientHeight = 300\n"
                           "  object Dock: TAdvDockPanel\n    Persistence.Location = " +
                           where + "\n    Persistence.Key = '" + (registryKey.empty() ? ini : registryKey) +
                           "'\n    Persistence.Section = 'Dock'\n    Persistence.Enabled = True\n";
        text += testing::StoredToolBars(3);
        return text + "  end\nend\n";
    }
    TComponent* CreateStoredForm(const std::string& registryKey = "") {
        return TLayoutReader::CreateFromText(StoredForm(registryKey), app);
    }
    /// The files in the test's folder whose names start with `prefix`.
    std::vector<std::string> FilesStartingWith(const std::string& prefix) const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().filename().string().starts_with(prefix))
                names.push_back(entry.path().filename().string());
        return names;
    }
    /// The rows of three toolbars one to a row, as the stored form has them.
    static constexpr const char* kStoredRows =
        "row 0: 1,1,399,28: Bar1\nrow 1: 1,28,399,55: Bar2\nrow 2: 1,55,399,82: Bar3\n";

    std::string dir;
    std::string ini;
    platform::HeadlessBackend* backend = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvDockPanel* dock = nullptr;
};

// ---- nothing is touched without a Key and a Section --------------------------------------------

TEST_F(LayoutPersistenceTest, EnabledWithEmptyKeyOrSectionReadsAndWritesNothing) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    UseIni(dock, "");
    dock->SaveDockLayout();
    a->SaveToolBarLayout();
    EXPECT_FALSE(std::ifstream(ini).good()) << "empty Section";

    WriteFile(ini, "[Dock]\nToolBarCount=1\nRowCount=3\nName1=A\nA.Row=0\nA.Left=200\n");
    const std::string before = Rows(dock);
    dock->LoadDockLayout();
    EXPECT_EQ(Rows(dock), before);

    dock->Persistence()->SetSection("Dock");
    dock->Persistence()->SetKey("");
    dock->LoadDockLayout();
    EXPECT_EQ(Rows(dock), before) << "empty Key";
    std::remove(ini.c_str());
    dock->SaveDockLayout();
    a->SaveToolBarLayout();
    EXPECT_FALSE(std::ifstream(ini).good()) << "empty Key";
}

// ---- what a panel writes --------------------------------------------------------------------------

TEST_F(LayoutPersistenceTest, TwoRowsAndAHiddenToolBarWriteThreeNamesHiddenLast) {
    TAdvToolBar* hidden = MakeToolBar("Hidden", 30);
    TAdvToolBar* first = MakeToolBar("First", 40);
    TAdvToolBar* second = MakeToolBar("Second", 50);
    hidden->SetVisible(false);
    ASSERT_EQ(dock->RowCount(), 2);
    UseIni(dock);
    dock->SaveDockLayout();

    auto v = ReadIni(ini);
    EXPECT_EQ(v["Dock/ToolBarCount"], "3");
    EXPECT_EQ(v["Dock/RowCount"], "2");
    EXPECT_EQ(v["Dock/Name1"], "First");
    EXPECT_EQ(v["Dock/Name2"], "Second");
    EXPECT_EQ(v["Dock/Name3"], "Hidden");
    EXPECT_EQ(v["Dock/Name4"], "");
    EXPECT_EQ(v["Dock/Second.Row"], "1");
    EXPECT_EQ(v["Dock/Second.Left"], std::to_string(second->Left()));
    EXPECT_EQ(v["Dock/Second.Top"], std::to_string(second->Top()));
    EXPECT_EQ(v["Dock/Second.Width"], std::to_string(second->Width()));
    EXPECT_EQ(v["Dock/Second.Height"], std::to_string(second->Height()));
    EXPECT_EQ(v["Dock/First.Visible"], "1");
    EXPECT_EQ(v["Dock/Hidden.Visible"], "0");
    EXPECT_EQ(v["Dock/Hidden.Row"], "0") << "the row it kept when hidden";
    (void)first;
}

// ---- round trip through destruction and loading ---------------------------------------------------

TEST_F(LayoutPersistenceTest, DestroyingTheWindowSavesAndTheNextOneLoadsTheSameLayout) {
    auto* saved = static_cast<TForm*>(CreateStoredForm());
    auto* panel = saved->FindComponentAs<TAdvDockPanel>("Dock");
    auto* bar1 = saved->FindComponentAs<TAdvToolBar>("Bar1");
    auto* bar2 = saved->FindComponentAs<TAdvToolBar>("Bar2");
    auto* bar3 = saved->FindComponentAs<TAdvToolBar>("Bar3");
    ASSERT_TRUE(panel && bar1 && bar2 && bar3);
    ASSERT_EQ(panel->RowCount(), 3);
    // Rearranged by the user: Bar3 joins the first row, Bar2 is hidden, one button goes.
    panel->MoveToRow(bar3, 0);
    bar3->SetLeft(bar1->Left() + bar1->Width() + 30);
    bar2->SetVisible(false);
    saved->FindComponentAs<TAdvToolBarButton>("Button12")->SetVisible(false);
    const std::string rows = Rows(panel);
    const TRect bounds3 = bar3->BoundsRect();
    ASSERT_EQ(panel->RowCount(), 1);
    TObject::Free(saved);

    auto v = ReadIni(ini);
    EXPECT_EQ(v["Dock/ToolBarCount"], "3");
    EXPECT_EQ(v["UnDockedAdvToolBars/Bar1.Button11"], "1") << "button visibility is saved per toolbar";
    EXPECT_EQ(v["UnDockedAdvToolBars/Bar1.Button12"], "0");
    EXPECT_EQ(v["UnDockedAdvToolBars/Bar2.Button21"], "1");

    auto* loaded = static_cast<TForm*>(CreateStoredForm());
    panel = loaded->FindComponentAs<TAdvDockPanel>("Dock");
    bar2 = loaded->FindComponentAs<TAdvToolBar>("Bar2");
    bar3 = loaded->FindComponentAs<TAdvToolBar>("Bar3");
    EXPECT_EQ(Rows(panel), rows);
    EXPECT_EQ(bar3->BoundsRect(), bounds3);
    EXPECT_FALSE(bar2->Visible());
    EXPECT_EQ(panel->InvisibleToolBars().size(), 1u);
    EXPECT_FALSE(loaded->FindComponentAs<TAdvToolBarButton>("Button12")->Visible());
    EXPECT_TRUE(loaded->FindComponentAs<TAdvToolBarButton>("Button11")->Visible());
    EXPECT_TRUE(loaded->FindComponentAs<TAdvToolBarButton>("Button22")->Visible());
    EXPECT_TRUE(bar2->LayoutPersistence()->Loaded());
    TObject::Free(loaded);
}

TEST_F(LayoutPersistenceTest, ARightToLeftWindowSavesLogicalPositionsThatSurviveALeftToRightOne) {
#ifdef _WIN32
    const std::string registryKey = "Software\\EmrTest\\Mirrored" + std::to_string(std::random_device{}());
    const std::string registryFile;
#else
    const std::string registryKey = "Software\\EmrMirrored";
    const std::string registryFile = dir + "/user-registry.reg";
#endif
    for (const std::string& key : {std::string(), registryKey}) {
        SCOPED_TRACE(key.empty() ? "INI file" : "registry");
        const std::string storeFile = key.empty() ? ini : registryFile;
        auto create = [&](bool rightToLeft) {
            std::string text = StoredForm(key);
            if (rightToLeft) text.insert(text.find('\n') + 1, "  BiDiMode = bdRightToLeft\n");
            return static_cast<TForm*>(TLayoutReader::CreateFromText(text, app));
        };
        TForm* saved = create(true);
        ASSERT_TRUE(saved->UseRightToLeftLayout());
        auto* panel = saved->FindComponentAs<TAdvDockPanel>("Dock");
        auto* bar1 = saved->FindComponentAs<TAdvToolBar>("Bar1");
        auto* bar3 = saved->FindComponentAs<TAdvToolBar>("Bar3");
        ASSERT_TRUE(panel && bar1 && bar3);
        panel->MoveToRow(bar3, 0);
        bar3->SetLeft(bar1->Left() + bar1->Width() + 30);
        const std::string rows = Rows(panel);
        const TRect bounds3 = bar3->BoundsRect();
        ASSERT_NE(bar3->VisualLeft(), bar3->Left()) << "the window really is mirrored";
        TObject::Free(saved);
        const std::string stored = storeFile.empty() ? std::string() : ReadFile(storeFile);

        for (bool rightToLeft : {false, true}) {
            TForm* loaded = create(rightToLeft);
            panel = loaded->FindComponentAs<TAdvDockPanel>("Dock");
            EXPECT_EQ(Rows(panel), rows) << (rightToLeft ? "back right to left" : "left to right");
            EXPECT_EQ(loaded->FindComponentAs<TAdvToolBar>("Bar3")->BoundsRect(), bounds3);
            TObject::Free(loaded);
            if (!storeFile.empty()) {
                EXPECT_EQ(ReadFile(storeFile), stored) << "saved again unchanged";
            }
        }
    }
#ifdef _WIN32
    DeleteRegistryKey(registryKey);
#endif
}

TEST_F(LayoutPersistenceTest, WindowCreatedFromItsLayoutFloatsAToolBarSavedFloating) {
    WriteFile(ini, "[UnDockedAdvToolBars]\nBar2.Name=Bar2\nBar2.State=1\nBar2.Left=500\nBar2.Top=300\n"
                   "Bar2.Button22=0\n");
    auto* loaded = static_cast<TForm*>(CreateStoredForm());
    auto* panel = loaded->FindComponentAs<TAdvDockPanel>("Dock");
    auto* bar2 = loaded->FindComponentAs<TAdvToolBar>("Bar2");
    ASSERT_TRUE(bar2->Floating());
    EXPECT_EQ(TFloatingWindow::Of(bar2)->Left(), 500);
    EXPECT_EQ(TFloatingWindow::Of(bar2)->Top(), 300);
    EXPECT_FALSE(loaded->FindComponentAs<TAdvToolBarButton>("Button22")->Visible());
    EXPECT_EQ(Rows(panel), "row 0: 1,1,399,28: Bar1\nrow 1: 1,28,399,55: Bar3\n");
    TObject::Free(loaded);
    auto v = ReadIni(ini);
    EXPECT_EQ(v["Dock/ToolBarCount"], "2") << "a floating toolbar is not the panel's to save";
    EXPECT_EQ(v["UnDockedAdvToolBars/Bar2.State"], "1");
    EXPECT_EQ(v["UnDockedAdvToolBars/Bar2.Left"], "500");
}

// A floating toolbar saved hidden had been closed with its window; its window
// once came up empty when the form showed.
TEST_F(LayoutPersistenceTest, ToolBarSavedFloatingAndHiddenKeepsItsWindowClosedWhenTheFormShows) {
    WriteFile(ini, "[UnDockedAdvToolBars]\nBar2.Name=Bar2\nBar2.State=1\nBar2.Left=500\nBar2.Top=300\n"
                   "Bar2.Visible=0\n");
    auto* loaded = static_cast<TForm*>(CreateStoredForm());
    auto* bar2 = loaded->FindComponentAs<TAdvToolBar>("Bar2");
    ASSERT_TRUE(bar2->Floating());
    TFloatingWindow* window = TFloatingWindow::Of(bar2);
    ASSERT_NE(window, nullptr);
    loaded->Show();
    backend->AdvanceTime(200);
    EXPECT_FALSE(bar2->Visible());
    EXPECT_FALSE(window->Visible()) << "an empty floating window";
    EXPECT_FALSE(window->ShowPending());
    loaded->Hide();
    backend->AdvanceTime(200);
    loaded->Show();
    backend->AdvanceTime(200);
    EXPECT_FALSE(window->Visible()) << "came back with its owner form";
    TObject::Free(loaded);
}

// ---- the persistence record -----------------------------------------------------------------------

TEST_F(LayoutPersistenceTest, AssignCopiesAllFourValuesWithoutOnChange) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TPersistence source;
    source.SetLocation(TPersistenceLocation::plIniFile);
    source.SetKey("k.ini");
    source.SetSection("S");
    source.SetEnabled(true);
    dock->SetPersistence(&source);
    EXPECT_EQ(dock->Persistence()->Location(), TPersistenceLocation::plIniFile);
    EXPECT_EQ(dock->Persistence()->Key(), "k.ini");
    EXPECT_EQ(dock->Persistence()->Section(), "S");
    EXPECT_TRUE(dock->Persistence()->Enabled());
    EXPECT_FALSE(a->Persistence()->Enabled()) << "no OnChange, so nothing reached the toolbar";
    EXPECT_EQ(a->Persistence()->Key(), "");

    dock->Persistence()->SetKey("other.ini");
    EXPECT_TRUE(a->Persistence()->Enabled()) << "a setter propagates Enabled, Key and Location";
    EXPECT_EQ(a->Persistence()->Key(), "other.ini");
    EXPECT_EQ(a->Persistence()->Location(), TPersistenceLocation::plIniFile);
    EXPECT_EQ(a->Persistence()->Section(), "UnDockedAdvToolBars") << "but not Section";
}

// ---- toolbar state --------------------------------------------------------------------------------

TEST_F(LayoutPersistenceTest, ToolBarDockedAfterBeingSavedFloatingGetsStateZero) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    UseIni(dock);
    WriteFile(ini, "[UnDockedAdvToolBars]\nA.Name=a\nA.State=1\nA.Left=300\n");
    a->SaveToolBarLayout();
    EXPECT_EQ(ReadIni(ini)["UnDockedAdvToolBars/A.State"], "0");
    EXPECT_EQ(ReadIni(ini)["UnDockedAdvToolBars/A.Left"], "300") << "nothing else about A is written";

    WriteFile(ini, "[UnDockedAdvToolBars]\nA.Name=B\nA.State=1\n");
    a->SaveToolBarLayout();
    EXPECT_EQ(ReadIni(ini)["UnDockedAdvToolBars/A.State"], "1") << "the saved name is another toolbar's";
}

TEST_F(LayoutPersistenceTest, ToolBarSavedFloatingFloatsAgainAtItsWindowPositionWithItsRows) {
    TAdvToolBar* a = MakeButtonBar("A", 4);
    UseIni(dock);
    ASSERT_NE(TFloatingWindow::FloatToolBar(a, 200, 150, true), nullptr);
    a->SetFloatingRows(2);
    ASSERT_EQ(a->FloatingRows(), 2);
    a->SaveToolBarLayout();
    auto v = ReadIni(ini);
    EXPECT_EQ(v["UnDockedAdvToolBars/A.Name"], "A");
    EXPECT_EQ(v["UnDockedAdvToolBars/A.State"], "1");
    EXPECT_EQ(v["UnDockedAdvToolBars/A.FloatingRows"], "2");
    EXPECT_EQ(v["UnDockedAdvToolBars/A.Left"], "200") << "the window's screen position";
    EXPECT_EQ(v["UnDockedAdvToolBars/A.Top"], "150");
    EXPECT_EQ(v["UnDockedAdvToolBars/A.Visible"], "1");

    // Docked again without saving; the next load floats it as saved.
    a->SetParent(dock);
    ASSERT_TRUE(a->Docked());
    a->LoadToolBarLayout();
    ASSERT_TRUE(a->Floating());
    TFloatingWindow* window = TFloatingWindow::Of(a);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Left(), 200);
    EXPECT_EQ(window->Top(), 150);
    EXPECT_GE(a->FloatingRows(), 2);
    EXPECT_TRUE(a->LayoutPersistence()->Loaded());
}

TEST_F(LayoutPersistenceTest, SavedVisibilityOfAFloatingToolBarTakesTheLowByte) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    UseIni(dock);
    WriteFile(ini, "[UnDockedAdvToolBars]\nA.Name=a\nA.State=1\nA.Left=300\nA.Top=20\nA.Visible=256\n");
    a->LoadToolBarLayout();
    EXPECT_TRUE(a->Floating());
    EXPECT_FALSE(a->Visible()) << "the low byte of 256 is zero";

    TAdvToolBar* b = MakeToolBar("B", 40);
    WriteFile(ini, "[UnDockedAdvToolBars]\nB.Name=B\nB.State=0\nB.Left=300\n");
    b->LoadToolBarLayout();
    EXPECT_TRUE(b->Docked());
}

// A window restored from a monitor that is gone was once placed with its docked
// size, leaving only a corner of its caption on the screen.
TEST_F(LayoutPersistenceTest, FloatingPositionOnAMonitorRemovedSinceComesBackToTheNearestOne) {
    TAdvToolBar* a = MakeButtonBar("A", 6);
    UseIni(dock);
    // Two monitors when saved; the right one is gone now.
    backend->SetScreen({0, 0, 1024, 768});
    backend->SetMonitors({{0, 0, 1024, 768}});
    backend->SetWorkArea({0, 0, 1024, 728});
    WriteFile(ini, "[UnDockedAdvToolBars]\nA.Name=A\nA.State=1\nA.Left=1500\nA.Top=900\nA.FloatingRows=3\n");
    const TSize docked{a->Width(), a->Height()};
    a->LoadToolBarLayout();
    TFloatingWindow* window = TFloatingWindow::Of(a);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(TSize(window->Width(), window->Height()), docked) << "the case needs a window of another size";
    EXPECT_EQ(window->Left(), 1024 - window->Width());
    EXPECT_EQ(window->Top(), 728 - window->Height()) << "the whole window above the task bar";

    TAdvToolBar* b = MakeToolBar("B", 40);
    WriteFile(ini, "[UnDockedAdvToolBars]\nB.Name=B\nB.State=1\nB.Left=-10\nB.Top=300\n");
    b->LoadToolBarLayout();
    window = TFloatingWindow::Of(b);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Left(), -10) << "a caption partly off the screen can still be reached";
    EXPECT_EQ(window->Top(), 300);

    // Saved left of the screen and taller than it: its caption stays on the screen.
    TAdvToolBar* c = MakeButtonBar("C", 2);
    WriteFile(ini, "[UnDockedAdvToolBars]\nC.Name=C\nC.State=1\nC.Left=-900\nC.Top=100\n");
    backend->SetWorkArea({0, 0, 1024, 20});
    c->LoadToolBarLayout();
    window = TFloatingWindow::Of(c);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Left(), 0);
    EXPECT_EQ(window->Top(), 0);
}

// A floating position saved near the int limits overflowed while the window was
// placed (the sanitizer build stopped the program at start).
TEST_F(LayoutPersistenceTest, FloatingPositionNearTheIntLimitsIsNotUsed) {
    backend->SetScreen({0, 0, 1024, 768});
    backend->SetMonitors({{0, 0, 1024, 768}});
    backend->SetWorkArea({0, 0, 1024, 728});
    UseIni(dock);
    struct Case {
        std::string Left, Top;
        bool LeftUsed, TopUsed;
    };
    const std::vector<Case> cases = {{"2147483647", "-2147483648", false, false},
                                     {"2147483600", "200", false, true},
                                     {"300", "-2147483600", true, false},
                                     {"-2147483648", "2147483647", false, false},
                                     {"4294967296", "200", false, true}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Left + ", " + c.Top);
        const std::string name = "Far" + std::to_string(++n);
        TAdvToolBar* t = MakeToolBar(name, 40);
        const TPoint docked{t->Left(), t->Top()};
        WriteFile(ini, "[UnDockedAdvToolBars]\n" + name + ".Name=" + name + "\n" + name + ".State=1\n" +
                           name + ".Left=" + c.Left + "\n" + name + ".Top=" + c.Top + "\n");
        t->LoadToolBarLayout();
        TFloatingWindow* window = TFloatingWindow::Of(t);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->Left(), c.LeftUsed ? std::stoi(c.Left) : docked.X);
        EXPECT_EQ(window->Top(), c.TopUsed ? std::stoi(c.Top) : docked.Y);
    }
}

TEST(ReachablePoint, NearestAreaOfSeveral) {
    const std::vector<TRect> areas = {{0, 0, 1000, 700}, {1000, 0, 1800, 600}};
    using P = TToolBarLayoutPersistence;
    EXPECT_EQ(P::ReachablePoint({1500, 650}, {100, 20}, 20, areas).Y, 580);
    EXPECT_EQ(P::ReachablePoint({1500, 650}, {100, 20}, 20, areas).X, 1500);
    EXPECT_EQ(P::ReachablePoint({-500, -50}, {100, 20}, 20, areas).X, 0);
    EXPECT_EQ(P::ReachablePoint({-500, -50}, {100, 20}, 20, areas).Y, 0);
    EXPECT_EQ(P::ReachablePoint({5, 5}, {100, 20}, 20, {}).X, 5) << "no monitors known";
    // The whole window, not only its caption, comes back.
    EXPECT_EQ(P::ReachablePoint({1500, 650}, {100, 90}, 20, areas), TPoint(1500, 510));
}

TEST(ReachablePoint, PositionsAndSizesAtTheIntLimitsDoNotOverflow) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const std::vector<TRect> areas = {{0, 0, 1000, 700}, {1000, 0, 1800, 600}};
    using P = TToolBarLayoutPersistence;
    EXPECT_EQ(P::ReachablePoint({kMax, kMin}, {100, 50}, 20, areas), TPoint(1700, 0));
    EXPECT_EQ(P::ReachablePoint({kMin, kMax}, {100, 50}, 20, areas), TPoint(0, 650));
    EXPECT_EQ(P::ReachablePoint({kMax - 50, kMax - 5}, {100, 50}, 20, areas), TPoint(1700, 550));
    EXPECT_EQ(P::ReachablePoint({0, 0}, {kMax, kMax}, kMax, areas), TPoint(0, 0));
    EXPECT_EQ(P::ReachablePoint({kMin, kMin}, {kMax, kMax}, kMin, areas), TPoint(0, 0));
}

TEST_F(LayoutPersistenceTest, FloatingToolBarWritesItsWindowPositionAsRegistryNumbers) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    ASSERT_NE(TFloatingWindow::FloatToolBar(a, 250, 120, true), nullptr);
    TPersistence* p = a->Persistence();
    p->SetLocation(TPersistenceLocation::plRegistry);
#ifdef _WIN32
    // The system's registry, read back through its own calls.
    const std::string key = "Software\\EmrTest\\Layout" + std::to_string(std::random_device{}());
    p->SetKey(key);
    p->SetEnabled(true);
    a->SaveToolBarLayout();
    const std::string section = key + "\\UnDockedAdvToolBars";
    EXPECT_EQ(RawRegistryValue(section, "A.Name"), "s:A");
    EXPECT_EQ(RawRegistryValue(section, "A.State"), "d:1");
    EXPECT_EQ(RawRegistryValue(section, "A.Left"), "d:250") << "the window's screen position";
    EXPECT_EQ(RawRegistryValue(section, "A.Top"), "d:120");
    EXPECT_EQ(RawRegistryValue(section, "A.Visible"), "d:1");
    DeleteRegistryKey(key);
#else
    p->SetKey("Software\\Emr");
    p->SetEnabled(true);
    a->SaveToolBarLayout();
    const std::string text = ReadFile(dir + "/user-registry.reg");
    auto has = [&](const std::string& line) { return text.find("\n" + line + "\n") != std::string::npos; };
    EXPECT_TRUE(has("[HKEY_CURRENT_USER\\Software\\Emr\\UnDockedAdvToolBars]")) << text;
    EXPECT_TRUE(has("\"A.Name\"=\"A\"")) << text;
    EXPECT_TRUE(has("\"A.State\"=dword:00000001")) << text;
    EXPECT_TRUE(has("\"A.Left\"=dword:000000fa")) << "the window's screen position: " << text;
    EXPECT_TRUE(has("\"A.Top\"=dword:00000078")) << text;
    EXPECT_TRUE(has("\"A.Visible\"=dword:00000001")) << text;
#endif
    p->SetEnabled(false);
}

// ---- a store that refuses writes --------------------------------------------------------------------

TEST_F(LayoutPersistenceTest, FailingSaveDuringDestructionIsReportedAndKeepsTheOldFile) {
    const std::string old = "[Dock]\nToolBarCount=0\n";
    WriteFile(ini, old);
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
    std::vector<std::string> reported;
    app->OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
    auto* saved = static_cast<TForm*>(CreateStoredForm());

    ::testing::internal::CaptureStderr();
    TObject::Free(saved);
    const std::string said = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(ReadFile(ini), old);
    // The panel and its toolbars share one replacement of the file, and its failure is told once.
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_NE(said.find("toolbar layout not saved"), std::string::npos) << said;
    EXPECT_NE(said.find("read-only"), std::string::npos) << said;

    // Outside destruction the store's error reaches the caller.
    TAdvToolBar* a = MakeToolBar("A", 40);
    (void)a;
    UseIni(dock);
    EXPECT_THROW(dock->SaveDockLayout(), ESettingsStoreError);
    app->OnException = nullptr;
    dock->Persistence()->SetEnabled(false);
}

// ---- damaged or foreign saved layouts -------------------------------------------------------------

TEST_F(LayoutPersistenceTest, SavedRowThatNamesNoRowGivesTheToolBarARowAtTheEnd) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    UseIni(dock);
    WriteFile(ini, "[Dock]\nToolBarCount=2\nRowCount=1\nName1=B\nB.Row=0\nName2=A\nA.Row=7\n");
    dock->LoadDockLayout();
    EXPECT_EQ(Rows(dock), "row 0: 1,1,399,28: B\nrow 1: 1,28,399,55: A\n");
    EXPECT_EQ(a->RowIndex(), 1);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(dock->ToolBarCount(), 2);

    WriteFile(ini, "[Dock]\nToolBarCount=2\nRowCount=1\nName1=B\nB.Row=0\nName2=A\nA.Row=-1\n");
    dock->LoadDockLayout();
    EXPECT_EQ(Rows(dock), "row 0: 1,1,399,28: B\nrow 1: 1,28,399,55: A\n") << "a negative row likewise";
}

TEST_F(LayoutPersistenceTest, ToolBarFoundOnAnotherPanelMovesHereAndStaysRegistered) {
    auto* other = new TAdvDockPanel(form);
    other->SetName("Other");
    other->SetAlign(TDockAlign::daBottom);
    other->SetParent(form);
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40, other);
    UseIni(dock);
    WriteFile(ini, "[Dock]\nToolBarCount=2\nRowCount=1\nName1=A\nA.Row=0\nName2=b\nB.Row=0\nB.Left=100\n");
    dock->LoadDockLayout();
    EXPECT_EQ(b->Parent(), dock);
    EXPECT_EQ(b->DockPanel(), static_cast<TToolBarDockSite*>(dock));
    EXPECT_EQ(dock->ToolBarCount(), 2) << "registered with the panel it now sits on";
    EXPECT_EQ(other->ToolBarCount(), 0);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(dock->RowCount(), 1);
    EXPECT_EQ(Rows(dock), "row 0: 1,1,399,28: A B\n");
    (void)a;

    // Once registered, it leaves the panel's rows when freed like any other.
    TObject::Free(b);
    EXPECT_EQ(Rows(dock), "row 0: 1,1,399,28: A\n");
}

TEST_F(LayoutPersistenceTest, AbsurdSavedSizesAreIgnored) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    const int width = a->Width();
    const int height = a->Height();
    UseIni(dock);
    WriteFile(ini, "[Dock]\nToolBarCount=2\nRowCount=99999999\nName1=A\nA.Row=0\nA.Width=-5\nA.Height=0\n"
                   "Name2=B\nB.Row=1\nB.Width=40000\nB.Height=junk\n");
    dock->LoadDockLayout();
    EXPECT_EQ(a->Width(), width);
    EXPECT_EQ(a->Height(), height);
    EXPECT_EQ(b->Width(), width);
    EXPECT_EQ(b->Height(), height);
    EXPECT_EQ(dock->RowCount(), 2) << "rows beyond the saved toolbars are not kept";
}

TEST_F(LayoutPersistenceTest, ToolBarsTheLayoutDoesNotMentionGetRowsOfTheirOwn) {
    MakeToolBar("A", 40);
    MakeToolBar("B", 40);
    MakeToolBar("C", 40);
    UseIni(dock);
    WriteFile(ini, "[Dock]\nToolBarCount=2\nRowCount=1\nName1=C\nC.Row=0\nName2=Gone\nGone.Row=0\n");
    dock->LoadDockLayout();
    EXPECT_EQ(Rows(dock), "row 0: 1,1,399,28: C\nrow 1: 1,28,399,55: A\nrow 2: 1,55,399,82: B\n");
}

TEST_F(LayoutPersistenceTest, SavedLayoutIsCheckedAgainstTheToolBarsAndPlacedInOnePass) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    TAdvToolBar* c = MakeToolBar("C", 40);
    UseIni(dock);
    // An unknown name, a row past the saved rows, a row that stays empty, and a
    // hidden toolbar saved far beyond the panel's end.
    WriteFile(ini, "[Dock]\nToolBarCount=5\nRowCount=3\nName1=Gone\nGone.Row=0\nName2=B\nB.Row=2\nB.Left=20\n"
                   "Name3=A\nA.Row=2\nA.Left=120\nName4=C\nC.Row=9\nName5=Z\n");
    const std::uint64_t before = dock->LayoutPasses();
    dock->LoadDockLayout();
    EXPECT_LE(dock->LayoutPasses() - before, 1u);
    EXPECT_EQ(Rows(dock), "row 0: 1,1,399,28: B A\nrow 1: 1,28,399,55: C\n")
        << "empty rows go, rows renumbered";
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(a->RowIndex(), 0);
    EXPECT_EQ(c->RowIndex(), 1);
    EXPECT_EQ(a->Left(), 120);

    WriteFile(ini, "[Dock]\nToolBarCount=3\nRowCount=1\nName1=A\nA.Row=0\nName2=B\nB.Row=0\nB.Left=30\n"
                   "Name3=C\nC.Row=0\nC.Left=30000\nC.Visible=0\n");
    dock->LoadDockLayout();
    EXPECT_FALSE(c->Visible());
    EXPECT_LE(c->Left() + c->Width(), dock->Width()) << "a saved place beyond the panel is brought inside it";
    EXPECT_GE(c->Left(), 0);
}

// A toolbar made full-size since its layout was saved was put back into the row
// it had shared, and its neighbour was left lying across it.
TEST_F(LayoutPersistenceTest, FullSizeToolBarSavedSharingARowGetsARowOfItsOwn) {
    TAdvToolBar* a = MakeToolBar("A", 40);
    TAdvToolBar* b = MakeToolBar("B", 40);
    UseIni(dock);
    WriteFile(ini, "[Dock]\nToolBarCount=2\nRowCount=1\nName1=A\nA.Row=0\nName2=B\nB.Row=0\nB.Left=100\n");
    b->SetFullSize(true);
    dock->LoadDockLayout();
    EXPECT_EQ(Rows(dock), "row 0: 1,1,399,28: A\nrow 1: 1,28,399,55: B\n");
    EXPECT_EQ(b->Width(), 398 - 4);
    EXPECT_EQ(dock->CheckInvariants(), "");
    (void)a;
}

// Window creation once failed on a saved layout it could not read, and the
// program could not start until the user deleted the file by hand.
TEST_F(LayoutPersistenceTest, UnreadableSavedLayoutIsKeptAsideAndTheWindowComesUpAsStored) {
    const std::string junk = std::string("PNG\0\x01\xFF binary", 14);
    struct Case {
        std::string RegistryKey; // empty: the INI file
        std::string File;
    };
    std::vector<Case> cases = {{"", ini}};
#ifndef _WIN32
    // On Windows the registry is the system's own, with no file to damage.
    cases.push_back({"Software\\Emr", dir + "/user-registry.reg"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        WriteFile(c.File, junk);
        std::vector<std::string> reported;
        app->OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
        ::testing::internal::CaptureStderr();
        TComponent* created = nullptr;
        EXPECT_NO_THROW(created = CreateStoredForm(c.RegistryKey));
        const std::string said = ::testing::internal::GetCapturedStderr();
        ASSERT_NE(created, nullptr);
        auto* window = static_cast<TForm*>(created);
        auto* panel = window->FindComponentAs<TAdvDockPanel>("Dock");
        EXPECT_EQ(Rows(panel), kStoredRows);

        // Kept aside byte for byte, under the name a save would have given it, and told once.
        const std::string name = std::filesystem::path(c.File).filename().string();
        const std::vector<std::string> kept = FilesStartingWith(name + ".unreadable-");
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(ReadFile(dir + "/" + kept[0]), junk);
        EXPECT_FALSE(std::filesystem::exists(c.File));
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_NE(reported[0].find("kept as " + dir + "/" + kept[0]), std::string::npos) << reported[0];
        EXPECT_NE(said.find("toolbar layout not loaded: "), std::string::npos) << said;

        // The next save writes a fresh file and leaves the one kept aside alone.
        window->FindComponentAs<TAdvToolBar>("Bar2")->SetVisible(false);
        TObject::Free(window);
        const std::string fresh = ReadFile(c.File);
        EXPECT_NE(fresh.find("ToolBarCount"), std::string::npos) << fresh;
        EXPECT_EQ(fresh.find("PNG"), std::string::npos) << fresh;
        EXPECT_EQ(FilesStartingWith(name + ".unreadable-"), kept);
        EXPECT_EQ(ReadFile(dir + "/" + kept[0]), junk);
        EXPECT_EQ(reported.size(), 1u) << "the save had nothing to tell";

        auto* again = static_cast<TForm*>(CreateStoredForm(c.RegistryKey));
        EXPECT_FALSE(again->FindComponentAs<TAdvToolBar>("Bar2")->Visible()) << "the fresh file loads";
        again->FindComponentAs<TAdvDockPanel>("Dock")->Persistence()->SetEnabled(false);
        TObject::Free(again);
        app->OnException = nullptr;
        std::filesystem::remove(dir + "/" + kept[0]);
    }
}

// A configuration folder that could not be written was told at every load and
// every save of every window: the same line over and over on standard error.
TEST_F(LayoutPersistenceTest, AFolderThatCannotHoldTheLayoutIsToldOnceHoweverOftenWindowsLoadAndSave) {
    WriteFile(dir + "/config", "a file where the folder should be");
    ini = dir + "/config/layout.ini";
    std::vector<std::string> reported;
    app->OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
    ::testing::internal::CaptureStderr();
    for (int window = 0; window < 3; ++window) {
        TComponent* created = nullptr;
        EXPECT_NO_THROW(created = CreateStoredForm());
        ASSERT_NE(created, nullptr);
        TObject::Free(created);
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    app->OnException = nullptr;

    const auto lines = [&](const std::string& start) {
        std::istringstream in(said);
        int n = 0;
        for (std::string line; std::getline(in, line);)
            n += line.starts_with(start) ? 1 : 0;
        return n;
    };
#ifdef _WIN32
    // Windows reads a file below a file as no file at all: only the saves fail.
    const int loadProblems = 0;
#else
    const int loadProblems = 1;
#endif
    EXPECT_EQ(lines("toolbar layout not loaded: "), loadProblems) << said;
    EXPECT_EQ(lines("toolbar layout not saved: "), 1) << said;
    EXPECT_EQ(reported.size(), static_cast<std::size_t>(loadProblems + 1));
    EXPECT_NE(said.find(dir + "/config"), std::string::npos) << "names the folder: " << said;
}

TEST_F(LayoutPersistenceTest, SavedLayoutThatCannotBeReadAtAllIsPassedOverAndTold) {
    // A folder where the file should be: opening it for reading fails on either system.
    std::filesystem::create_directory(ini);
    std::vector<std::string> reported;
    app->OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
    ::testing::internal::CaptureStderr();
    TComponent* created = nullptr;
    EXPECT_NO_THROW(created = CreateStoredForm());
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(created, nullptr);
    auto* window = static_cast<TForm*>(created);
    EXPECT_EQ(Rows(window->FindComponentAs<TAdvDockPanel>("Dock")), kStoredRows);
    EXPECT_EQ(reported.size(), 1u) << "the panel and its toolbars share one reading, told once";
    EXPECT_NE(said.find("toolbar layout not loaded: "), std::string::npos) << said;
    EXPECT_TRUE(std::filesystem::is_directory(ini)) << "what cannot be read is not moved";
    window->FindComponentAs<TAdvDockPanel>("Dock")->Persistence()->SetEnabled(false);
    TObject::Free(window);
    app->OnException = nullptr;
}

// A toolbar whose OnUnDocked handler frees it, as the panel's load floats it, was
// read from and written to afterwards; the toolbars loaded after it still load.
TEST_F(LayoutPersistenceTest, ToolBarFreedByItsOwnUnDockedHandlerDuringLoadIsLeftAlone) {
    TAdvToolBar* a = MakeButtonBar("A", 4);
    TAdvToolBar* b = MakeButtonBar("B", 4);
    UseIni(dock);
    for (TAdvToolBar* t : {a, b}) {
        ASSERT_NE(TFloatingWindow::FloatToolBar(t, 200, 150, true), nullptr);
        t->SetFloatingRows(2);
        ASSERT_EQ(t->FloatingRows(), 2);
        t->SaveToolBarLayout();
        t->SetParent(dock);
        ASSERT_TRUE(t->Docked());
    }
    a->OnUnDocked = [](TObject* sender) { TObject::Free(sender); };

    dock->LoadDockLayout();

    EXPECT_EQ(form->FindComponent("A"), nullptr);
    EXPECT_TRUE(b->Floating());
    EXPECT_GE(b->FloatingRows(), 2);
    EXPECT_EQ(Rows(dock), "");
}

} // namespace
} // namespace emr

#ifdef _WIN32
// Last, so that the system's macros rename nothing above.
#include <windows.h>

namespace emr {
namespace {

std::wstring Wide(const std::string& text) {
    std::wstring out(text.size() * 2 + 1, L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
    return out;
}

std::string RawRegistryValue(const std::string& subKey, const std::string& name) {
    BYTE data[512] = {};
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    if (RegGetValueW(HKEY_CURRENT_USER, Wide(subKey).c_str(), Wide(name).c_str(), RRF_RT_ANY, &type, data,
                     &size) != ERROR_SUCCESS)
        return {};
    if (type == REG_DWORD) {
        DWORD n = 0;
        std::memcpy(&n, data, sizeof n);
        return "d:" + std::to_string(n);
    }
    if (type != REG_SZ) return {};
    char text[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(data), -1, text, sizeof text, nullptr,
                        nullptr);
    return "s:" + std::string(text);
}

void DeleteRegistryKey(const std::string& subKey) {
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(subKey).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, Wide(subKey).c_str());
}

} // namespace
} // namespace emr
#endif
