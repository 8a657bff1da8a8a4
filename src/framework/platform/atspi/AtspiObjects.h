#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/platform/Accessible.h"
#include "framework/platform/atspi/DBusMessage.h"

namespace emr::platform::atspi {

/// Answers what assistive technology asks of the program's accessible objects:
/// the application node at the root path and one node of the tree per path
/// below it, each with the Accessible, Component and Action interfaces (the
/// root with Accessible and Application), and the standard Properties and
/// Introspectable ones.
class TAtspiObjects {
public:
    TAtspiObjects(const TDBusLibrary& dbus, AccessibleSource& source, std::string applicationName);

    /// The program's own bus name, once connected, and the desktop it is embedded in.
    void SetBusName(std::string name) { busName_ = std::move(name); }
    void SetDesktop(TObjectRef desktop) { desktop_ = std::move(desktop); }

    static constexpr const char* kRootPath = "/org/a11y/atspi/accessible/root";
    TObjectRef RootRef() const { return {busName_, kRootPath}; }
    /// The reference of a node; 0 is the application.
    TObjectRef RefOf(AccessibleId id) const;

    /// The reply to a method call on one of the objects (an error reply for
    /// an unknown object, interface or method). The caller owns it.
    DBusMessage* Answer(DBusMessage* call);

private:
    /// An object as the answers see it: the application (Id 0) or a node.
    struct TTarget {
        AccessibleId Id = 0;
        TAccessibleNode Node;
        bool IsRoot() const { return Id == 0; }
    };
    std::optional<TTarget> Resolve(const char* path);
    TAccessibleNode ApplicationNode();
    TObjectRef ParentRef(const TTarget& target) const;

    DBusMessage* AnswerCache(DBusMessage* call);
    DBusMessage* AnswerAccessible(DBusMessage* call, const TTarget& target, const std::string& member);
    DBusMessage* AnswerComponent(DBusMessage* call, const TTarget& target, const std::string& member);
    DBusMessage* AnswerAction(DBusMessage* call, const TTarget& target, const std::string& member);
    DBusMessage* AnswerApplication(DBusMessage* call, const std::string& member);
    DBusMessage* AnswerProperties(DBusMessage* call, const TTarget& target, const std::string& member);
    /// Writes one property as a variant; false when the interface has no such property.
    bool WriteProperty(TDBusWriter& w, const TTarget& target, const std::string& interface,
                       const std::string& name);
    void WriteAllProperties(TDBusWriter& w, const TTarget& target, const std::string& interface);
    DBusMessage* Introspect(DBusMessage* call, const TTarget& target);
    DBusMessage* Error(DBusMessage* call, const char* name, const std::string& text);
    /// Extents in the coordinate system the protocol names (screen, window or parent).
    TRect ExtentsIn(const TTarget& target, std::uint32_t coordType);
    TPoint ToScreen(const TTarget& target, TPoint p, std::uint32_t coordType);
    /// True when `id` is `ancestor` or lies inside it.
    bool Within(AccessibleId id, AccessibleId ancestor);

    const TDBusLibrary& dbus_;
    AccessibleSource& source_;
    std::string applicationName_;
    std::string busName_;
    TObjectRef desktop_;
    std::int32_t applicationId_ = 0;
};

} // namespace emr::platform::atspi
