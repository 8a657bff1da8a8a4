#pragma once
// For the .cpp files of this backend only: includes the system headers.
#include <memory>

#include "framework/platform/Accessible.h"
#include "framework/platform/win32/MsaaConnection.h"
#include "framework/platform/win32/MsaaLibrary.h"

namespace emr::platform::win32 {

/// One node of the accessible tree as the system's accessible object: a live
/// view that reads the node from the tree on every call, so it never holds a
/// stale name or state, and says so once the node or the tree is gone.
///
/// Child ids name nodes relative to the object: CHILDID_SELF the node itself,
/// 1..n its children by position, negative ids the nodes events named (see
/// TMsaaChildIds). Every child is an object of its own as well.
class TMsaaObject final : public IAccessible {
public:
    /// A new object holding one reference, the caller's.
    static TMsaaObject* Create(std::shared_ptr<TMsaaConnection> connection, AccessibleId node);

    AccessibleId Node() const { return node_; }

    // IUnknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: clients of this interface call it directly, never by name.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IAccessible.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    TMsaaObject(std::shared_ptr<TMsaaConnection> connection, AccessibleId node);
    ~TMsaaObject() = default;

    /// The node a child id names, as it is now.
    HRESULT Resolve(const VARIANT& child, AccessibleId& id, TAccessibleNode& node) const;
    /// One of the node's texts as a system string; S_FALSE when it is empty.
    HRESULT Text(const VARIANT& child, std::string TAccessibleNode::*field, BSTR* out) const;
    /// A new object for a node, as the IDispatch clients are handed.
    IDispatch* ObjectFor(AccessibleId id) const;
    /// Whether `node` lies below this object's node.
    bool IsBelow(AccessibleId node) const;
    /// `found` relative to this object: CHILDID_SELF, an object below it, or
    /// nothing (S_FALSE) for a node elsewhere.
    HRESULT Answer(AccessibleId found, VARIANT* out) const;
    /// The sibling of a node `step` places on (-1 before, +1 after); 0 for none.
    AccessibleId Sibling(const TAccessibleNode& node, AccessibleId id, int step) const;

    std::shared_ptr<TMsaaConnection> connection_;
    AccessibleId node_ = 0;
    LONG references_ = 1;
};

} // namespace emr::platform::win32
