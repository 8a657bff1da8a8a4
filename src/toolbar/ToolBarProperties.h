#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/forms/StdCtrlTypes.h"
#include "styling/RecordFields.h"
#include "toolbar/ToolBarChrome.h"
#include "toolbar/ToolBarTypes.h"

namespace emr {

class TAdvHintInfo;
class TCustomAdvToolBarStyler;
class TCustomImageList;
class TFont;
class TMainMenu;
class TPersistence;
class TPicture;
class TPopupMenu;

// A toolbar's published properties, one line each, in the order stored layouts
// write them:
//
//   F(Kind, Type, Name, Start, Rule, StoreRule)
//
//   Kind   Bool, Int, Enum, Set (a bit mask of dock edges), String, Object (an
//          owned record the setter copies into) or Ref (another component).
//   Rule   Custom: the setter is written by hand (it has more to do than store);
//          Silent: the setter only stores (an Object copies);
//          Inert: stored and streamed, but nothing on a docked, floating or
//          standalone toolbar reads it, so it lives apart in
//          TToolBarInertProperties and its setter only stores;
//          Fixed: no member; the getter reads Start and the setter ignores
//          what it is given;
//          Hand: getter and setter are written by hand, without a member.
//   StoreRule  as for the styling records (RecordFields.h): Start leaves the
//          value out while it holds Start, Always writes it, Never keeps it out
//          of stored layouts. Strings, objects and references ignore it.
//
// From the list come the members, the getters and setters, and the registration.
// Objects are created by the toolbar's constructor, which also hooks their
// change events.
//
// AutoMDIButtons holds only on a full-size toolbar with a Menu inside a form.
// Setting Menu generates one menu button per top-level item (the menu-bar mode).
// Persistence says where the toolbar saves its floating state and visible
// buttons; a dock panel copies its own Enabled, Key and Location into it.
// ToolBarIndex reads -1 and ignores writes: only a toolbar on a ribbon page has
// an index. Version reads the library's version and ignores writes.
#define EMR_TOOLBAR_PROPERTIES(F)                                                                            \
    F(Object, TPersistence, Persistence, {}, Silent, Start)                                                  \
    F(Bool, bool, AllowFloating, true, Custom, Start)                                                        \
    F(Enum, TAntiAlias, AntiAlias, TAntiAlias::aaClearType, Inert, Start)                                    \
    F(Bool, bool, AutoArrangeButtons, true, Custom, Start)                                                   \
    F(Bool, bool, AutoDockOnClose, false, Silent, Start)                                                     \
    F(Bool, bool, AutoMDIButtons, false, Custom, Start)                                                      \
    F(Bool, bool, AutoOptionMenu, false, Silent, Start)                                                      \
    F(Bool, bool, AutoPositionControls, true, Custom, Start)                                                 \
    F(Bool, bool, AutoSize, true, Custom, Start)                                                             \
    F(Bool, bool, Locked, false, Custom, Start)                                                              \
    F(String, std::string, Caption, "", Custom, Start)                                                       \
    F(Object, TFont, CaptionFont, {}, Custom, Start)                                                         \
    F(Int, int, CaptionHeight, TToolBarChrome::DefaultCaptionHeight, Custom, Start)                          \
    F(Enum, TCaptionPosition, CaptionPosition, TCaptionPosition::cpTop, Custom, Start)                       \
    F(Enum, TAlignment, CaptionAlignment, TAlignment::taLeftJustify, Custom, Start)                          \
    F(String, std::string, CompactCaption, "", Inert, Start)                                                 \
    F(Object, TPicture, CompactPicture, {}, Inert, Start)                                                    \
    F(Int, int, CompactImageIndex, -1, Inert, Start)                                                         \
    F(String, std::string, CompactShortCutHint, "", Inert, Start)                                            \
    F(Bool, bool, ShowCaption, false, Custom, Start)                                                         \
    F(String, std::string, HintOptionButton, "", Silent, Start)                                              \
    F(String, std::string, HintCloseButton, "", Silent, Start)                                               \
    F(Bool, bool, ShowRightHandle, true, Custom, Start)                                                      \
    F(Bool, bool, ShowClose, true, Silent, Start)                                                            \
    F(Bool, bool, ShowOptionIndicator, true, Custom, Start)                                                  \
    F(Set, TDockableTo, DockableTo, DockableToAll, Silent, Start)                                            \
    F(Enum, TDockMode, DockMode, TDockMode::dmAll, Silent, Start)                                            \
    F(Bool, bool, FullSize, false, Custom, Start)                                                            \
    F(String, std::string, TextAutoOptionMenu, "Add or Remove Buttons", Silent, Start)                       \
    F(String, std::string, TextOptionMenu, "Options", Silent, Start)                                         \
    F(Bool, bool, ParentStyler, true, Custom, Start)                                                         \
    F(Ref, TCustomAdvToolBarStyler, ToolBarStyler, {}, Custom, Start)                                        \
    F(Ref, TCustomImageList, Images, {}, Custom, Start)                                                      \
    F(Ref, TCustomImageList, DisabledImages, {}, Custom, Start)                                              \
    F(Ref, TMainMenu, Menu, {}, Hand, Start)                                                                 \
    F(Ref, TPopupMenu, OptionMenu, {}, Custom, Start)                                                        \
    F(Object, TPicture, OptionPicture, {}, Silent, Start)                                                    \
    F(Object, TPicture, OptionDisabledPicture, {}, Silent, Start)                                            \
    F(Bool, bool, ParentOptionPicture, true, Inert, Start)                                                   \
    F(Int, int, ToolBarIndex, -1, Fixed, Always)                                                             \
    F(Object, TAdvHintInfo, OfficeHint, {}, Inert, Start)                                                    \
    F(String, std::string, Version, ToolBarVersion, Fixed, Start)                                            \
    F(Int, int, FloatingRows, 1, Custom, Never)

// ---- Members -------------------------------------------------------------------------------------

#define EMR_TBP_FIELD_Bool(Type, Name, Start) Type Name = Start;
#define EMR_TBP_FIELD_Int(Type, Name, Start) Type Name = Start;
#define EMR_TBP_FIELD_Enum(Type, Name, Start) Type Name = Start;
#define EMR_TBP_FIELD_Set(Type, Name, Start) Type Name = Start;
#define EMR_TBP_FIELD_String(Type, Name, Start) std::string Name = Start;
#define EMR_TBP_FIELD_Object(Type, Name, Start) std::unique_ptr<Type> Name;
#define EMR_TBP_FIELD_Ref(Type, Name, Start) Type* Name = nullptr;

#define EMR_TBP_LIVE_Custom(Kind, Type, Name, Start) EMR_TBP_FIELD_##Kind(Type, Name, Start)
#define EMR_TBP_LIVE_Silent(Kind, Type, Name, Start) EMR_TBP_FIELD_##Kind(Type, Name, Start)
#define EMR_TBP_LIVE_Inert(Kind, Type, Name, Start)
#define EMR_TBP_LIVE_Hand(Kind, Type, Name, Start)
#define EMR_TBP_LIVE_Fixed(Kind, Type, Name, Start)
#define EMR_TBP_LIVE_MEMBER(Kind, Type, Name, Start, Rule, Store) EMR_TBP_LIVE_##Rule(Kind, Type, Name, Start)

#define EMR_TBP_INERT_Custom(Kind, Type, Name, Start)
#define EMR_TBP_INERT_Silent(Kind, Type, Name, Start)
#define EMR_TBP_INERT_Inert(Kind, Type, Name, Start) EMR_TBP_FIELD_##Kind(Type, Name, Start)
#define EMR_TBP_INERT_Hand(Kind, Type, Name, Start)
#define EMR_TBP_INERT_Fixed(Kind, Type, Name, Start)
#define EMR_TBP_INERT_MEMBER(Kind, Type, Name, Start, Rule, Store)                                           \
    EMR_TBP_INERT_##Rule(Kind, Type, Name, Start)

/// The values of the toolbar's published properties that it acts on.
struct TToolBarProperties {
    EMR_TOOLBAR_PROPERTIES(EMR_TBP_LIVE_MEMBER)
};

/// The published properties a toolbar stores and streams but never reads
/// itself: they belong to a toolbar on a ribbon page (the compact button and its
/// caption, picture, image and shortcut hint, the inherited option picture), to
/// the rich hint window (OfficeHint), or to a caption painter that only the
/// ribbon's captions use (AntiAlias). Kept apart so that nobody mistakes them
/// for switches with an effect here.
struct TToolBarInertProperties {
    EMR_TOOLBAR_PROPERTIES(EMR_TBP_INERT_MEMBER)
};

// ---- Getters and setters -------------------------------------------------------------------------

#define EMR_TBP_ARG_Bool(Type) Type
#define EMR_TBP_ARG_Int(Type) Type
#define EMR_TBP_ARG_Enum(Type) Type
#define EMR_TBP_ARG_Set(Type) Type
#define EMR_TBP_ARG_String(Type) const std::string&
#define EMR_TBP_ARG_Object(Type) const Type*
#define EMR_TBP_ARG_Ref(Type) Type*

#define EMR_TBP_GET_Bool(Type, Name, where)                                                                  \
    Type Name() const {                                                                                      \
        return where.Name;                                                                                   \
    }
#define EMR_TBP_GET_Int(Type, Name, where) EMR_TBP_GET_Bool(Type, Name, where)
#define EMR_TBP_GET_Enum(Type, Name, where) EMR_TBP_GET_Bool(Type, Name, where)
#define EMR_TBP_GET_Set(Type, Name, where) EMR_TBP_GET_Bool(Type, Name, where)
#define EMR_TBP_GET_String(Type, Name, where) EMR_TBP_GET_Bool(const std::string&, Name, where)
#define EMR_TBP_GET_Ref(Type, Name, where) EMR_TBP_GET_Bool(Type*, Name, where)
#define EMR_TBP_GET_Object(Type, Name, where)                                                                \
    Type* Name() const {                                                                                     \
        return where.Name.get();                                                                             \
    }

#define EMR_TBP_STORE_Bool(Name, where) where.Name = value;
#define EMR_TBP_STORE_Int(Name, where) where.Name = value;
#define EMR_TBP_STORE_Enum(Name, where) where.Name = value;
#define EMR_TBP_STORE_Set(Name, where) where.Name = value;
#define EMR_TBP_STORE_String(Name, where) where.Name = value;
#define EMR_TBP_STORE_Ref(Name, where) where.Name = value;
#define EMR_TBP_STORE_Object(Name, where) where.Name->Assign(value);

#define EMR_TBP_SILENT_SETTER(Kind, Type, Name, where)                                                       \
    void Set##Name(EMR_TBP_ARG_##Kind(Type) value) {                                                         \
        EMR_TBP_STORE_##Kind(Name, where)                                                                    \
    }

