#include "framework/platform/win32/MsaaObject.h"

#include <algorithm>
#include <utility>

#include "framework/platform/win32/MsaaMapping.h"

namespace emr::platform::win32 {

// The mapping is written without the system headers: its numbers must be the system's.
static_assert(msaa::kRoleMenuBar == ROLE_SYSTEM_MENUBAR && msaa::kRoleAlert == ROLE_SYSTEM_ALERT &&
              msaa::kRoleClient == ROLE_SYSTEM_CLIENT && msaa::kRoleMenuPopup == ROLE_SYSTEM_MENUPOPUP &&
              msaa::kRoleMenuItem == ROLE_SYSTEM_MENUITEM && msaa::kRolePane == ROLE_SYSTEM_PANE &&
              msaa::kRoleDialog == ROLE_SYSTEM_DIALOG && msaa::kRoleSeparator == ROLE_SYSTEM_SEPARATOR &&
              msaa::kRoleToolBar == ROLE_SYSTEM_TOOLBAR && msaa::kRoleStaticText == ROLE_SYSTEM_STATICTEXT &&
              msaa::kRoleText == ROLE_SYSTEM_TEXT && msaa::kRolePushButton == ROLE_SYSTEM_PUSHBUTTON &&
              msaa::kRoleCheckButton == ROLE_SYSTEM_CHECKBUTTON &&
              msaa::kRoleButtonMenu == ROLE_SYSTEM_BUTTONMENU);
static_assert(msaa::kStateUnavailable == STATE_SYSTEM_UNAVAILABLE &&
              msaa::kStateSelected == STATE_SYSTEM_SELECTED && msaa::kStateFocused == STATE_SYSTEM_FOCUSED &&
              msaa::kStatePressed == STATE_SYSTEM_PRESSED && msaa::kStateChecked == STATE_SYSTEM_CHECKED &&
              msaa::kStateDefault == STATE_SYSTEM_DEFAULT && msaa::kStateExpanded == STATE_SYSTEM_EXPANDED &&
              msaa::kStateCollapsed == STATE_SYSTEM_COLLAPSED &&
              msaa::kStateInvisible == STATE_SYSTEM_INVISIBLE &&
              msaa::kStateOffscreen == STATE_SYSTEM_OFFSCREEN &&
              msaa::kStateFocusable == STATE_SYSTEM_FOCUSABLE &&
              msaa::kStateHasPopup == STATE_SYSTEM_HASPOPUP);
static_assert(msaa::kEventMenuPopupStart == EVENT_SYSTEM_MENUPOPUPSTART &&
              msaa::kEventMenuPopupEnd == EVENT_SYSTEM_MENUPOPUPEND &&
              msaa::kEventShow == EVENT_OBJECT_SHOW && msaa::kEventHide == EVENT_OBJECT_HIDE &&
              msaa::kEventReorder == EVENT_OBJECT_REORDER && msaa::kEventFocus == EVENT_OBJECT_FOCUS &&
              msaa::kEventStateChange == EVENT_OBJECT_STATECHANGE &&
              msaa::kEventNameChange == EVENT_OBJECT_NAMECHANGE);

namespace {

// How far up a parent chain is followed: a tree is never this deep, and a cycle
// in a faulty tree must not hang the program in a client's call.
constexpr int kMaxDepth = 256;

HWND Handle(WindowId window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

void SetEmpty(VARIANT* v) {
    v->vt = VT_EMPTY;
}

void SetLong(VARIANT* v, LONG value) {
    v->vt = VT_I4;
    v->lVal = value;
}

void SetObject(VARIANT* v, IDispatch* object) {
    v->vt = VT_DISPATCH;
    v->pdispVal = object;
}

/// The child id a VARIANT holds; false when it holds none.
bool ChildIdOf(const VARIANT& v, LONG& id) {
    switch (v.vt) {
    case VT_I4:
        id = v.lVal;
        return true;
    case VT_INT:
        id = v.intVal;
        return true;
    case VT_I2:
        id = v.iVal;
        return true;
    case VT_EMPTY:
        id = CHILDID_SELF;
        return true;
    default:
        return false;
    }
}

} // namespace

TMsaaObject* TMsaaObject::Create(std::shared_ptr<TMsaaConnection> connection, AccessibleId node) {
    return new TMsaaObject(std::move(connection), node);
}

TMsaaObject::TMsaaObject(std::shared_ptr<TMsaaConnection> connection, AccessibleId node)
    : connection_(std::move(connection)), node_(node) {}

HRESULT TMsaaObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
        IsEqualIID(riid, __uuidof(IAccessible))) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TMsaaObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG TMsaaObject::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT TMsaaObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT TMsaaObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT TMsaaObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT TMsaaObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT TMsaaObject::Resolve(const VARIANT& child, AccessibleId& id, TAccessibleNode& node) const {
    AccessibleSource* source = connection_->Source;
    if (!source) return CO_E_OBJNOTCONNECTED;
    auto self = source->Describe(node_);
    if (!self) return CO_E_OBJNOTCONNECTED;
    LONG childId = CHILDID_SELF;
    if (!ChildIdOf(child, childId)) return E_INVALIDARG;
    if (childId == CHILDID_SELF) {
        id = node_;
        node = std::move(*self);
        return S_OK;
    }
    if (childId > 0) {
        if (static_cast<std::size_t>(childId) > self->Children.size()) return E_INVALIDARG;
        id = self->Children[static_cast<std::size_t>(childId) - 1];
    } else {
        id = connection_->ChildIds.Node(childId);
    }
    auto found = id ? source->Describe(id) : std::nullopt;
    if (!found) return E_INVALIDARG;
    node = std::move(*found);
    return S_OK;
}

HRESULT TMsaaObject::Text(const VARIANT& child, std::string TAccessibleNode::*field, BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    *out = connection_->Library->String(node.*field);
    return *out ? S_OK : S_FALSE;
}

IDispatch* TMsaaObject::ObjectFor(AccessibleId id) const {
    return Create(connection_, id);
}

bool TMsaaObject::IsBelow(AccessibleId node) const {
    AccessibleSource* source = connection_->Source;
    for (int depth = 0; source && node && depth < kMaxDepth; ++depth) {
        auto described = source->Describe(node);
        if (!described) return false;
        node = described->Parent;
        if (node == node_) return true;
    }
    return false;
}

HRESULT TMsaaObject::Answer(AccessibleId found, VARIANT* out) const {
    if (found != 0 && found == node_) {
        SetLong(out, CHILDID_SELF);
        return S_OK;
    }
    if (found != 0 && IsBelow(found)) {
        SetObject(out, ObjectFor(found));
        return S_OK;
    }
    return S_FALSE;
}

AccessibleId TMsaaObject::Sibling(const TAccessibleNode& node, AccessibleId id, int step) const {
    auto parent = node.Parent ? connection_->Source->Describe(node.Parent) : std::nullopt;
    // A window's node has no siblings in its window, whatever holds it.
    if (!parent || connection_->Source->WindowRoot(node.Window) == id) return 0;
    const auto& children = parent->Children;
    auto it = std::find(children.begin(), children.end(), id);
    if (it == children.end()) return 0;
    const auto index = (it - children.begin()) + step;
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(children.size())) return 0;
    return children[static_cast<std::size_t>(index)];
}

