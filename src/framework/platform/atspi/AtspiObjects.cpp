#include "framework/platform/atspi/AtspiObjects.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "framework/platform/atspi/AtspiMapping.h"

namespace emr::platform::atspi {

namespace {

constexpr std::string_view kNodePathPrefix = "/org/a11y/atspi/accessible/";
constexpr const char* kNullPath = "/org/a11y/atspi/null";
constexpr const char* kCachePath = "/org/a11y/atspi/cache";
/// One entry of the cache: object, application, parent, index, child count,
/// interfaces, name, role, description, states.
constexpr const char* kCacheItemSignature = "((so)(so)(so)iiassusau)";

constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
constexpr const char* kComponent = "org.a11y.atspi.Component";
constexpr const char* kAction = "org.a11y.atspi.Action";
constexpr const char* kApplication = "org.a11y.atspi.Application";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kIntrospectable = "org.freedesktop.DBus.Introspectable";

constexpr const char* kUnknownObject = "org.freedesktop.DBus.Error.UnknownObject";
constexpr const char* kUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";
constexpr const char* kUnknownProperty = "org.freedesktop.DBus.Error.UnknownProperty";
constexpr const char* kInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";

/// The protocol version this bridge speaks, and what it says the toolkit is.
constexpr const char* kAtspiVersion = "2.1";
constexpr const char* kToolkitName = "emr";
constexpr const char* kToolkitVersion = "5.0";

// Coordinate systems of the Component interface.
constexpr std::uint32_t kCoordScreen = 0;
constexpr std::uint32_t kCoordWindow = 1;
constexpr std::uint32_t kCoordParent = 2;

// Layers of the Component interface.
constexpr std::uint32_t kLayerWidget = 3;
constexpr std::uint32_t kLayerWindow = 7;

bool IsTopLevel(const TAccessibleNode& node) {
    return node.Parent == 0;
}

std::string ActionAt(const TAccessibleNode& node, std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(node.Actions.size())) return {};
    return node.Actions[static_cast<std::size_t>(index)];
}

} // namespace

TAtspiObjects::TAtspiObjects(const TDBusLibrary& dbus, AccessibleSource& source, std::string applicationName)
    : dbus_(dbus), source_(source), applicationName_(std::move(applicationName)) {}

TObjectRef TAtspiObjects::RefOf(AccessibleId id) const {
    if (id == 0) return RootRef();
    return {busName_, std::string(kNodePathPrefix) + std::to_string(id)};
}

TAccessibleNode TAtspiObjects::ApplicationNode() {
    TAccessibleNode node;
    node.Name = applicationName_;
    for (WindowId window : source_.TopLevelWindows())
        if (AccessibleId root = source_.WindowRoot(window)) node.Children.push_back(root);
    return node;
}

std::optional<TAtspiObjects::TTarget> TAtspiObjects::Resolve(const char* path) {
    if (!path) return std::nullopt;
    const std::string_view p(path);
    if (p == kRootPath) return TTarget{0, ApplicationNode()};
    if (!p.starts_with(kNodePathPrefix)) return std::nullopt;
    const std::string_view digits = p.substr(kNodePathPrefix.size());
    AccessibleId id = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    if (error != std::errc() || end != digits.data() + digits.size() || id == 0) return std::nullopt;
    std::optional<TAccessibleNode> node = source_.Describe(id);
    if (!node) return std::nullopt;
    return TTarget{id, std::move(*node)};
}

TObjectRef TAtspiObjects::ParentRef(const TTarget& target) const {
    if (target.IsRoot()) return desktop_.Path.empty() ? TObjectRef{busName_, kNullPath} : desktop_;
    return RefOf(target.Node.Parent);
}

DBusMessage* TAtspiObjects::Error(DBusMessage* call, const char* name, const std::string& text) {
    return dbus_.dbus_message_new_error(call, name, text.c_str());
}

DBusMessage* TAtspiObjects::Answer(DBusMessage* call) {
    const char* path = dbus_.dbus_message_get_path(call);
    if (path && std::string_view(path) == kCachePath) return AnswerCache(call);
    const std::optional<TTarget> target = Resolve(dbus_.dbus_message_get_path(call));
    if (!target) return Error(call, kUnknownObject, "no such accessible object");
    const char* interfaceName = dbus_.dbus_message_get_interface(call);
    const char* memberName = dbus_.dbus_message_get_member(call);
    const std::string interface = interfaceName ? interfaceName : "";
    const std::string member = memberName ? memberName : "";
    DBusMessage* reply = nullptr;
    if (interface == kAccessible)
        reply = AnswerAccessible(call, *target, member);
    else if (interface == kComponent && !target->IsRoot())
        reply = AnswerComponent(call, *target, member);
    else if (interface == kAction && !target->IsRoot())
        reply = AnswerAction(call, *target, member);
    else if (interface == kApplication && target->IsRoot())
        reply = AnswerApplication(call, member);
    else if (interface == kProperties)
        reply = AnswerProperties(call, *target, member);
    else if (interface == kIntrospectable && member == "Introspect")
        reply = Introspect(call, *target);
    return reply ? reply : Error(call, kUnknownMethod, interface + "." + member + " is not answered here");
}

