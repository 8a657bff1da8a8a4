#include "framework/platform/atspi/AtspiBridge.h"

#include <algorithm>

#include "framework/platform/atspi/AtspiMapping.h"

namespace emr::platform::atspi {

namespace {

constexpr const char* kRegistryName = "org.a11y.atspi.Registry";
constexpr const char* kSocket = "org.a11y.atspi.Socket";
constexpr const char* kEventObject = "org.a11y.atspi.Event.Object";
constexpr const char* kEventWindow = "org.a11y.atspi.Event.Window";
constexpr const char* kEventFocus = "org.a11y.atspi.Event.Focus";
constexpr const char* kLocalInterface = "org.freedesktop.DBus.Local";

/// How long registering may hold up the loop before the bridge gives up.
constexpr int kEmbedTimeoutMs = 3000;

/// Closes a connection that never became a bridge.
void Drop(const TDBusLibrary& dbus, DBusConnection* connection) {
    dbus.dbus_connection_close(connection);
    dbus.dbus_connection_unref(connection);
}

} // namespace

std::unique_ptr<TAtspiBridge> TAtspiBridge::Connect(const std::string& address, AccessibleSource& source,
                                                    const std::string& applicationName) {
    const TDBusLibrary* dbus = TDBusLibrary::Get();
    if (!dbus || address.empty()) return nullptr;
    DBusError error;
    dbus->dbus_error_init(&error);
    DBusConnection* connection = dbus->dbus_connection_open_private(address.c_str(), &error);
    if (!connection) {
        dbus->dbus_error_free(&error);
        return nullptr;
    }
    if (!dbus->dbus_bus_register(connection, &error)) {
        dbus->dbus_error_free(&error);
        Drop(*dbus, connection);
        return nullptr;
    }
    // A bus that goes away ends assistive technology's view, not the program.
    dbus->dbus_connection_set_exit_on_disconnect(connection, FALSE);
    std::unique_ptr<TAtspiBridge> bridge(new TAtspiBridge(*dbus, connection, source, applicationName));
    if (!bridge->Embed()) return nullptr;
    // Windows already shown are the application's children from the start.
    for (WindowId window : source.TopLevelWindows())
        if (AccessibleId root = source.WindowRoot(window)) bridge->toldWindows_.push_back(root);
    return bridge;
}

TAtspiBridge::TAtspiBridge(const TDBusLibrary& dbus, DBusConnection* connection, AccessibleSource& source,
                           const std::string& applicationName)
    : dbus_(dbus), connection_(connection), source_(source), objects_(dbus, source, applicationName) {
    const char* unique = dbus_.dbus_bus_get_unique_name(connection_);
    objects_.SetBusName(unique ? unique : "");
    int fd = -1;
    if (dbus_.dbus_connection_get_unix_fd(connection_, &fd)) fd_ = fd;
}

TAtspiBridge::~TAtspiBridge() {
    if (fd_ >= 0) Unembed();
    Drop(dbus_, connection_);
}

bool TAtspiBridge::Embed() {
    DBusMessage* call =
        dbus_.dbus_message_new_method_call(kRegistryName, TAtspiObjects::kRootPath, kSocket, "Embed");
    TDBusWriter(dbus_, call).Ref(objects_.RootRef());
    DBusError error;
    dbus_.dbus_error_init(&error);
    DBusMessage* reply =
        dbus_.dbus_connection_send_with_reply_and_block(connection_, call, kEmbedTimeoutMs, &error);
    dbus_.dbus_message_unref(call);
    if (!reply) {
        dbus_.dbus_error_free(&error);
        return false;
    }
    DBusMessageIter iter;
    DBusMessageIter fields;
    TObjectRef desktop;
    if (dbus_.dbus_message_iter_init(reply, &iter) &&
        dbus_.dbus_message_iter_get_arg_type(&iter) == DBUS_TYPE_STRUCT) {
        dbus_.dbus_message_iter_recurse(&iter, &fields);
        const char* text = nullptr;
        if (dbus_.dbus_message_iter_get_arg_type(&fields) == DBUS_TYPE_STRING) {
            dbus_.dbus_message_iter_get_basic(&fields, &text);
            desktop.Bus = text ? text : "";
            dbus_.dbus_message_iter_next(&fields);
        }
        if (dbus_.dbus_message_iter_get_arg_type(&fields) == DBUS_TYPE_OBJECT_PATH) {
            dbus_.dbus_message_iter_get_basic(&fields, &text);
            desktop.Path = text ? text : "";
        }
    }
    dbus_.dbus_message_unref(reply);
    objects_.SetDesktop(std::move(desktop));
    return true;
}

void TAtspiBridge::Unembed() {
    DBusMessage* call =
        dbus_.dbus_message_new_method_call(kRegistryName, TAtspiObjects::kRootPath, kSocket, "Unembed");
    TDBusWriter(dbus_, call).Ref(objects_.RootRef());
    dbus_.dbus_connection_send(connection_, call, nullptr);
    dbus_.dbus_message_unref(call);
    dbus_.dbus_connection_flush(connection_);
}

void TAtspiBridge::Dispatch() {
    if (fd_ < 0) return;
    dbus_.dbus_connection_read_write(connection_, 0);
    while (DBusMessage* message = dbus_.dbus_connection_pop_message(connection_)) {
        Handle(message);
        dbus_.dbus_message_unref(message);
    }
    if (!dbus_.dbus_connection_get_is_connected(connection_)) {
        fd_ = -1;
        return;
    }
    dbus_.dbus_connection_flush(connection_);
}

void TAtspiBridge::Handle(DBusMessage* message) {
    const int type = dbus_.dbus_message_get_type(message);
    if (type == DBUS_MESSAGE_TYPE_SIGNAL) {
        const char* interface = dbus_.dbus_message_get_interface(message);
        if (interface && std::string_view(interface) == kLocalInterface) fd_ = -1;
        return;
    }
    if (type != DBUS_MESSAGE_TYPE_METHOD_CALL) return;
    DBusMessage* reply = objects_.Answer(message);
    if (!reply) return;
    if (!dbus_.dbus_message_get_no_reply(message)) dbus_.dbus_connection_send(connection_, reply, nullptr);
    dbus_.dbus_message_unref(reply);
}

template <class Any>
void TAtspiBridge::Emit(AccessibleId id, const char* interface, const char* member, const std::string& detail,
                        int detail1, int detail2, const char* anySignature, Any&& any) {
    if (fd_ < 0) return;
    const TObjectRef ref = objects_.RefOf(id);
    DBusMessage* signal = dbus_.dbus_message_new_signal(ref.Path.c_str(), interface, member);
    TDBusWriter w(dbus_, signal);
    w.String(detail);
    w.Int32(detail1);
    w.Int32(detail2);
    w.Container(DBUS_TYPE_VARIANT, anySignature, any);
    w.Container(DBUS_TYPE_ARRAY, "{sv}", [](TDBusWriter&) {});
    dbus_.dbus_connection_send(connection_, signal, nullptr);
    dbus_.dbus_message_unref(signal);
}

void TAtspiBridge::EmitSimple(AccessibleId id, const char* interface, const char* member) {
    Emit(id, interface, member, "", 0, 0, "i", [](TDBusWriter& v) { v.Int32(0); });
}

void TAtspiBridge::EmitState(AccessibleId id, std::string_view state, bool on) {
    Emit(id, kEventObject, "StateChanged", std::string(state), on ? 1 : 0, 0, "i",
         [](TDBusWriter& v) { v.Int32(0); });
}

void TAtspiBridge::EmitChild(AccessibleId parent, bool added, int index, AccessibleId child) {
    const TObjectRef ref = objects_.RefOf(child);
    Emit(parent, kEventObject, "ChildrenChanged", added ? "add" : "remove", index, 0, "(so)",
         [&](TDBusWriter& v) { v.Ref(ref); });
}

void TAtspiBridge::Notify(TAccessibleEvent event, AccessibleId id) {
    if (fd_ < 0 || id == 0) return;
    switch (event) {
    case TAccessibleEvent::FocusChanged:
        FocusChanged(id);
        break;
    case TAccessibleEvent::StateChanged:
        StatesChanged(id);
        break;
    case TAccessibleEvent::NameChanged:
        if (std::optional<TAccessibleNode> node = source_.Describe(id))
            Emit(id, kEventObject, "PropertyChange", "accessible-name", 0, 0, "s",
                 [&](TDBusWriter& v) { v.String(node->Name); });
        break;
    case TAccessibleEvent::ChildrenChanged:
        ChildrenChanged(id);
        break;
    case TAccessibleEvent::WindowShown:
        WindowShown(id);
        break;
    case TAccessibleEvent::WindowHidden:
        WindowHidden(id);
        break;
    }
    dbus_.dbus_connection_flush(connection_);
}

void TAtspiBridge::FocusChanged(AccessibleId id) {
    if (id == toldFocus_) return;
    if (toldFocus_ != 0 && source_.Describe(toldFocus_)) EmitState(toldFocus_, "focused", false);
    toldFocus_ = id;
    EmitState(id, "focused", true);
    EmitSimple(id, kEventFocus, "Focus");
    if (std::optional<TAccessibleNode> node = source_.Describe(id)) toldStates_[id] = node->States;
}

void TAtspiBridge::StatesChanged(AccessibleId id) {
    const std::optional<TAccessibleNode> node = source_.Describe(id);
    if (!node) return;
    const auto told = toldStates_.find(id);
    // Without an earlier word about the node every state it has is news.
    const TAccessibleStates before = told == toldStates_.end() ? ~node->States : told->second;
    const TAccessibleStates changed = before ^ node->States;
    for (const TAtspiStateName& state : AtspiStateNames())
        if (changed & state.State) EmitState(id, state.Name, (node->States & state.State) != 0);
    if (node->Parent == 0 && (changed & asActive))
        EmitSimple(id, kEventWindow, (node->States & asActive) ? "Activate" : "Deactivate");
    toldStates_[id] = node->States;
}

void TAtspiBridge::ChildrenChanged(AccessibleId id) {
    const std::optional<TAccessibleNode> node = source_.Describe(id);
    if (!node) return;
    const std::vector<AccessibleId>& before = toldChildren_[id];
    for (int i = static_cast<int>(before.size()) - 1; i >= 0; --i) {
        const AccessibleId child = before[static_cast<std::size_t>(i)];
        if (std::find(node->Children.begin(), node->Children.end(), child) == node->Children.end())
            EmitChild(id, false, i, child);
    }
    for (std::size_t i = 0; i < node->Children.size(); ++i)
        if (std::find(before.begin(), before.end(), node->Children[i]) == before.end())
            EmitChild(id, true, static_cast<int>(i), node->Children[i]);
    toldChildren_[id] = node->Children;
}

void TAtspiBridge::WindowShown(AccessibleId id) {
    if (std::find(toldWindows_.begin(), toldWindows_.end(), id) != toldWindows_.end()) return;
    toldWindows_.push_back(id);
    EmitChild(0, true, static_cast<int>(toldWindows_.size()) - 1, id);
    EmitSimple(id, kEventWindow, "Create");
    StatesChanged(id);
}

void TAtspiBridge::WindowHidden(AccessibleId id) {
    const auto found = std::find(toldWindows_.begin(), toldWindows_.end(), id);
    if (found == toldWindows_.end()) return;
    const int index = static_cast<int>(found - toldWindows_.begin());
    toldWindows_.erase(found);
    EmitSimple(id, kEventWindow, "Destroy");
    EmitChild(0, false, index, id);
    toldStates_.erase(id);
    toldChildren_.erase(id);
}

} // namespace emr::platform::atspi