HRESULT TMsaaObject::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    AccessibleId id = 0;
    TAccessibleNode node;
    VARIANT self;
    SetLong(&self, CHILDID_SELF);
    if (HRESULT r = Resolve(self, id, node); FAILED(r)) return r;
    // A window's node is the client area of the system's window object, whose
    // own parent is the desktop: clients walk up through the system from here.
    if (node.Parent == 0 || connection_->Source->WindowRoot(node.Window) == id)
        return connection_->Library->WindowObject(Handle(node.Window), parent);
    *parent = ObjectFor(node.Parent);
    return S_OK;
}

HRESULT TMsaaObject::get_accChildCount(LONG* count) {
    if (!count) return E_POINTER;
    *count = 0;
    AccessibleId id = 0;
    TAccessibleNode node;
    VARIANT self;
    SetLong(&self, CHILDID_SELF);
    if (HRESULT r = Resolve(self, id, node); FAILED(r)) return r;
    *count = static_cast<LONG>(node.Children.size());
    return S_OK;
}

HRESULT TMsaaObject::get_accChild(VARIANT child, IDispatch** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    // The object itself is not its own child.
    if (id == node_) return E_INVALIDARG;
    *object = ObjectFor(id);
    return S_OK;
}

HRESULT TMsaaObject::get_accName(VARIANT child, BSTR* name) {
    return Text(child, &TAccessibleNode::Name, name);
}

