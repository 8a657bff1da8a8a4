#include "framework/platform/win32/MsaaBridge.h"

#include "framework/platform/win32/MsaaConnection.h"
#include "framework/platform/win32/MsaaMapping.h"
#include "framework/platform/win32/MsaaObject.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/MsaaLibrary.h"

namespace emr::platform::win32 {

namespace {

HWND Handle(WindowId window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

} // namespace

TMsaaBridge::TMsaaBridge() : connection_(std::make_shared<TMsaaConnection>()) {}

TMsaaBridge::~TMsaaBridge() {
    connection_->Source = nullptr;
    if (inApartment_) connection_->Library->LeaveApartment();
}

void TMsaaBridge::SetSource(AccessibleSource* source) {
    if (source == connection_->Source) return;
    // A new connection: the old one's objects and event ids belong to the old tree.
    auto next = std::make_shared<TMsaaConnection>();
    next->Source = source;
    next->Library = connection_->Library;
    connection_->Source = nullptr;
    connection_ = std::move(next);
    openMenus_.clear();
}

AccessibleSource* TMsaaBridge::Source() const {
    return connection_->Source;
}

bool TMsaaBridge::AnswerGetObject(WindowId window, std::uintptr_t flags, std::intptr_t objectId,
                                  std::intptr_t& result) {
    AccessibleSource* source = connection_->Source;
    // The id is a DWORD: on a 64-bit system lParam would carry it sign-extended or not.
    if (!source || static_cast<LONG>(static_cast<DWORD>(objectId)) != OBJID_CLIENT) return false;
    const AccessibleId root = source->WindowRoot(window);
    if (!root) return false;
    if (!connection_->Library) {
        connection_->Library = TMsaaLibrary::Get();
        if (!connection_->Library) return false;
        inApartment_ = connection_->Library->EnterApartment();
    }
    // A new object for every request, released here: the system holds its own reference.
    TMsaaObject* object = TMsaaObject::Create(connection_, root);
    result = connection_->Library->ResultFromObject(static_cast<WPARAM>(flags), object);
    object->Release();
    return true;
}

std::int32_t TMsaaBridge::EventChildId(AccessibleId id, WindowId window) {
    if (connection_->Source->WindowRoot(window) == id) return CHILDID_SELF;
    return connection_->ChildIds.ChildId(id);
}

void TMsaaBridge::Notify(TAccessibleEvent event, AccessibleId id) {
    AccessibleSource* source = connection_->Source;
    if (!source || !id) return;
    const auto node = source->Describe(id);
    if (!node) {
        // Gone with its window: only a menu's end is still worth telling.
        auto menu = openMenus_.find(id);
        if (event == TAccessibleEvent::WindowHidden && menu != openMenus_.end()) {
            NotifyWinEvent(msaa::kEventMenuPopupEnd, Handle(menu->second), OBJID_CLIENT, CHILDID_SELF);
            openMenus_.erase(menu);
        }
        return;
    }
    const WindowId window = node->Window;
    if (!window) return;
    const LONG childId = EventChildId(id, window);
    NotifyWinEvent(MsaaEvent(event), Handle(window), OBJID_CLIENT, childId);
    const std::uint32_t menuEvent = MsaaMenuEvent(event, node->Role);
    if (!menuEvent) return;
    NotifyWinEvent(menuEvent, Handle(window), OBJID_CLIENT, childId);
    if (event == TAccessibleEvent::WindowShown)
        openMenus_[id] = window;
    else
        openMenus_.erase(id);
}

} // namespace emr::platform::win32
