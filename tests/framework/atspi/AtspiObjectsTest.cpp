#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/platform/atspi/AtspiObjects.h"

namespace emr::platform::atspi {
namespace {

constexpr WindowId kWindow = 77;

/// A window holding a tool bar with one push button, as a bridge would read it.
class TFakeSource : public AccessibleSource {
public:
    TFakeSource() {
        TAccessibleNode window;
        window.Role = TAccessibleRole::Window;
        window.Name = "电子病历补丁";
        window.States = asEnabled | asVisible | asShowing | asActive;
        window.Extents = TRect::FromBounds(100, 50, 300, 200);
        window.Window = kWindow;
        window.Children = {2};
        nodes_[1] = window;
        TAccessibleNode bar;
        bar.Role = TAccessibleRole::ToolBar;
        bar.Name = "Untitled";
        bar.Extents = TRect::FromBounds(110, 80, 91, 45);
        bar.Window = kWindow;
        bar.Parent = 1;
        bar.Children = {3};
        nodes_[2] = bar;
        TAccessibleNode button;
        button.Role = TAccessibleRole::PushButton;
        button.Name = "退出";
        button.States = asEnabled | asVisible | asShowing | asFocusable | asFocused;
        button.Extents = TRect::FromBounds(153, 83, 32, 39);
        button.Window = kWindow;
        button.Parent = 2;
        button.Actions = {"press"};
        nodes_[3] = button;
    }

    std::vector<WindowId> TopLevelWindows() override { return {kWindow}; }
    AccessibleId WindowRoot(WindowId window) override { return window == kWindow ? 1 : 0; }
    std::optional<TAccessibleNode> Describe(AccessibleId id) override {
        auto found = nodes_.find(id);
        if (found == nodes_.end()) return std::nullopt;
        return found->second;
    }
    AccessibleId At(TPoint screen) override {
        for (AccessibleId id : {3, 2, 1})
            if (nodes_[id].Extents.Contains(screen)) return id;
        return 0;
    }
    AccessibleId Focused() override { return 3; }
    bool DoAction(AccessibleId id, int index) override {
        actions_.emplace_back(id, index);
        return id == 3 && index == 0;
    }

    std::map<AccessibleId, TAccessibleNode> nodes_;
    std::vector<std::pair<AccessibleId, int>> actions_;
};

/// Builds calls as a client would send them and reads the answers.
class AtspiObjectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dbus_ = TDBusLibrary::Get();
        if (!dbus_) GTEST_SKIP() << "libdbus-1.so.3 is not installed (scripts/install-deps installs it)";
        objects_ = std::make_unique<TAtspiObjects>(*dbus_, source_, "emrpatch");
        objects_->SetBusName(":1.7");
        objects_->SetDesktop({":1.0", "/org/a11y/atspi/accessible/root"});
    }

    void TearDown() override {
        for (DBusMessage* m : messages_)
            dbus_->dbus_message_unref(m);
    }

    template <class Fill = void (*)(TDBusWriter&)>
    DBusMessage* Call(
        const std::string& path, const char* interface, const char* member, Fill fill = [](TDBusWriter&) {}) {
        DBusMessage* call = dbus_->dbus_message_new_method_call(":1.7", path.c_str(), interface, member);
        messages_.push_back(call);
        // A reply names the serial of its call, which sending would have given it.
        dbus_->dbus_message_set_serial(call, static_cast<dbus_uint32_t>(messages_.size()));
        TDBusWriter w(*dbus_, call);
        fill(w);
        DBusMessage* reply = objects_->Answer(call);
        messages_.push_back(reply);
        return reply;
    }

    bool IsError(DBusMessage* reply) const {
        return dbus_->dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_ERROR;
    }

    /// The first argument's structure fields or array elements, as raw iterators.
    std::vector<DBusMessageIter> Elements(DBusMessage* reply) {
        DBusMessageIter top;
        DBusMessageIter sub;
        std::vector<DBusMessageIter> items;
        if (!dbus_->dbus_message_iter_init(reply, &top)) return items;
        dbus_->dbus_message_iter_recurse(&top, &sub);
        while (dbus_->dbus_message_iter_get_arg_type(&sub) != DBUS_TYPE_INVALID) {
            items.push_back(sub);
            dbus_->dbus_message_iter_next(&sub);
        }
        return items;
    }

