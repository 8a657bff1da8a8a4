#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/graphics/Color.h"
#include "styling/StylingTypes.h"

// A styling record states each published field once, in a list next to its
// class, one line per field:
//
//   F(Type, Name, member, Start, SetRule, CopyRule, StoreRule)
//
//   SetRule   how the generated setter stores a value: Change notifies on a real
//         change, Always notifies on every call, Silent only stores, Custom is
//         declared here and written by hand (it has more to do).
//   CopyRule  what Assign does with it: Plain copies without notifying, Setter
//         copies through the setter, Skip leaves it.
//   StoreRule whether a stored layout leaves the field out while it holds Start
//         (Start) or always writes it (Always); Never keeps an unpublished field
//         out of stored layouts altogether.
//
// From the list come the getter, the setter, the member with its start value,
// Assign's copy, and the stored-layout registration. The class provides
// Changed(), which tells its owner about a change.
//
// A component that tells its clients what kind of thing changed (a styler and
// its change codes) names the code after the start value:
//
//   F(Type, Name, member, Start, Code, SetRule, CopyRule, StoreRule)
//
// and declares its fields with EMR_CODED_FIELDS; its generated setters call
// Changed(Code). Silent and Custom setters take no code; such lines say scSilent.

namespace emr {

enum class TFieldCopy { Plain, Setter, Skip };
enum class TFieldStore { Start, Always, Never };

/// One field of record R holding a V.
template <class R, class V> struct TRecordField {
    using Record = R;
    std::string_view Name;
    V R::*Member;
    void (R::*Setter)(V);
    V Start;
    TFieldCopy Copy;
    TFieldStore Store;
};

#define EMR_FIELD_SETTER_Change(Type, Name, member)                                                          \
    void Set##Name(Type value) {                                                                             \
        if (member == value) return;                                                                         \
        member = value;                                                                                      \
        Changed();                                                                                           \
    }
#define EMR_FIELD_SETTER_Always(Type, Name, member)                                                          \
    void Set##Name(Type value) {                                                                             \
        member = value;                                                                                      \
        Changed();                                                                                           \
    }
#define EMR_FIELD_SETTER_Silent(Type, Name, member)                                                          \
    void Set##Name(Type value) {                                                                             \
        member = value;                                                                                      \
    }
#define EMR_FIELD_SETTER_Custom(Type, Name, member) void Set##Name(Type value);

#define EMR_FIELD_ACCESSORS(Type, Name, member, Start, SetRule, CopyRule, StoreRule)                         \
    Type Name() const {                                                                                      \
        return member;                                                                                       \
    }                                                                                                        \
    EMR_FIELD_SETTER_##SetRule(Type, Name, member)
#define EMR_FIELD_MEMBER(Type, Name, member, Start, SetRule, CopyRule, StoreRule) Type member = Start;
#define EMR_FIELD_ENTRY(Type, Name, member, Start, SetRule, CopyRule, StoreRule)                             \
    ::emr::TRecordField<Self, Type>{#Name,                                                                   \
                                    &Self::member,                                                           \
                                    &Self::Set##Name,                                                        \
                                    static_cast<Type>(Start),                                                \
                                    ::emr::TFieldCopy::CopyRule,                                             \
                                    ::emr::TFieldStore::StoreRule},

/// Declares a record's getters, setters, field table and members from its list.
/// Leaves the class in its private section.
#define EMR_RECORD_FIELDS(Class, LIST)                                                                       \
public:                                                                                                      \
    LIST(EMR_FIELD_ACCESSORS)                                                                                \
    /** The published fields, in list order. */                                                              \
    static constexpr auto Fields() {                                                                         \
        using Self = Class;                                                                                  \
        return std::tuple{LIST(EMR_FIELD_ENTRY)};                                                            \
    }                                                                                                        \
                                                                                                             \
private:                                                                                                     \
    LIST(EMR_FIELD_MEMBER)

#define EMR_CODED_FIELD_SETTER_Change(Type, Name, member, Code)                                              \
    void Set##Name(Type value) {                                                                             \
        if (member == value) return;                                                                         \
        member = value;                                                                                      \
        Changed(Code);                                                                                       \
    }
#define EMR_CODED_FIELD_SETTER_Always(Type, Name, member, Code)                                              \
    void Set##Name(Type value) {                                                                             \
        member = value;                                                                                      \
        Changed(Code);                                                                                       \
    }
#define EMR_CODED_FIELD_SETTER_Silent(Type, Name, member, Code) EMR_FIELD_SETTER_Silent(Type, Name, member)
#define EMR_CODED_FIELD_SETTER_Custom(Type, Name, member, Code) EMR_FIELD_SETTER_Custom(Type, Name, member)

#define EMR_CODED_FIELD_ACCESSORS(Type, Name, member, Start, Code, SetRule, CopyRule, StoreRule)             \
    Type Name() const {                                                                                      \
        return member;                                                                                       \
    }                                                                                                        \
    EMR_CODED_FIELD_SETTER_##SetRule(Type, Name, member, Code)
#define EMR_CODED_FIELD_MEMBER(Type, Name, member, Start, Code, SetRule, CopyRule, StoreRule)                \
    EMR_FIELD_MEMBER(Type, Name, member, Start, SetRule, CopyRule, StoreRule)
#define EMR_CODED_FIELD_ENTRY(Type, Name, member, Start, Code, SetRule, CopyRule, StoreRule)                 \
    EMR_FIELD_ENTRY(Type, Name, member, Start, SetRule, CopyRule, StoreRule)

