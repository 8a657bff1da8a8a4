#pragma once

#include <cstdint>
#include <string>

#include "framework/platform/atspi/DBusLibrary.h"

namespace emr::platform::atspi {

/// A reference to an accessible object: the bus name of its process and its path.
struct TObjectRef {
    std::string Bus;
    std::string Path;
};

/// Appends arguments to a message (or to a container inside one).
class TDBusWriter {
public:
    TDBusWriter(const TDBusLibrary& dbus, DBusMessage* message);
    TDBusWriter(const TDBusLibrary& dbus, DBusMessageIter& iter) : dbus_(dbus), iter_(&iter) {}

    void String(const std::string& value);
    void ObjectPath(const std::string& value);
    void Int32(std::int32_t value);
    void UInt32(std::uint32_t value);
    void Int16(std::int16_t value);
    void Boolean(bool value);
    void Double(double value);
    /// A (so) structure.
    void Ref(const TObjectRef& ref);

    /// Writes a container: `type` is DBUS_TYPE_ARRAY, _STRUCT, _VARIANT or
    /// _DICT_ENTRY, `signature` the element's (arrays, variants) or null.
    template <class Fill> void Container(int type, const char* signature, Fill&& fill) {
        DBusMessageIter sub;
        dbus_.dbus_message_iter_open_container(iter_, type, signature, &sub);
        TDBusWriter inner(dbus_, sub);
        fill(inner);
        dbus_.dbus_message_iter_close_container(iter_, &sub);
    }

private:
    void Basic(int type, const void* value);

    const TDBusLibrary& dbus_;
    DBusMessageIter own_{};
    DBusMessageIter* iter_;
};

/// Reads a message's arguments in order; a missing or mistyped argument reads
/// as zero or empty, which the callers answer as an out-of-range request.
class TDBusReader {
public:
    TDBusReader(const TDBusLibrary& dbus, DBusMessage* message);

    std::int32_t Int32();
    std::uint32_t UInt32();
    std::string String();
    bool Boolean();
    /// Steps into a variant (the value of Properties.Set).
    TDBusReader Variant();

private:
    TDBusReader(const TDBusLibrary& dbus, const DBusMessageIter& iter)
        : dbus_(dbus), iter_(iter), valid_(true) {}
    template <class T> T Basic(int type, T fallback);

    const TDBusLibrary& dbus_;
    DBusMessageIter iter_{};
    bool valid_ = false;
};

} // namespace emr::platform::atspi