    TObjectRef RefAt(DBusMessageIter item) {
        DBusMessageIter fields;
        dbus_->dbus_message_iter_recurse(&item, &fields);
        const char* bus = nullptr;
        const char* path = nullptr;
        dbus_->dbus_message_iter_get_basic(&fields, &bus);
        dbus_->dbus_message_iter_next(&fields);
        dbus_->dbus_message_iter_get_basic(&fields, &path);
        return {bus, path};
    }

    template <class T> T BasicAt(DBusMessageIter item) {
        T value{};
        dbus_->dbus_message_iter_get_basic(&item, &value);
        return value;
    }

    const TDBusLibrary* dbus_ = nullptr;
    TFakeSource source_;
    std::unique_ptr<TAtspiObjects> objects_;
    std::vector<DBusMessage*> messages_;
};

constexpr const char* kRoot = "/org/a11y/atspi/accessible/root";
constexpr const char* kAccessible = "org.a11y.atspi.Accessible";

TEST_F(AtspiObjectsTest, TheApplicationHoldsTheWindowsAndHangsUnderTheDesktop) {
    DBusMessage* children = Call(kRoot, kAccessible, "GetChildren");
    ASSERT_FALSE(IsError(children));
    const std::vector<DBusMessageIter> refs = Elements(children);
    ASSERT_EQ(refs.size(), 1u);
    EXPECT_EQ(RefAt(refs[0]).Bus, ":1.7");
    EXPECT_EQ(RefAt(refs[0]).Path, "/org/a11y/atspi/accessible/1");

    EXPECT_EQ(TDBusReader(*dbus_, Call(kRoot, kAccessible, "GetRole")).UInt32(), 75u) << "application";
    DBusMessage* name = Call(kRoot, "org.freedesktop.DBus.Properties", "Get", [](TDBusWriter& w) {
        w.String("org.a11y.atspi.Accessible");
        w.String("Name");
    });
    EXPECT_EQ(TDBusReader(*dbus_, name).Variant().String(), "emrpatch");
    DBusMessage* parent = Call(kRoot, "org.freedesktop.DBus.Properties", "Get", [](TDBusWriter& w) {
        w.String("org.a11y.atspi.Accessible");
        w.String("Parent");
    });
    DBusMessageIter top;
    DBusMessageIter variant;
    ASSERT_TRUE(dbus_->dbus_message_iter_init(parent, &top));
    dbus_->dbus_message_iter_recurse(&top, &variant);
    EXPECT_EQ(RefAt(variant).Bus, ":1.0");

    // The window's parent is the application.
    DBusMessage* windowParent =
        Call("/org/a11y/atspi/accessible/1", "org.freedesktop.DBus.Properties", "Get", [](TDBusWriter& w) {
            w.String("org.a11y.atspi.Accessible");
            w.String("Parent");
        });
    ASSERT_TRUE(dbus_->dbus_message_iter_init(windowParent, &top));
    dbus_->dbus_message_iter_recurse(&top, &variant);
    EXPECT_EQ(RefAt(variant).Path, kRoot);
}