DBusMessage* TAtspiObjects::AnswerCache(DBusMessage* call) {
    // Clients ask for a copy of the whole tree first; an empty one sends them to
    // the objects themselves, which describe the tree as it is at each question.
    const char* member = dbus_.dbus_message_get_member(call);
    if (!member || std::string_view(member) != "GetItems")
        return Error(call, kUnknownMethod, "only GetItems");
    DBusMessage* reply = dbus_.dbus_message_new_method_return(call);
    TDBusWriter(dbus_, reply).Container(DBUS_TYPE_ARRAY, kCacheItemSignature, [](TDBusWriter&) {});
    return reply;
}

DBusMessage* TAtspiObjects::AnswerAccessible(DBusMessage* call, const TTarget& target,
                                             const std::string& member) {
    const TAccessibleNode& node = target.Node;
    const TAtspiRole role = target.IsRoot() ? AtspiApplicationRole() : AtspiRole(node.Role);
    DBusMessage* reply = dbus_.dbus_message_new_method_return(call);
    TDBusWriter w(dbus_, reply);
    if (member == "GetChildAtIndex") {
        const std::int32_t index = TDBusReader(dbus_, call).Int32();
        const bool inRange = index >= 0 && index < static_cast<std::int32_t>(node.Children.size());
        w.Ref(inRange ? RefOf(node.Children[static_cast<std::size_t>(index)])
                      : TObjectRef{busName_, kNullPath});
    } else if (member == "GetChildren") {
        w.Container(DBUS_TYPE_ARRAY, "(so)", [&](TDBusWriter& a) {
            for (AccessibleId child : node.Children)
                a.Ref(RefOf(child));
        });
    } else if (member == "GetIndexInParent") {
        std::int32_t index = -1;
        if (!target.IsRoot()) {
            const std::vector<AccessibleId> siblings =
                IsTopLevel(node) ? ApplicationNode().Children
                                 : source_.Describe(node.Parent).value_or(TAccessibleNode{}).Children;
            const auto found = std::find(siblings.begin(), siblings.end(), target.Id);
            if (found != siblings.end()) index = static_cast<std::int32_t>(found - siblings.begin());
        }
        w.Int32(index);
    } else if (member == "GetRelationSet") {
        w.Container(DBUS_TYPE_ARRAY, "(ua(so))", [](TDBusWriter&) {});
    } else if (member == "GetRole") {
        w.UInt32(role.Number);
    } else if (member == "GetRoleName" || member == "GetLocalizedRoleName") {
        w.String(std::string(role.Name));
    } else if (member == "GetState") {
        const auto words = AtspiStateSet(node);
        w.Container(DBUS_TYPE_ARRAY, "u", [&](TDBusWriter& a) {
            for (std::uint32_t word : words)
                a.UInt32(word);
        });
    } else if (member == "GetAttributes") {
        w.Container(DBUS_TYPE_ARRAY, "{ss}", [&](TDBusWriter& a) {
            if (node.KeyShortcut.empty()) return;
            a.Container(DBUS_TYPE_DICT_ENTRY, nullptr, [&](TDBusWriter& e) {
                e.String("keyshortcuts");
                e.String(node.KeyShortcut);
            });
        });
    } else if (member == "GetApplication") {
        w.Ref(RootRef());
    } else if (member == "GetInterfaces") {
        w.Container(DBUS_TYPE_ARRAY, "s", [&](TDBusWriter& a) {
            a.String(kAccessible);
            if (target.IsRoot()) {
                a.String(kApplication);
                return;
            }
            a.String(kComponent);
            if (!node.Actions.empty()) a.String(kAction);
        });
    } else {
        dbus_.dbus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

TRect TAtspiObjects::ExtentsIn(const TTarget& target, std::uint32_t coordType) {
    TRect r = target.Node.Extents;
    TPoint origin{0, 0};
    if (coordType == kCoordWindow) {
        if (std::optional<TAccessibleNode> window = source_.Describe(source_.WindowRoot(target.Node.Window)))
            origin = {window->Extents.Left, window->Extents.Top};
    } else if (coordType == kCoordParent && target.Node.Parent != 0) {
        if (std::optional<TAccessibleNode> parent = source_.Describe(target.Node.Parent))
            origin = {parent->Extents.Left, parent->Extents.Top};
    }
    return TRect::FromBounds(r.Left - origin.X, r.Top - origin.Y, r.Width(), r.Height());
}

bool TAtspiObjects::Within(AccessibleId id, AccessibleId ancestor) {
    for (AccessibleId up = id; up != 0; up = source_.Describe(up).value_or(TAccessibleNode{}).Parent)
        if (up == ancestor) return true;
    return false;
}

TPoint TAtspiObjects::ToScreen(const TTarget& target, TPoint p, std::uint32_t coordType) {
    const TRect in = ExtentsIn(target, coordType);
    return {p.X - in.Left + target.Node.Extents.Left, p.Y - in.Top + target.Node.Extents.Top};
}

DBusMessage* TAtspiObjects::AnswerComponent(DBusMessage* call, const TTarget& target,
                                            const std::string& member) {
    DBusMessage* reply = dbus_.dbus_message_new_method_return(call);
    TDBusWriter w(dbus_, reply);
    TDBusReader r(dbus_, call);
    if (member == "GetExtents") {
        const TRect e = ExtentsIn(target, r.UInt32());
        w.Container(DBUS_TYPE_STRUCT, nullptr, [&](TDBusWriter& s) {
            s.Int32(e.Left);
            s.Int32(e.Top);
            s.Int32(e.Width());
            s.Int32(e.Height());
        });
    } else if (member == "GetPosition") {
        const TRect e = ExtentsIn(target, r.UInt32());
        w.Int32(e.Left);
        w.Int32(e.Top);
    } else if (member == "GetSize") {
        w.Int32(target.Node.Extents.Width());
        w.Int32(target.Node.Extents.Height());
    } else if (member == "Contains" || member == "GetAccessibleAtPoint") {
        const std::int32_t x = r.Int32();
        const std::int32_t y = r.Int32();
        const TPoint screen = ToScreen(target, {x, y}, r.UInt32());
        const bool inside = target.Node.Extents.Contains(screen);
        if (member == "Contains") {
            w.Boolean(inside);
        } else {
            // Only this node or one inside it answers for the point.
            const AccessibleId found = inside ? source_.At(screen) : 0;
            const bool within = found != 0 && Within(found, target.Id);
            w.Ref(within ? RefOf(found) : TObjectRef{busName_, kNullPath});
        }
    } else if (member == "GetLayer") {
        w.UInt32(IsTopLevel(target.Node) ? kLayerWindow : kLayerWidget);
    } else if (member == "GetMDIZOrder") {
        w.Int16(-1);
    } else if (member == "GrabFocus") {
        w.Boolean(false);
    } else if (member == "GetAlpha") {
        w.Double(1.0);
    } else {
        dbus_.dbus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

DBusMessage* TAtspiObjects::AnswerAction(DBusMessage* call, const TTarget& target,
                                         const std::string& member) {
    const TAccessibleNode& node = target.Node;
    DBusMessage* reply = dbus_.dbus_message_new_method_return(call);
    TDBusWriter w(dbus_, reply);
    if (member == "GetName" || member == "GetLocalizedName" || member == "GetDescription") {
        w.String(ActionAt(node, TDBusReader(dbus_, call).Int32()));
    } else if (member == "GetKeyBinding") {
        // The node's shortcut reaches its first action.
        w.String(TDBusReader(dbus_, call).Int32() == 0 ? node.KeyShortcut : std::string());
    } else if (member == "GetActions") {
        w.Container(DBUS_TYPE_ARRAY, "(sss)", [&](TDBusWriter& a) {
            for (std::size_t i = 0; i < node.Actions.size(); ++i)
                a.Container(DBUS_TYPE_STRUCT, nullptr, [&](TDBusWriter& s) {
                    s.String(node.Actions[i]);
                    s.String(node.Actions[i]);
                    s.String(i == 0 ? node.KeyShortcut : std::string());
                });
        });
    } else if (member == "DoAction") {
        w.Boolean(source_.DoAction(target.Id, TDBusReader(dbus_, call).Int32()));
    } else {
        dbus_.dbus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

DBusMessage* TAtspiObjects::AnswerApplication(DBusMessage* call, const std::string& member) {
    if (member != "GetLocale") return nullptr;
    DBusMessage* reply = dbus_.dbus_message_new_method_return(call);
    TDBusWriter(dbus_, reply).String("");
    return reply;
}

bool TAtspiObjects::WriteProperty(TDBusWriter& w, const TTarget& target, const std::string& interface,
                                  const std::string& name) {
    const TAccessibleNode& node = target.Node;
    auto variant = [&](const char* signature, auto&& fill) {
        w.Container(DBUS_TYPE_VARIANT, signature, fill);
        return true;
    };
    if (interface == kAccessible) {
        if (name == "Name") return variant("s", [&](TDBusWriter& v) { v.String(node.Name); });
        if (name == "Description") return variant("s", [&](TDBusWriter& v) { v.String(node.Description); });
        if (name == "HelpText") return variant("s", [&](TDBusWriter& v) { v.String(""); });
        if (name == "Locale") return variant("s", [&](TDBusWriter& v) { v.String(""); });
        if (name == "AccessibleId")
            return variant(
                "s", [&](TDBusWriter& v) { v.String(target.IsRoot() ? "" : std::to_string(target.Id)); });
        if (name == "Parent") return variant("(so)", [&](TDBusWriter& v) { v.Ref(ParentRef(target)); });
        if (name == "ChildCount")
            return variant("i",
                           [&](TDBusWriter& v) { v.Int32(static_cast<std::int32_t>(node.Children.size())); });
    } else if (interface == kAction && !target.IsRoot()) {
        if (name == "NActions")
            return variant("i",
                           [&](TDBusWriter& v) { v.Int32(static_cast<std::int32_t>(node.Actions.size())); });
    } else if (interface == kApplication && target.IsRoot()) {
        if (name == "ToolkitName") return variant("s", [&](TDBusWriter& v) { v.String(kToolkitName); });
        if (name == "Version") return variant("s", [&](TDBusWriter& v) { v.String(kToolkitVersion); });
        if (name == "AtspiVersion") return variant("s", [&](TDBusWriter& v) { v.String(kAtspiVersion); });
        if (name == "Id") return variant("i", [&](TDBusWriter& v) { v.Int32(applicationId_); });
    }
    return false;
}

void TAtspiObjects::WriteAllProperties(TDBusWriter& w, const TTarget& target, const std::string& interface) {
    static const char* const accessible[] = {"Name",       "Description", "Parent",
                                             "ChildCount", "Locale",      "AccessibleId"};
    static const char* const action[] = {"NActions"};
    static const char* const application[] = {"ToolkitName", "Version", "AtspiVersion", "Id"};
    std::vector<const char*> names;
    if (interface == kAccessible) names.assign(std::begin(accessible), std::end(accessible));
    if (interface == kAction) names.assign(std::begin(action), std::end(action));
    if (interface == kApplication) names.assign(std::begin(application), std::end(application));
    w.Container(DBUS_TYPE_ARRAY, "{sv}", [&](TDBusWriter& a) {
        for (const char* name : names)
            a.Container(DBUS_TYPE_DICT_ENTRY, nullptr, [&](TDBusWriter& e) {
                e.String(name);
                if (!WriteProperty(e, target, interface, name))
                    e.Container(DBUS_TYPE_VARIANT, "s", [](TDBusWriter& v) { v.String(""); });
            });
    });
}

DBusMessage* TAtspiObjects::AnswerProperties(DBusMessage* call, const TTarget& target,
                                             const std::string& member) {
    TDBusReader r(dbus_, call);
    const std::string interface = r.String();
    if (member == "Get") {
        const std::string name = r.String();
        DBusMessage* reply = dbus_.dbus_message_new_method_return(call);
        TDBusWriter w(dbus_, reply);
        if (WriteProperty(w, target, interface, name)) return reply;
        dbus_.dbus_message_unref(reply);
        return Error(call, kUnknownProperty, interface + "." + name);
    }
    if (member == "GetAll") {
        DBusMessage* reply = dbus_.dbus_message_new_method_return(call);
        TDBusWriter w(dbus_, reply);
        WriteAllProperties(w, target, interface);
        return reply;
    }
    if (member == "Set") {
        // The registry numbers the application; nothing else is writable.
        const std::string name = r.String();
        if (interface != kApplication || name != "Id" || !target.IsRoot())
            return Error(call, kInvalidArgs, interface + "." + name + " cannot be set");
        applicationId_ = r.Variant().Int32();
        return dbus_.dbus_message_new_method_return(call);
    }
    return nullptr;
}

DBusMessage* TAtspiObjects::Introspect(DBusMessage* call, const TTarget& target) {
    std::string xml = "<node>";
    auto add = [&xml](const char* interface) {
        xml += std::string("<interface name=\"") + interface + "\"/>";
    };
    add(kAccessible);
    add(kProperties);
    add(kIntrospectable);
    if (target.IsRoot()) {
        add(kApplication);
    } else {
        add(kComponent);
        if (!target.Node.Actions.empty()) add(kAction);
    }
    xml += "</node>";
    DBusMessage* reply = dbus_.dbus_message_new_method_return(call);
    TDBusWriter(dbus_, reply).String(xml);
    return reply;
}

} // namespace emr::platform::atspi
