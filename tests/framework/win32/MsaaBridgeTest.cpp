// The Windows backend answering assistive technology from an accessible tree
// (under Wine in Xvfb in the tests): a client in the same process asks through
// the system's accessibility library, as a screen reader would from its own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FakeAccessibleSource.h"
#include "framework/platform/win32/Win32Backend.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/Win32Api.h"

#include <oleacc.h>

namespace emr::platform {
namespace {

HWND Handle(WindowId id) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

/// Holds one reference to an interface and releases it.
template <typename T> class TRef {
public:
    TRef() = default;
    explicit TRef(T* p) : p_(p) {}
    TRef(TRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    TRef& operator=(TRef&& other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~TRef() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** out() { return &p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

VARIANT ChildId(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

const VARIANT kSelf = ChildId(CHILDID_SELF);

/// The accessible object a dispatch interface is; empty for none.
TRef<IAccessible> AsAccessible(IDispatch* dispatch) {
    TRef<IAccessible> object;
    if (dispatch) dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(object.out()));
    if (dispatch) dispatch->Release();
    return object;
}

/// The object a VARIANT answer holds; empty when it holds none.
TRef<IAccessible> ObjectOf(VARIANT& v) {
    if (v.vt != VT_DISPATCH) {
        VariantClear(&v);
        return {};
    }
    v.vt = VT_EMPTY;
    return AsAccessible(v.pdispVal);
}

std::wstring Name(IAccessible* object, const VARIANT& child = kSelf) {
    BSTR name = nullptr;
    if (!object || FAILED(object->get_accName(child, &name)) || !name) return L"";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

LONG Role(IAccessible* object) {
    VARIANT role;
    VariantInit(&role);
    if (object) object->get_accRole(kSelf, &role);
    return role.vt == VT_I4 ? role.lVal : -1;
}

LONG State(IAccessible* object) {
    VARIANT state;
    VariantInit(&state);
    if (object) object->get_accState(kSelf, &state);
    return state.vt == VT_I4 ? state.lVal : -1;
}

TRef<IAccessible> Child(IAccessible* object, LONG position) {
    IDispatch* child = nullptr;
    if (object) object->get_accChild(ChildId(position), &child);
    return AsAccessible(child);
}

/// A window with a tool bar of four items, as the framework's tree would describe it.
class MsaaBridgeTest : public ::testing::Test {
protected:
    MsaaBridgeTest() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        TWindowStyle style;
        style.Resizable = false;
        window = backend->CreateWindow(style, {100, 100, 400, 300}, "测试");
        backend->SetVisible(window, true);
        root = tree.Add(0, window, TAccessibleRole::Window, "测试", {100, 100, 400, 300});
        bar = tree.Add(root, window, TAccessibleRole::ToolBar, "标准", {100, 100, 300, 124});
        ok = tree.Add(bar, window, TAccessibleRole::PushButton, "确定", {102, 102, 142, 122},
                      asEnabled | asVisible | asShowing | asFocusable);
        tree.Nodes[ok].Actions = {"press"};
        tree.Nodes[ok].KeyShortcut = "Alt+O";
        tree.Nodes[ok].Description = "应用补丁";
        bold = tree.Add(bar, window, TAccessibleRole::ToggleButton, "粗体", {142, 102, 166, 122},
                        asEnabled | asVisible | asShowing | asChecked);
        separator = tree.Add(bar, window, TAccessibleRole::Separator, "", {166, 102, 172, 122});
        open = tree.Add(bar, window, TAccessibleRole::PushButton, "打开", {172, 102, 196, 122},
                        asEnabled | asVisible | asShowing | asHasPopup);
        backend->SetAccessibleSource(&tree);
    }
    ~MsaaBridgeTest() override {
        backend.reset();
        CoUninitialize();
    }

    /// The window's client object, asked for as a client asks.
    TRef<IAccessible> Client() {
        TRef<IAccessible> object;
        AccessibleObjectFromWindow(Handle(window), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(object.out()));
        return object;
    }

    TRef<IAccessible> Button(LONG position) {
        TRef<IAccessible> client = Client();
        if (!client) return {};
        TRef<IAccessible> toolBar = Child(client.get(), 1);
        return toolBar ? Child(toolBar.get(), position) : TRef<IAccessible>{};
    }

    std::unique_ptr<win32::Win32Backend> backend = std::make_unique<win32::Win32Backend>();
    TFakeAccessibleSource tree;
    WindowId window = 0;
    AccessibleId root = 0, bar = 0, ok = 0, bold = 0, separator = 0, open = 0;
};

TEST_F(MsaaBridgeTest, TheWindowAnswersWithItsTreeNamesRolesStatesAndPlaces) {
    TRef<IAccessible> client = Client();
    ASSERT_TRUE(client);
    EXPECT_EQ(Name(client.get()), L"测试");
    EXPECT_EQ(Role(client.get()), ROLE_SYSTEM_CLIENT);
    LONG count = 0;
    EXPECT_EQ(client->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 1);

    TRef<IAccessible> toolBar = Child(client.get(), 1);
    ASSERT_TRUE(toolBar);
    EXPECT_EQ(Name(toolBar.get()), L"标准");
    EXPECT_EQ(Role(toolBar.get()), ROLE_SYSTEM_TOOLBAR);
    EXPECT_EQ(toolBar->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4);

    TRef<IAccessible> button = Child(toolBar.get(), 1);
    ASSERT_TRUE(button);
    EXPECT_EQ(Name(button.get()), L"确定");
    EXPECT_EQ(Role(button.get()), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(State(button.get()), STATE_SYSTEM_FOCUSABLE);
    LONG left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(button->accLocation(&left, &top, &width, &height, kSelf), S_OK);
    EXPECT_EQ(left, 102);
    EXPECT_EQ(top, 102);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 20);
    BSTR text = nullptr;
    EXPECT_EQ(button->get_accKeyboardShortcut(kSelf, &text), S_OK);
    EXPECT_STREQ(text, L"Alt+O");
    SysFreeString(text);
    EXPECT_EQ(button->get_accDescription(kSelf, &text), S_OK);
    EXPECT_STREQ(text, L"应用补丁");
    SysFreeString(text);
    EXPECT_EQ(button->get_accDefaultAction(kSelf, &text), S_OK);
    EXPECT_STREQ(text, L"press");
    SysFreeString(text);

    // The same children named by position from their parent.
    EXPECT_EQ(Name(toolBar.get(), ChildId(2)), L"粗体");
    TRef<IAccessible> checked = Child(toolBar.get(), 2);
    EXPECT_EQ(Role(checked.get()), ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_TRUE(State(checked.get()) & STATE_SYSTEM_CHECKED);
    TRef<IAccessible> dropDown = Child(toolBar.get(), 4);
    EXPECT_EQ(Role(dropDown.get()), ROLE_SYSTEM_BUTTONMENU);
    EXPECT_TRUE(State(dropDown.get()) & STATE_SYSTEM_HASPOPUP);
    // Past the last child.
    IDispatch* none = nullptr;
    EXPECT_EQ(toolBar->get_accChild(ChildId(5), &none), E_INVALIDARG);
    EXPECT_EQ(none, nullptr);
}

TEST_F(MsaaBridgeTest, ObjectsAreLiveViewsThatSayWhenTheirNodeIsGone) {
    TRef<IAccessible> toolBar = Child(Client().get(), 1);
    TRef<IAccessible> button = Child(toolBar.get(), 1);
    ASSERT_TRUE(button);
    tree.Nodes[ok].Name = "应用";
    tree.Nodes[ok].States &= ~asEnabled;
    EXPECT_EQ(Name(button.get()), L"应用");
    EXPECT_TRUE(State(button.get()) & STATE_SYSTEM_UNAVAILABLE);

    tree.Remove(ok);
    BSTR name = nullptr;
    EXPECT_EQ(button->get_accName(kSelf, &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(button->accDoDefaultAction(kSelf), CO_E_OBJNOTCONNECTED);
    LONG count = 0;
    toolBar->get_accChildCount(&count);
    EXPECT_EQ(count, 3);
}

// A client may keep an object after the program took its tree away or closed
// its window: calling it then must be answered, not reach freed memory.
TEST_F(MsaaBridgeTest, ObjectsKeptByAClientOutliveTheTreeAndTheBackend) {
    TRef<IAccessible> client = Client();
    TRef<IAccessible> button = Button(1);
    ASSERT_TRUE(button);
    backend->SetAccessibleSource(nullptr);
    BSTR name = nullptr;
    EXPECT_EQ(button->get_accName(kSelf, &name), CO_E_OBJNOTCONNECTED);
    backend->SetAccessibleSource(&tree);
    // Objects of the tree as it was attached before stay disconnected.
    EXPECT_EQ(button->get_accName(kSelf, &name), CO_E_OBJNOTCONNECTED);
    TRef<IAccessible> again = Button(1);
    ASSERT_TRUE(again);
    EXPECT_EQ(Name(again.get()), L"确定");

    backend.reset();
    LONG count = 0;
    EXPECT_EQ(client->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(again->accDoDefaultAction(kSelf), CO_E_OBJNOTCONNECTED);
    EXPECT_TRUE(tree.ActionsDone.empty());
}

TEST_F(MsaaBridgeTest, TheDefaultActionRunsTheNodesFirstActionAndOnlyWhereThereIsOne) {
    TRef<IAccessible> button = Button(1);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->accDoDefaultAction(kSelf), S_OK);
    ASSERT_EQ(tree.ActionsDone.size(), 1u);
    EXPECT_EQ(tree.ActionsDone[0], std::make_pair(ok, 0));

    TRef<IAccessible> line = Button(3);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->accDoDefaultAction(kSelf), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(tree.ActionsDone.size(), 1u);
}

TEST_F(MsaaBridgeTest, NavigationGoesAlongSiblingsAndToFirstAndLastChildren) {
    TRef<IAccessible> toolBar = Child(Client().get(), 1);
    ASSERT_TRUE(toolBar);
    VARIANT end;
    VariantInit(&end);
    EXPECT_EQ(toolBar->accNavigate(NAVDIR_FIRSTCHILD, kSelf, &end), S_OK);
    EXPECT_EQ(Name(ObjectOf(end).get()), L"确定");
    EXPECT_EQ(toolBar->accNavigate(NAVDIR_LASTCHILD, kSelf, &end), S_OK);
    EXPECT_EQ(Name(ObjectOf(end).get()), L"打开");
    // From a child named by position.
    EXPECT_EQ(toolBar->accNavigate(NAVDIR_NEXT, ChildId(1), &end), S_OK);
    EXPECT_EQ(Name(ObjectOf(end).get()), L"粗体");

    TRef<IAccessible> first = Child(toolBar.get(), 1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->accNavigate(NAVDIR_PREVIOUS, kSelf, &end), S_FALSE);
    EXPECT_EQ(end.vt, VT_EMPTY);
    TRef<IAccessible> last = Child(toolBar.get(), 4);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->accNavigate(NAVDIR_NEXT, kSelf, &end), S_FALSE);
    EXPECT_EQ(last->accNavigate(NAVDIR_PREVIOUS, kSelf, &end), S_OK);
    EXPECT_EQ(Role(ObjectOf(end).get()), ROLE_SYSTEM_SEPARATOR);
    // The window's node has no siblings, and a button no children.
    TRef<IAccessible> client = Client();
    ASSERT_TRUE(client);
    EXPECT_EQ(client->accNavigate(NAVDIR_NEXT, kSelf, &end), S_FALSE);
    EXPECT_EQ(first->accNavigate(NAVDIR_FIRSTCHILD, kSelf, &end), S_FALSE);
}

TEST_F(MsaaBridgeTest, HitTestAndFocusAnswerTheDeepestNodeBelowTheObject) {
    TRef<IAccessible> client = Client();
    ASSERT_TRUE(client);
    VARIANT hit;
    VariantInit(&hit);
    EXPECT_EQ(client->accHitTest(150, 110, &hit), S_OK);
    EXPECT_EQ(Name(ObjectOf(hit).get()), L"粗体");
    // In the window but over no deeper node: the object itself.
    EXPECT_EQ(client->accHitTest(300, 250, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, CHILDID_SELF);
    EXPECT_EQ(client->accHitTest(50, 50, &hit), S_FALSE);
    EXPECT_EQ(hit.vt, VT_EMPTY);

    tree.FocusedNode = bold;
    VARIANT focused;
    VariantInit(&focused);
    EXPECT_EQ(client->get_accFocus(&focused), S_OK);
    EXPECT_EQ(Name(ObjectOf(focused).get()), L"粗体");
    TRef<IAccessible> button = Button(2);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->get_accFocus(&focused), S_OK);
    EXPECT_EQ(focused.vt, VT_I4);
    EXPECT_EQ(focused.lVal, CHILDID_SELF);
    // Focus outside the object is none of its business.
    TRef<IAccessible> other = Button(1);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->get_accFocus(&focused), S_FALSE);
    EXPECT_EQ(focused.vt, VT_EMPTY);
}

TEST_F(MsaaBridgeTest, ParentsLeadUpToTheSystemsWindowObject) {
    TRef<IAccessible> button = Button(1);
    ASSERT_TRUE(button);
    IDispatch* parent = nullptr;
    EXPECT_EQ(button->get_accParent(&parent), S_OK);
    TRef<IAccessible> toolBar = AsAccessible(parent);
    ASSERT_TRUE(toolBar);
    EXPECT_EQ(Name(toolBar.get()), L"标准");
    EXPECT_EQ(toolBar->get_accParent(&parent), S_OK);
    TRef<IAccessible> client = AsAccessible(parent);
    ASSERT_TRUE(client);
    EXPECT_EQ(Name(client.get()), L"测试");
    EXPECT_EQ(client->get_accParent(&parent), S_OK);
    TRef<IAccessible> frame = AsAccessible(parent);
    ASSERT_TRUE(frame);
    // The system's object for the window itself, which knows its window.
    TRef<IOleWindow> system;
    ASSERT_EQ(frame->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(system.out())), S_OK);
    HWND owner = nullptr;
    EXPECT_EQ(system->GetWindow(&owner), S_OK);
    EXPECT_EQ(owner, Handle(window));
}

TEST_F(MsaaBridgeTest, AWindowNotInTheTreeKeepsTheSystemsOwnObject) {
    TWindowStyle style;
    const WindowId other = backend->CreateWindow(style, {500, 100, 600, 200}, "其他");
    TRef<IAccessible> object;
    ASSERT_EQ(AccessibleObjectFromWindow(Handle(other), static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(object.out())),
              S_OK);
    // The system's client object, which knows nothing of the tree.
    EXPECT_EQ(Role(object.get()), ROLE_SYSTEM_CLIENT);
    LONG count = -1;
    object->get_accChildCount(&count);
    EXPECT_EQ(count, 0);
}

/// What the event hook heard.
struct THeardEvent {
    DWORD Event = 0;
    HWND Window = nullptr;
    LONG Object = 0;
    LONG Child = 0;
};
std::vector<THeardEvent> g_heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    g_heard.push_back({event, window, object, child});
}

/// The events heard within two seconds, once `count` have come.
void HearUntil(std::size_t count) {
    const DWORD start = GetTickCount();
    while (g_heard.size() < count && GetTickCount() - start < 2000) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
}

TEST_F(MsaaBridgeTest, EventsNameTheirNodeByAChildIdTheClientObjectLeadsBackFrom) {
    g_heard.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, nullptr, Hear,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    backend->NotifyAccessible(TAccessibleEvent::FocusChanged, bold);
    backend->NotifyAccessible(TAccessibleEvent::StateChanged, open);
    backend->NotifyAccessible(TAccessibleEvent::FocusChanged, root);
    HearUntil(3);
    UnhookWinEvent(hook);
    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_EQ(g_heard[0].Event, static_cast<DWORD>(EVENT_OBJECT_FOCUS));
    EXPECT_EQ(g_heard[1].Event, static_cast<DWORD>(EVENT_OBJECT_STATECHANGE));
    EXPECT_EQ(g_heard[0].Window, Handle(window));
    EXPECT_EQ(g_heard[0].Object, OBJID_CLIENT);
    // Not a child position of the client object, which would name another node.
    EXPECT_LT(g_heard[0].Child, 0);
    EXPECT_EQ(g_heard[2].Child, CHILDID_SELF);

    for (const auto& [heard, name] : {std::pair{g_heard[0], L"粗体"}, std::pair{g_heard[1], L"打开"}}) {
        TRef<IAccessible> object;
        VARIANT child;
        VariantInit(&child);
        ASSERT_EQ(AccessibleObjectFromEvent(heard.Window, static_cast<DWORD>(heard.Object),
                                            static_cast<DWORD>(heard.Child), object.out(), &child),
                  S_OK);
        EXPECT_EQ(Name(object.get(), child), name);
        VariantClear(&child);
    }
}

// A menu's end is told when its window closes, by which time its node may be gone.
TEST_F(MsaaBridgeTest, APopupMenuStartsAndEndsEvenWhenItsNodeIsGoneByTheEnd) {
    TWindowStyle style;
    style.Kind = TWindowKind::Popup;
    const WindowId popup = backend->CreateWindow(style, {120, 124, 220, 200}, "");
    const AccessibleId menu = tree.Add(0, popup, TAccessibleRole::Menu, "", {120, 124, 220, 200});
    g_heard.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPEND, nullptr,
                                         Hear, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    backend->NotifyAccessible(TAccessibleEvent::WindowShown, menu);
    // A dialog's window is no menu.
    backend->NotifyAccessible(TAccessibleEvent::WindowShown, root);
    tree.Remove(menu);
    tree.Roots.erase(popup);
    backend->NotifyAccessible(TAccessibleEvent::WindowHidden, menu);
    HearUntil(3);
    UnhookWinEvent(hook);
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_EQ(g_heard[0].Event, static_cast<DWORD>(EVENT_SYSTEM_MENUPOPUPSTART));
    EXPECT_EQ(g_heard[0].Window, Handle(popup));
    EXPECT_EQ(g_heard[1].Event, static_cast<DWORD>(EVENT_SYSTEM_MENUPOPUPEND));
    EXPECT_EQ(g_heard[1].Window, Handle(popup));
}

} // namespace
} // namespace emr::platform