TEST_F(AtspiObjectsTest, AButtonAnswersItsRoleStatesExtentsAndAction) {
    const std::string button = "/org/a11y/atspi/accessible/3";
    EXPECT_EQ(TDBusReader(*dbus_, Call(button, kAccessible, "GetRole")).UInt32(), 43u) << "push button";
    EXPECT_EQ(TDBusReader(*dbus_, Call(button, kAccessible, "GetRoleName")).String(), "push button");
    EXPECT_EQ(TDBusReader(*dbus_, Call(button, kAccessible, "GetIndexInParent")).Int32(), 0);

    const std::vector<DBusMessageIter> words = Elements(Call(button, kAccessible, "GetState"));
    ASSERT_EQ(words.size(), 2u);
    const std::uint32_t low = BasicAt<dbus_uint32_t>(words[0]);
    const std::uint32_t high = BasicAt<dbus_uint32_t>(words[1]);
    for (std::uint32_t state :
         {8u, 11u, 12u, 24u, 25u, 30u}) // enabled focusable focused sensitive showing visible
        EXPECT_TRUE(low & (1u << state)) << "state " << state;
    EXPECT_FALSE(low & (1u << 4)) << "not checked";
    EXPECT_EQ(high, 0u);

    // Screen, window and parent coordinates.
    const std::pair<std::uint32_t, TRect> expected[] = {
        {0, TRect::FromBounds(153, 83, 32, 39)},
        {1, TRect::FromBounds(53, 33, 32, 39)},
        {2, TRect::FromBounds(43, 3, 32, 39)},
    };
    for (const auto& [coordType, rect] : expected) {
        SCOPED_TRACE(coordType);
        DBusMessage* reply = Call(button, "org.a11y.atspi.Component", "GetExtents",
                                  [coordType](TDBusWriter& w) { w.UInt32(coordType); });
        const std::vector<DBusMessageIter> fields = Elements(reply);
        ASSERT_EQ(fields.size(), 4u);
        EXPECT_EQ(BasicAt<dbus_int32_t>(fields[0]), rect.Left);
        EXPECT_EQ(BasicAt<dbus_int32_t>(fields[1]), rect.Top);
        EXPECT_EQ(BasicAt<dbus_int32_t>(fields[2]), rect.Width());
        EXPECT_EQ(BasicAt<dbus_int32_t>(fields[3]), rect.Height());
    }
    // A point of the button, asked of the tool bar, finds the button; one outside the bar finds nothing.
    DBusMessage* hit = Call("/org/a11y/atspi/accessible/2", "org.a11y.atspi.Component",
                            "GetAccessibleAtPoint", [](TDBusWriter& w) {
                                w.Int32(160);
                                w.Int32(90);
                                w.UInt32(0);
                            });
    DBusMessageIter top;
    ASSERT_TRUE(dbus_->dbus_message_iter_init(hit, &top));
    EXPECT_EQ(RefAt(top).Path, button);
    DBusMessage* miss = Call("/org/a11y/atspi/accessible/2", "org.a11y.atspi.Component",
                             "GetAccessibleAtPoint", [](TDBusWriter& w) {
                                 w.Int32(105);
                                 w.Int32(55);
                                 w.UInt32(0);
                             });
    ASSERT_TRUE(dbus_->dbus_message_iter_init(miss, &top));
    EXPECT_EQ(RefAt(top).Path, "/org/a11y/atspi/null");

    EXPECT_EQ(TDBusReader(*dbus_, Call(button, "org.a11y.atspi.Action", "GetName",
                                       [](TDBusWriter& w) { w.Int32(0); }))
                  .String(),
              "press");
    EXPECT_TRUE(TDBusReader(*dbus_, Call(button, "org.a11y.atspi.Action", "DoAction", [](TDBusWriter& w) {
                    w.Int32(0);
                })).Boolean());
    EXPECT_EQ(source_.actions_, (std::vector<std::pair<AccessibleId, int>>{{3, 0}}));
}

TEST_F(AtspiObjectsTest, UnknownObjectsAndMethodsAreAnsweredWithErrors) {
    // An unanswered call would leave the client waiting for its time-out.
    EXPECT_TRUE(IsError(Call("/org/a11y/atspi/accessible/99", kAccessible, "GetRole")));
    EXPECT_TRUE(IsError(Call("/org/a11y/atspi/accessible/3x", kAccessible, "GetRole")));
    EXPECT_TRUE(IsError(Call("/org/a11y/atspi/cache", "org.a11y.atspi.Cache", "NoSuchMethod")));
    // The cache a client asks for first is empty, not an error it would warn about.
    DBusMessage* cache = Call("/org/a11y/atspi/cache", "org.a11y.atspi.Cache", "GetItems");
    ASSERT_FALSE(IsError(cache));
    EXPECT_TRUE(Elements(cache).empty());
    EXPECT_TRUE(IsError(Call("/org/a11y/atspi/accessible/3", kAccessible, "NoSuchMethod")));
    EXPECT_TRUE(
        IsError(Call(kRoot, "org.a11y.atspi.Action", "DoAction", [](TDBusWriter& w) { w.Int32(0); })));
    source_.nodes_.erase(3);
    EXPECT_TRUE(IsError(Call("/org/a11y/atspi/accessible/3", kAccessible, "GetRole")))
        << "a node that is gone";
}

} // namespace
} // namespace emr::platform::atspi
