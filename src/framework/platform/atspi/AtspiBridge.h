#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/platform/Accessible.h"
#include "framework/platform/atspi/AtspiObjects.h"

namespace emr::platform::atspi {

/// The program on the desktop's accessibility bus: a private connection to it,
/// the application registered with the registry, method calls answered through
/// TAtspiObjects and the tree's changes sent as the protocol's events. Runs on
/// the backend's event loop, which polls Fd() and calls Dispatch; nothing here
/// waits except the registration at start.
class TAtspiBridge {
public:
    /// Connects to the bus at `address` and registers; null when the library,
    /// the bus or the registry cannot be reached.
    static std::unique_ptr<TAtspiBridge> Connect(const std::string& address, AccessibleSource& source,
                                                 const std::string& applicationName);
    ~TAtspiBridge();
    TAtspiBridge(const TAtspiBridge&) = delete;
    TAtspiBridge& operator=(const TAtspiBridge&) = delete;

    /// The connection's socket, to poll for reading; -1 once the bus is gone.
    int Fd() const { return fd_; }
    /// Reads what has arrived and answers it, without waiting.
    void Dispatch();
    /// Sends the events that tell assistive technology about a change of node `id`.
    void Notify(TAccessibleEvent event, AccessibleId id);

private:
    TAtspiBridge(const TDBusLibrary& dbus, DBusConnection* connection, AccessibleSource& source,
                 const std::string& applicationName);
    bool Embed();
    void Unembed();
    void Handle(DBusMessage* message);

    /// One event signal: `detail`, two numbers and a value written by `any`
    /// (an int 0 when null).
    template <class Any>
    void Emit(AccessibleId id, const char* interface, const char* member, const std::string& detail,
              int detail1, int detail2, const char* anySignature, Any&& any);
    void EmitState(AccessibleId id, std::string_view state, bool on);
    void EmitSimple(AccessibleId id, const char* interface, const char* member);
    void EmitChild(AccessibleId parent, bool added, int index, AccessibleId child);

    void FocusChanged(AccessibleId id);
    void StatesChanged(AccessibleId id);
    void ChildrenChanged(AccessibleId id);
    void WindowShown(AccessibleId id);
    void WindowHidden(AccessibleId id);

    const TDBusLibrary& dbus_;
    DBusConnection* connection_;
    AccessibleSource& source_;
    TAtspiObjects objects_;
    int fd_ = -1;
    /// What the events sent so far told, to send only what changed.
    std::map<AccessibleId, TAccessibleStates> toldStates_;
    std::map<AccessibleId, std::vector<AccessibleId>> toldChildren_;
    std::vector<AccessibleId> toldWindows_;
    AccessibleId toldFocus_ = 0;
};

} // namespace emr::platform::atspi