HRESULT TMsaaObject::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TMsaaObject::get_accDescription(VARIANT child, BSTR* description) {
    return Text(child, &TAccessibleNode::Description, description);
}

HRESULT TMsaaObject::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    SetEmpty(role);
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    SetLong(role, MsaaRole(node.Role, node.States));
    return S_OK;
}

HRESULT TMsaaObject::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    SetEmpty(state);
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    SetLong(state, static_cast<LONG>(MsaaState(node.States)));
    return S_OK;
}

HRESULT TMsaaObject::get_accHelp(VARIANT child, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TMsaaObject::get_accHelpTopic(BSTR* helpFile, VARIANT, LONG* topic) {
    if (helpFile) *helpFile = nullptr;
    if (topic) *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TMsaaObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Text(child, &TAccessibleNode::KeyShortcut, shortcut);
}

HRESULT TMsaaObject::get_accFocus(VARIANT* focused) {
    if (!focused) return E_POINTER;
    SetEmpty(focused);
    AccessibleId id = 0;
    TAccessibleNode node;
    VARIANT self;
    SetLong(&self, CHILDID_SELF);
    if (HRESULT r = Resolve(self, id, node); FAILED(r)) return r;
    return Answer(connection_->Source->Focused(), focused);
}

HRESULT TMsaaObject::get_accSelection(VARIANT* selected) {
    if (!selected) return E_POINTER;
    SetEmpty(selected);
    return connection_->Source ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT TMsaaObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    if (node.Actions.empty()) return S_FALSE;
    *action = connection_->Library->String(node.Actions.front());
    return *action ? S_OK : S_FALSE;
}

HRESULT TMsaaObject::accSelect(LONG, VARIANT) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TMsaaObject::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    *left = node.Extents.Left;
    *top = node.Extents.Top;
    *width = node.Extents.Width();
    *height = node.Extents.Height();
    return S_OK;
}

HRESULT TMsaaObject::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    SetEmpty(end);
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(start, id, node); FAILED(r)) return r;
    AccessibleId found = 0;
    switch (direction) {
    case NAVDIR_FIRSTCHILD:
        if (!node.Children.empty()) found = node.Children.front();
        break;
    case NAVDIR_LASTCHILD:
        if (!node.Children.empty()) found = node.Children.back();
        break;
    case NAVDIR_NEXT:
        found = Sibling(node, id, +1);
        break;
    case NAVDIR_PREVIOUS:
        found = Sibling(node, id, -1);
        break;
    default:
        // Moving by screen direction is the clients' to work out from the locations.
        return DISP_E_MEMBERNOTFOUND;
    }
    if (!found) return S_FALSE;
    SetObject(end, ObjectFor(found));
    return S_OK;
}

HRESULT TMsaaObject::accHitTest(LONG x, LONG y, VARIANT* hit) {
    if (!hit) return E_POINTER;
    SetEmpty(hit);
    AccessibleId id = 0;
    TAccessibleNode node;
    VARIANT self;
    SetLong(&self, CHILDID_SELF);
    if (HRESULT r = Resolve(self, id, node); FAILED(r)) return r;
    const TPoint point{static_cast<int>(x), static_cast<int>(y)};
    if (Answer(connection_->Source->At(point), hit) == S_OK) return S_OK;
    // Over this node but over none of the tree's deeper nodes (or over another
    // window's node that covers it): the point is the object's own.
    if (!node.Extents.Contains(point)) return S_FALSE;
    SetLong(hit, CHILDID_SELF);
    return S_OK;
}

HRESULT TMsaaObject::accDoDefaultAction(VARIANT child) {
    AccessibleId id = 0;
    TAccessibleNode node;
    if (HRESULT r = Resolve(child, id, node); FAILED(r)) return r;
    if (node.Actions.empty()) return DISP_E_MEMBERNOTFOUND;
    return connection_->Source->DoAction(id, 0) ? S_OK : E_FAIL;
}

HRESULT TMsaaObject::put_accName(VARIANT, BSTR) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TMsaaObject::put_accValue(VARIANT, BSTR) {
    return DISP_E_MEMBERNOTFOUND;
}

} // namespace emr::platform::win32
