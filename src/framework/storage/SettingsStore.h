#pragma once

#include <string>
#include <string_view>

#include "framework/core/Exception.h"

namespace emr {

/// A settings store that cannot be read or written: the message names the file and why.
class ESettingsStoreError : public Exception {
public:
    using Exception::Exception;
};

/// Named integer and string values grouped in sections, read and written between
/// Open and Close. Reads see the store as it was at Open plus this session's own
/// writes; Close stores the writes in one replacement of the underlying file and
/// throws ESettingsStoreError when it cannot.
class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;

    virtual void Open() = 0;
    /// The value as an integer; `fallback` when missing or not a number.
    virtual int ReadInteger(std::string_view section, std::string_view name, int fallback) = 0;
    /// The value as text; `fallback` when missing or of a kind that holds no text.
    virtual std::string ReadString(std::string_view section, std::string_view name,
                                   std::string_view fallback) = 0;
    virtual void WriteInteger(std::string_view section, std::string_view name, int value) = 0;
    virtual void WriteString(std::string_view section, std::string_view name, std::string_view value) = 0;
    virtual void Close() = 0;

    /// After Open: when the store's file held no settings, moves it aside under a
    /// new name, so that what it held stays for the user and no later save has to,
    /// and returns a message that says so; empty when there was nothing to move. Never throws: a file that
    /// cannot be moved stays where it is, and the message says that instead.
    virtual std::string KeepAsideUnreadable() { return {}; }
};

/// A store that holds nothing: every value reads as missing, and what is written
/// goes nowhere. It stands in for a file that could not be read, and for
/// pictures and tests that must not depend on what someone saved.
class TEmptySettingsStore : public TSettingsStore {
public:
    void Open() override {}
    int ReadInteger(std::string_view, std::string_view, int fallback) override { return fallback; }
    std::string ReadString(std::string_view, std::string_view, std::string_view fallback) override {
        return std::string(fallback);
    }
    void WriteInteger(std::string_view, std::string_view, int) override {}
    void WriteString(std::string_view, std::string_view, std::string_view) override {}
    void Close() override {}
};

} // namespace emr