#define EMR_TBP_ACCESS_Custom(Kind, Type, Name, Start)                                                       \
    EMR_TBP_GET_##Kind(Type, Name, published_) void Set##Name(EMR_TBP_ARG_##Kind(Type) value);
#define EMR_TBP_ACCESS_Silent(Kind, Type, Name, Start)                                                       \
    EMR_TBP_GET_##Kind(Type, Name, published_) EMR_TBP_SILENT_SETTER(Kind, Type, Name, published_)
#define EMR_TBP_ACCESS_Inert(Kind, Type, Name, Start)                                                        \
    EMR_TBP_GET_##Kind(Type, Name, inert_) EMR_TBP_SILENT_SETTER(Kind, Type, Name, inert_)
#define EMR_TBP_ACCESS_Hand(Kind, Type, Name, Start)
#define EMR_TBP_ACCESS_Fixed(Kind, Type, Name, Start)                                                        \
    Type Name() const {                                                                                      \
        return Start;                                                                                        \
    }                                                                                                        \
    void Set##Name(EMR_TBP_ARG_##Kind(Type)) {}
#define EMR_TBP_ACCESSORS(Kind, Type, Name, Start, Rule, Store) EMR_TBP_ACCESS_##Rule(Kind, Type, Name, Start)

/// Declares the toolbar's published getters and setters from its list; they
/// read the members published_ and inert_.
#define EMR_TOOLBAR_PROPERTY_ACCESSORS EMR_TOOLBAR_PROPERTIES(EMR_TBP_ACCESSORS)