/// EMR_RECORD_FIELDS for a list whose lines carry a change code.
#define EMR_CODED_FIELDS(Class, LIST)                                                                        \
public:                                                                                                      \
    LIST(EMR_CODED_FIELD_ACCESSORS)                                                                          \
    /** The fields, in list order. */                                                                        \
    static constexpr auto Fields() {                                                                         \
        using Self = Class;                                                                                  \
        return std::tuple{LIST(EMR_CODED_FIELD_ENTRY)};                                                      \
    }                                                                                                        \
                                                                                                             \
private:                                                                                                     \
    LIST(EMR_CODED_FIELD_MEMBER)

/// Assign's copy: the plain fields first, then the setter fields in list order,
/// so that whoever a setter notifies sees the whole copy.
template <class R> void AssignFields(R& to, const R& from) {
    constexpr auto fields = R::Fields();
    std::apply(
        [&](const auto&... f) {
            ((f.Copy == TFieldCopy::Plain ? void(to.*(f.Member) = from.*(f.Member)) : void()), ...);
        },
        fields);
    std::apply(
        [&](const auto&... f) {
            ((f.Copy == TFieldCopy::Setter ? void((to.*(f.Setter))(from.*(f.Member))) : void()), ...);
        },
        fields);
}

/// Copies every field that Assign copies without notifying; true when any differed.
template <class R> bool CopyChangedFields(R& to, const R& from) {
    bool changed = false;
    std::apply(
        [&](const auto&... f) {
            (
                [&] {
                    if (f.Copy == TFieldCopy::Skip || to.*(f.Member) == from.*(f.Member)) return;
                    to.*(f.Member) = from.*(f.Member);
                    changed = true;
                }(),
                ...);
        },
        R::Fields());
    return changed;
}

/// The identifiers of an enumeration as stored layouts spell them.
template <class E> const std::vector<std::string>& EnumIdentifiers();
template <> inline const std::vector<std::string>& EnumIdentifiers<TGradientDirection>() {
    static const std::vector<std::string> names = {"gdHorizontal", "gdVertical"};
    return names;
}
template <> inline const std::vector<std::string>& EnumIdentifiers<TBackGroundDisplay>() {
    static const std::vector<std::string> names = {"bdTile", "bdCenter", "bdStretch"};
    return names;
}
template <> inline const std::vector<std::string>& EnumIdentifiers<TDragGripStyle>() {
    static const std::vector<std::string> names = {"dsDots", "dsSingleLine", "dsDoubleLine", "dsFlatDots",
                                                   "dsNone"};
    return names;
}
template <> inline const std::vector<std::string>& EnumIdentifiers<TGDIPGradient>() {
    static const std::vector<std::string> names = {"ggRadial", "ggVertical", "ggDiagonalForward",
                                                   "ggDiagonalBackward"};
    return names;
}

/// Publishes one field of R, by its type, on the registrar of R or of a class
/// derived from it.
template <class C, class R, class V>
requires std::is_base_of_v<R, C>
void PublishField(TClassRegistrar<C>& reg, const TRecordField<R, V>& f) {
    const std::string name(f.Name);
    const bool always = f.Store == TFieldStore::Always;
    if constexpr (std::is_same_v<V, TColor>) {
        reg.Color(name, f.Member, f.Setter,
                  always ? std::nullopt : std::optional<std::int64_t>(static_cast<std::int64_t>(f.Start)));
        // Colours also take their names (clBtnFace, clNone).
        reg.Info().Properties.back().IdentToInt = IdentToColor;
    } else if constexpr (std::is_same_v<V, bool>) {
        reg.Boolean(name, f.Member, f.Setter, always ? std::nullopt : std::optional<bool>(f.Start));
    } else if constexpr (std::is_same_v<V, int>) {
        reg.Integer(name, f.Member, f.Setter, always ? std::nullopt : std::optional<std::int64_t>(f.Start));
    } else {
        static_assert(std::is_enum_v<V>,
                      "a record field is a colour, a boolean, an integer or an enumeration");
        reg.template Enum<V>(name, EnumIdentifiers<V>(), f.Member, f.Setter,
                             always ? std::nullopt : std::optional<V>(f.Start));
    }
}

/// Publishes on C's registrar, in list order, every field of R's list that
/// stored layouts know (all but StoreRule Never) and that R declares itself: a
/// field R inherits is published with the class that declares it.
template <class R, class C> void PublishFields(TClassRegistrar<C>& reg) {
    static constexpr auto fields = R::Fields();
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (
            [&] {
                constexpr const auto& f = std::get<I>(fields);
                using Owner = typename std::remove_cvref_t<decltype(f)>::Record;
                if constexpr (std::is_same_v<Owner, R> && f.Store != TFieldStore::Never) PublishField(reg, f);
            }(),
            ...);
    }
    (std::make_index_sequence<std::tuple_size_v<decltype(fields)>>{});
}

/// Registers record R under its base class (R::Inherited) with every field of
/// its list; the caller adds what is not a plain field (owned objects, events).
template <class R> TClassRegistrar<R> RegisterRecord() {
    static_assert(std::is_base_of_v<typename R::Inherited, R>);
    TClassRegistrar<R> reg(R::Inherited::StaticClassName);
    PublishFields<R>(reg);
    return reg;
}

} // namespace emr
