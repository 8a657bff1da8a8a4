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

bool TRecordingLocalePlatform::RecordWrite(TCall call) {
    call.Kind = TCallKind::SetLocaleInfo;
    const LCTYPE item = call.Item;
    Record(std::move(call));
    return !refuseAll_ && !refusedItems_.contains(item);
}

bool TRecordingLocalePlatform::SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) {
    TCall call;
    call.Locale = locale;
    call.Item = item;
    call.Value = value ? value : "";
    return RecordWrite(std::move(call));
}

bool TRecordingLocalePlatform::SetLocaleInfoW(LCID locale, LCTYPE item, const char16_t* value) {
    TCall call;
    call.Wide = true;
    call.Locale = locale;
    call.Item = item;
    call.WideValue = value ? value : u"";
    return RecordWrite(std::move(call));
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

int TRecordingLocalePlatform::RecordBox(TCall call) {
    call.Kind = TCallKind::MessageBox;
    Record(std::move(call));
    return IDOK;
}

int TRecordingLocalePlatform::MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) {
    TCall call;
    call.Owner = owner;
    call.Text = text ? text : "";
    call.Caption = caption ? caption : "";
    call.Flags = flags;
    return RecordBox(std::move(call));
}

int TRecordingLocalePlatform::MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                                          UINT flags) {
    TCall call;
    call.Wide = true;
    call.Owner = owner;
    call.WideText = text ? text : u"";
    call.WideCaption = caption ? caption : u"";
    call.Flags = flags;
    return RecordBox(std::move(call));
}

std::vector<TRecordingLocalePlatform::TCall> TRecordingLocalePlatform::CallsOf(TCallKind kind) const {
    std::vector<TCall> result;
    for (const TCall& call : calls_)
        if (call.Kind == kind) result.push_back(call);
    return result;
}

} // namespace emr
