#pragma once

#include <dbus/dbus.h>

namespace emr::platform::atspi {

/// The calls of the system's D-Bus client library, found at run time: a program
/// that no assistive technology ever looks at neither links nor loads it.
struct TDBusLibrary {
#define EMR_DBUS_CALLS(X)                                                                                    \
    X(dbus_error_init)                                                                                       \
    X(dbus_error_free)                                                                                       \
    X(dbus_error_is_set)                                                                                     \
    X(dbus_connection_open_private)                                                                          \
    X(dbus_connection_close)                                                                                 \
    X(dbus_connection_unref)                                                                                 \
    X(dbus_connection_set_exit_on_disconnect)                                                                \
    X(dbus_connection_get_unix_fd)                                                                           \
    X(dbus_connection_read_write)                                                                            \
    X(dbus_connection_pop_message)                                                                           \
    X(dbus_connection_send)                                                                                  \
    X(dbus_connection_send_with_reply_and_block)                                                             \
    X(dbus_connection_flush)                                                                                 \
    X(dbus_connection_get_is_connected)                                                                      \
    X(dbus_bus_register)                                                                                     \
    X(dbus_bus_get_unique_name)                                                                              \
    X(dbus_message_new_method_call)                                                                          \
    X(dbus_message_new_method_return)                                                                        \
    X(dbus_message_new_error)                                                                                \
    X(dbus_message_new_signal)                                                                               \
    X(dbus_message_unref)                                                                                    \
    X(dbus_message_get_type)                                                                                 \
    X(dbus_message_get_path)                                                                                 \
    X(dbus_message_get_interface)                                                                            \
    X(dbus_message_get_member)                                                                               \
    X(dbus_message_get_no_reply)                                                                             \
    X(dbus_message_set_serial)                                                                               \
    X(dbus_message_iter_init)                                                                                \
    X(dbus_message_iter_init_append)                                                                         \
    X(dbus_message_iter_append_basic)                                                                        \
    X(dbus_message_iter_open_container)                                                                      \
    X(dbus_message_iter_close_container)                                                                     \
    X(dbus_message_iter_get_arg_type)                                                                        \
    X(dbus_message_iter_get_basic)                                                                           \
    X(dbus_message_iter_next)                                                                                \
    X(dbus_message_iter_recurse)

#define EMR_DBUS_MEMBER(name) decltype(&::name) name = nullptr;
    EMR_DBUS_CALLS(EMR_DBUS_MEMBER)
#undef EMR_DBUS_MEMBER

    /// The library, loaded on first use and kept for the process's life; null
    /// when it is missing or lacks one of the calls.
    static const TDBusLibrary* Get();
};

} // namespace emr::platform::atspi
