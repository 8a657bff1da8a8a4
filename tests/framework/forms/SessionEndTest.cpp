// The end of a session closes the main form as the user would, and saves the
// windows' layouts at once: the process may be ended before the forms are destroyed.
#include <gtest/gtest.h>

#include <vector>

#include "FormsHarness.h"
#include "framework/forms/LayoutSaving.h"

namespace emr {
namespace {

/// Counts the layout saves of each root while it lives.
class TSaveRecorder {
public:
    TSaveRecorder() : id_(AddLayoutSaver([this](TComponent& root) { roots.push_back(&root); })) {}
    ~TSaveRecorder() { RemoveLayoutSaver(id_); }
    TSaveRecorder(const TSaveRecorder&) = delete;
    TSaveRecorder& operator=(const TSaveRecorder&) = delete;

    std::vector<TComponent*> roots;

private:
    int id_;
};

platform::TEvent SessionEnd() {
    platform::TEvent e;
    e.Type = platform::TEventType::SessionEnd;
    return e;
}

TEST(SessionEndTest, SessionEndClosesTheMainFormAndSavesLayoutsBeforeTheFormsAreDestroyed) {
    testing::FormsHarness h;
    TForm* main = h.NewForm(10, 10, 200, 100);
    TForm* other = h.NewForm(300, 10, 100, 100);
    h.App().SetMainForm(main);
    main->Show();
    other->Show();
    int closes = 0;
    main->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    TSaveRecorder saves;

    h.App().InjectInput(SessionEnd());
    h.App().ProcessMessages();

    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(h.App().Terminated());
    EXPECT_EQ(saves.roots, (std::vector<TComponent*>{main, other}));
}

} // namespace
} // namespace emr
