#include "framework/platform/atspi/DBusMessage.h"

namespace emr::platform::atspi {

TDBusWriter::TDBusWriter(const TDBusLibrary& dbus, DBusMessage* message) : dbus_(dbus), iter_(&own_) {
    dbus_.dbus_message_iter_init_append(message, &own_);
}

void TDBusWriter::Basic(int type, const void* value) {
    dbus_.dbus_message_iter_append_basic(iter_, type, value);
}

void TDBusWriter::String(const std::string& value) {
    const char* text = value.c_str();
    Basic(DBUS_TYPE_STRING, &text);
}

void TDBusWriter::ObjectPath(const std::string& value) {
    const char* text = value.c_str();
    Basic(DBUS_TYPE_OBJECT_PATH, &text);
}

void TDBusWriter::Int32(std::int32_t value) {
    const dbus_int32_t v = value;
    Basic(DBUS_TYPE_INT32, &v);
}

void TDBusWriter::UInt32(std::uint32_t value) {
    const dbus_uint32_t v = value;
    Basic(DBUS_TYPE_UINT32, &v);
}

void TDBusWriter::Int16(std::int16_t value) {
    const dbus_int16_t v = value;
    Basic(DBUS_TYPE_INT16, &v);
}

void TDBusWriter::Boolean(bool value) {
    const dbus_bool_t v = value ? TRUE : FALSE;
    Basic(DBUS_TYPE_BOOLEAN, &v);
}

void TDBusWriter::Double(double value) {
    Basic(DBUS_TYPE_DOUBLE, &value);
}

void TDBusWriter::Ref(const TObjectRef& ref) {
    Container(DBUS_TYPE_STRUCT, nullptr, [&](TDBusWriter& s) {
        s.String(ref.Bus);
        s.ObjectPath(ref.Path);
    });
}

TDBusReader::TDBusReader(const TDBusLibrary& dbus, DBusMessage* message) : dbus_(dbus) {
    valid_ = dbus_.dbus_message_iter_init(message, &iter_);
}

template <class T> T TDBusReader::Basic(int type, T fallback) {
    if (!valid_ || dbus_.dbus_message_iter_get_arg_type(&iter_) != type) {
        valid_ = false;
        return fallback;
    }
    T value{};
    dbus_.dbus_message_iter_get_basic(&iter_, &value);
    valid_ = dbus_.dbus_message_iter_next(&iter_);
    return value;
}

std::int32_t TDBusReader::Int32() {
    return Basic<dbus_int32_t>(DBUS_TYPE_INT32, 0);
}

std::uint32_t TDBusReader::UInt32() {
    return Basic<dbus_uint32_t>(DBUS_TYPE_UINT32, 0);
}

bool TDBusReader::Boolean() {
    return Basic<dbus_bool_t>(DBUS_TYPE_BOOLEAN, FALSE) != FALSE;
}

std::string TDBusReader::String() {
    const char* text = Basic<const char*>(DBUS_TYPE_STRING, nullptr);
    return text ? std::string(text) : std::string();
}

TDBusReader TDBusReader::Variant() {
    if (!valid_ || dbus_.dbus_message_iter_get_arg_type(&iter_) != DBUS_TYPE_VARIANT) {
        TDBusReader empty(dbus_, iter_);
        empty.valid_ = false;
        return empty;
    }
    DBusMessageIter sub;
    dbus_.dbus_message_iter_recurse(&iter_, &sub);
    valid_ = dbus_.dbus_message_iter_next(&iter_);
    return TDBusReader(dbus_, sub);
}

} // namespace emr::platform::atspi