// ---- Registration --------------------------------------------------------------------------------

/// The identifiers stored layouts spell the toolbar's enumerations with.
template <class E> const std::vector<std::string>& ToolBarEnumIdentifiers();
template <> inline const std::vector<std::string>& ToolBarEnumIdentifiers<TAntiAlias>() {
    static const std::vector<std::string> names = {"aaNone", "aaClearType", "aaAntiAlias"};
    return names;
}
template <> inline const std::vector<std::string>& ToolBarEnumIdentifiers<TCaptionPosition>() {
    static const std::vector<std::string> names = {"cpTop", "cpBottom"};
    return names;
}
template <> inline const std::vector<std::string>& ToolBarEnumIdentifiers<TAlignment>() {
    static const std::vector<std::string> names = {"taLeftJustify", "taRightJustify", "taCenter"};
    return names;
}
template <> inline const std::vector<std::string>& ToolBarEnumIdentifiers<TDockMode>() {
    static const std::vector<std::string> names = {"dmAll", "dmAllParentDockPanels", "dmParentDockPanelOnly"};
    return names;
}
/// The dock edges of a DockableTo set, bit 0 first.
inline const std::vector<std::string>& ToolBarDockEdgeIdentifiers() {
    static const std::vector<std::string> names = {"daLeft", "daTop", "daRight", "daBottom"};
    return names;
}

