#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/LocalePlatform.h"

namespace emr {

/// A locale platform that changes nothing and remembers every call with its exact
/// arguments and bytes. Tests tell it which writes to refuse and which call to fail.
class TRecordingLocalePlatform : public TLocalePlatform {
public:
    enum class TCallKind { SetLocaleInfo, SendMessageTimeout, MessageBox };

    /// An update group's opening or closing. Kept apart from the calls: on Windows
    /// the grouping makes no system call, so the calls stay what the system sees.
    enum class TGroupEventKind { Begin, Commit, Discard };
    struct TGroupEvent {
        TGroupEventKind Kind = TGroupEventKind::Begin;
        std::size_t CallsBefore = 0; // how many calls were recorded before it
    };

    /// One recorded call. Only the fields of its kind are meaningful.
    struct TCall {
        TCallKind Kind = TCallKind::SetLocaleInfo;
        /// The wide form of the call (SetLocaleInfoW, MessageBoxW): its strings are
        /// in the Wide fields, and the byte strings stay empty.
        bool Wide = false;
        // SetLocaleInfoA
        LCID Locale = 0;
        LCTYPE Item = 0;
        std::string Value; // the bytes before the terminating zero
        std::u16string WideValue;
        // SendMessageTimeoutA
        HWND Window = 0;
        UINT Message = 0;
        WPARAM WParam = 0;
        LPARAM LParam = 0;
        UINT Flags = 0; // also MessageBoxA's flags
        UINT TimeoutMs = 0;
        bool HasResultSlot = false;
        // MessageBoxA
        HWND Owner = 0;
        std::string Text;
        std::string Caption;
        std::u16string WideText;
        std::u16string WideCaption;
    };

    void BeginUpdate() override;
    /// Returns false on a commit when SetFailCommit(true) was called.
    bool EndUpdate(bool commit) override;
    /// 936 unless SetAnsiCodePage says otherwise.
    UINT AnsiCodePage() const override { return codePage_; }
    bool SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) override;
    bool SetLocaleInfoW(LCID locale, LCTYPE item, const char16_t* value) override;
    LRESULT SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeoutMs, DWORD_PTR* result) override;
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) override;
    int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT flags) override;

    const std::vector<TCall>& Calls() const { return calls_; }
    /// The recorded calls of one kind, in order.
    std::vector<TCall> CallsOf(TCallKind kind) const;
    const std::vector<TGroupEvent>& GroupEvents() const { return groupEvents_; }
    void Clear() {
        calls_.clear();
        groupEvents_.clear();
    }

    /// The system's ANSI code page as the patch is to see it.
    void SetAnsiCodePage(UINT codePage) { codePage_ = codePage; }

    /// A group's commit fails (the event is still recorded).
    void SetFailCommit(bool fail) { failCommit_ = fail; }

    /// Every SetLocaleInfoA returns false (the call is still recorded).
    void SetRefuseAllWrites(bool refuse) { refuseAll_ = refuse; }
    /// SetLocaleInfoA of this item returns false.
    void RefuseItem(LCTYPE item) { refusedItems_.insert(item); }
    void AcceptAllItems() { refusedItems_.clear(); }
    /// The call with this zero-based index (counted over every recorded call)
    /// throws an Exception after being recorded. Fires once.
    void ThrowAtCall(std::size_t index) { throwAt_ = index; }

private:
    void Record(TCall call);
    bool RecordWrite(TCall call);
    int RecordBox(TCall call);

    std::vector<TCall> calls_;
    std::vector<TGroupEvent> groupEvents_;
    UINT codePage_ = kGbkCodePage;
    bool failCommit_ = false;
    bool refuseAll_ = false;
    std::set<LCTYPE> refusedItems_;
    std::optional<std::size_t> throwAt_;
};

} // namespace emr
