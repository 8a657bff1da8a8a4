#include "app/RecordingLocalePlatform.h"

#include "framework/core/Exception.h"

namespace emr {

void TRecordingLocalePlatform::Record(TCall call) {
    calls_.push_back(std::move(call));
    if (throwAt_ && *throwAt_ == calls_.size() - 1) {
        throwAt_.reset();
        throw Exception("Injected failure in platform call " + std::to_string(calls_.size() - 1));
    }
}

void TRecordingLocalePlatform::BeginUpdate() {
    groupEvents_.push_back({TGroupEventKind::Begin, calls_.size()});
}

bool TRecordingLocalePlatform::EndUpdate(bool commit) {
    groupEvents_.push_back({commit ? TGroupEventKind::Commit : TGroupEventKind::Discard, calls_.size()});
    return !commit || !failCommit_;
}

bool TRecordingLocalePlatform::SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) {
    TCall call;
    call.Kind = TCallKind::SetLocaleInfo;
    call.Locale = locale;
    call.Item = item;
    call.Value = value ? value : "";
    Record(std::move(call));
    return !refuseAll_ && !refusedItems_.contains(item);
}

LRESULT TRecordingLocalePlatform::SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                                      UINT flags, UINT timeoutMs, DWORD_PTR* result) {
    TCall call;
    call.Kind = TCallKind::SendMessageTimeout;
    call.Window = window;
    call.Message = msg;
    call.WParam = wParam;
    call.LParam = lParam;
    call.Flags = flags;
    call.TimeoutMs = timeoutMs;
    call.HasResultSlot = result != nullptr;
    Record(std::move(call));
    if (result) *result = 0;
    return 1;
}

int TRecordingLocalePlatform::MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) {
    TCall call;
    call.Kind = TCallKind::MessageBox;
    call.Owner = owner;
    call.Text = text ? text : "";
    call.Caption = caption ? caption : "";
    call.Flags = flags;
    Record(std::move(call));
    return IDOK;
}

std::vector<TRecordingLocalePlatform::TCall> TRecordingLocalePlatform::CallsOf(TCallKind kind) const {
    std::vector<TCall> result;
    for (const TCall& call : calls_)
        if (call.Kind == kind) result.push_back(call);
    return result;
}

} // namespace emr