/// The value a stored layout leaves out, or none when it always writes the property.
template <class V> std::optional<V> StoredDefault(TFieldStore store, V start) {
    return store == TFieldStore::Start ? std::optional<V>(start) : std::nullopt;
}

#define EMR_TBP_PUBLISH_Bool(C, Type, Name, Start, store)                                                    \
    reg.Boolean(#Name, &C::Name, &C::Set##Name, StoredDefault<bool>(store, Start));
#define EMR_TBP_PUBLISH_Int(C, Type, Name, Start, store)                                                     \
    reg.Integer(#Name, &C::Name, &C::Set##Name, StoredDefault<std::int64_t>(store, Start));
#define EMR_TBP_PUBLISH_Enum(C, Type, Name, Start, store)                                                    \
    reg.template Enum<Type>(#Name, ToolBarEnumIdentifiers<Type>(), &C::Name, &C::Set##Name,                  \
                            StoredDefault<Type>(store, Start));
#define EMR_TBP_PUBLISH_Set(C, Type, Name, Start, store)                                                     \
    reg.template SetOf<Type>(#Name, ToolBarDockEdgeIdentifiers(), &C::Name, &C::Set##Name,                   \
                             StoredDefault<std::int64_t>(store, Start));
#define EMR_TBP_PUBLISH_String(C, Type, Name, Start, store) reg.String(#Name, &C::Name, &C::Set##Name);
#define EMR_TBP_PUBLISH_Object(C, Type, Name, Start, store) reg.Object(#Name, &C::Name);
#define EMR_TBP_PUBLISH_Ref(C, Type, Name, Start, store)                                                     \
    reg.template ComponentRef<Type>(#Name, &C::Name, &C::Set##Name);
#define EMR_TBP_PUBLISH(Kind, Type, Name, Start, Rule, Store)                                                \
    {                                                                                                        \
        constexpr TFieldStore store = TFieldStore::Store;                                                    \
        if (store != TFieldStore::Never) {                                                                   \
            EMR_TBP_PUBLISH_##Kind(C, Type, Name, Start, store)                                              \
        }                                                                                                    \
    }

/// Publishes every property of the list on C's registrar, in list order.
template <class C> void PublishToolBarProperties(TClassRegistrar<C>& reg) {
    EMR_TOOLBAR_PROPERTIES(EMR_TBP_PUBLISH)
}

} // namespace emr
