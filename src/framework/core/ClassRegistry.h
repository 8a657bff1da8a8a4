#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Events.h"
#include "framework/core/Exception.h"

namespace emr {

/// The kinds of published property a stored layout can set.
enum class TPropKind {
    Integer,     // whole number; may also accept named constants (IdentToInt)
    Boolean,     // True / False
    Float,       // number with a fraction
    String,      // quoted text, UTF-8
    Enumeration, // identifier from Identifiers, passed as its ordinal
    Set,         // [a, b]: bit i set for Identifiers[i]
    Color,       // integer or a colour name (IdentToInt)
    Component,   // name of a component in the same layout
    Object,      // nested persistent object, set by path (Font.Height)
    Binary,      // { hex } data
    Event,       // name of a published method of the layout's root
    Collection,  // < item ... end > list of collection items
};

/// A value handed to or read from a property. Integer, Enumeration, Set and Color
/// use the int64 alternative; Component, Object and Collection the object pointer.
using TPropValue = std::variant<std::monostate, std::int64_t, bool, double, std::string,
                                std::vector<std::uint8_t>, TPersistent*, TNotifyEvent>;

/// One published property of a class.
struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    /// Enumeration and Set: the identifier of each ordinal.
    std::vector<std::string> Identifiers;
    /// Integer and Color: named constants accepted in place of a number.
    std::function<std::optional<std::int64_t>(std::string_view)> IdentToInt;
    std::function<TPropValue(const TObject*)> Get;
    /// Empty for read-only properties (a layout that sets one is in error).
    std::function<void(TObject*, const TPropValue&)> Set;
    /// Declared default of ordinal kinds; a writer omits a property equal to it.
    std::optional<std::int64_t> Default;

    bool ReadOnly() const { return !Set; }
    /// Ordinal of an identifier (case-insensitive), or nullopt.
    std::optional<std::int64_t> OrdinalOf(std::string_view identifier) const;
};

/// A registered class: how to create it and what it publishes.
class TClassInfo {
public:
    std::string Name;
    const TClassInfo* Parent = nullptr;
    /// Creates an instance owned by `owner`; empty for classes a layout cannot create.
    std::function<TComponent*(TComponent* owner)> Create;
    std::vector<TPropInfo> Properties;
    /// Published methods by name: bind one to an instance to get an event handler.
    std::map<std::string, std::function<TNotifyEvent(TObject*)>, std::less<>> Methods;
    /// Published fields of a layout root: the reader stores each component it
    /// creates under that name (type-checked by the setter, which throws on a mismatch).
    std::map<std::string, std::function<void(TObject* root, TComponent* component)>, std::less<>> Fields;

    /// The property of that name here or in a base class (case-insensitive).
    const TPropInfo* FindProperty(std::string_view name) const;
    /// The published method of that name here or in a base class.
    const std::function<TNotifyEvent(TObject*)>* FindMethod(std::string_view name) const;
    /// The field setter of that name here or in a base class.
    const std::function<void(TObject*, TComponent*)>* FindField(std::string_view name) const;
    /// True when this class is `ancestor` or derives from it.
    bool InheritsFrom(std::string_view ancestor) const;
};

/// Classes by name. Layers register their classes from one function each
/// (RegisterFrameworkClasses and so on), never from static initialisers, which a
/// static library would drop.
class TClassRegistry {
public:
    static TClassRegistry& Instance();

    /// Adds a class or returns the existing entry. The parent must be registered
    /// already (empty parent for roots).
    TClassInfo& Register(std::string_view name, std::string_view parent);
    const TClassInfo* Find(std::string_view name) const;
    /// The entry for the object's own class (by ClassName), or null when it was never registered.
    const TClassInfo* InfoFor(const TObject* object) const;

private:
    std::map<std::string, std::unique_ptr<TClassInfo>, std::less<>> classes_;
};

/// Fluent registration of one class's published properties:
///
///     TClassRegistrar<TPanel>("TCustomControl")
///         .Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1)
///         .Enum<TBevelCut>("BevelInner", {"bvNone", "bvLowered", "bvRaised", "bvSpace"},
///                          &TPanel::BevelInner, &TPanel::SetBevelInner);
template <class C> class TClassRegistrar {
public:
    explicit TClassRegistrar(std::string_view parent)
        : info_(TClassRegistry::Instance().Register(C::StaticClassName, parent)) {
        if constexpr (std::is_constructible_v<C, TComponent*> && !std::is_abstract_v<C>)
            info_.Create = [](TComponent* owner) -> TComponent* { return new C(owner); };
    }

    template <class G, class S>
    TClassRegistrar& Integer(std::string name, G get, S set, std::optional<std::int64_t> def = {}) {
        return Ordinal(std::move(name), TPropKind::Integer, get, set, def);
    }
    template <class G, class S>
    TClassRegistrar& Color(std::string name, G get, S set, std::optional<std::int64_t> def = {}) {
        return Ordinal(std::move(name), TPropKind::Color, get, set, def);
    }
    /// An integer property that also accepts named constants (charsets, cursors).
    template <class G, class S>
    TClassRegistrar& NamedInteger(std::string name,
                                  std::function<std::optional<std::int64_t>(std::string_view)> idents, G get,
                                  S set, std::optional<std::int64_t> def = {}) {
        Ordinal(std::move(name), TPropKind::Integer, get, set, def);
        info_.Properties.back().IdentToInt = std::move(idents);
        return *this;
    }
    template <class G, class S>
    TClassRegistrar& Boolean(std::string name, G get, S set, std::optional<bool> def = {}) {
        TPropInfo p = Base(std::move(name), TPropKind::Boolean);
        p.Get = [get](const TObject* o) -> TPropValue {
            return static_cast<bool>(std::invoke(get, Self(o)));
        };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.Set = [set](TObject* o, const TPropValue& v) { std::invoke(set, Self(o), std::get<bool>(v)); };
        if (def) p.Default = *def ? 1 : 0;
        return Add(std::move(p));
    }
    template <class G, class S> TClassRegistrar& Float(std::string name, G get, S set) {
        TPropInfo p = Base(std::move(name), TPropKind::Float);
        p.Get = [get](const TObject* o) -> TPropValue {
            return static_cast<double>(std::invoke(get, Self(o)));
        };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.Set = [set](TObject* o, const TPropValue& v) {
                std::invoke(set, Self(o), std::get<double>(v));
            };
        return Add(std::move(p));
    }
    template <class G, class S> TClassRegistrar& String(std::string name, G get, S set) {
        TPropInfo p = Base(std::move(name), TPropKind::String);
        p.Get = [get](const TObject* o) -> TPropValue { return std::string(std::invoke(get, Self(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.Set = [set](TObject* o, const TPropValue& v) {
                std::invoke(set, Self(o), std::get<std::string>(v));
            };
        return Add(std::move(p));
    }
    template <class E, class G, class S>
    TClassRegistrar& Enum(std::string name, std::vector<std::string> identifiers, G get, S set,
                          std::optional<E> def = {}) {
        TPropInfo p = Base(std::move(name), TPropKind::Enumeration);
        p.Identifiers = std::move(identifiers);
        p.Get = [get](const TObject* o) -> TPropValue {
            return static_cast<std::int64_t>(static_cast<E>(std::invoke(get, Self(o))));
        };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.Set = [set](TObject* o, const TPropValue& v) {
                std::invoke(set, Self(o), static_cast<E>(std::get<std::int64_t>(v)));
            };
        if (def) p.Default = static_cast<std::int64_t>(*def);
        return Add(std::move(p));
    }
    /// A set of enumeration values; getter and setter exchange the bit mask type T.
    template <class T, class G, class S>
    TClassRegistrar& SetOf(std::string name, std::vector<std::string> identifiers, G get, S set,
                           std::optional<std::int64_t> def = {}) {
        TPropInfo p = Base(std::move(name), TPropKind::Set);
        p.Identifiers = std::move(identifiers);
        p.Get = [get](const TObject* o) -> TPropValue {
            return static_cast<std::int64_t>(static_cast<T>(std::invoke(get, Self(o))));
        };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.Set = [set](TObject* o, const TPropValue& v) {
                std::invoke(set, Self(o), static_cast<T>(std::get<std::int64_t>(v)));
            };
        p.Default = def;
        return Add(std::move(p));
    }
    /// A reference to another component of class T (or null).
    template <class T, class G, class S> TClassRegistrar& ComponentRef(std::string name, G get, S set) {
        TPropInfo p = Base(std::move(name), TPropKind::Component);
        p.Get = [get](const TObject* o) -> TPropValue {
            return static_cast<TPersistent*>(std::invoke(get, Self(o)));
        };
        std::string propName = p.Name;
        p.Set = [set, propName](TObject* o, const TPropValue& v) {
            TPersistent* obj = std::get<TPersistent*>(v);
            T* typed = dynamic_cast<T*>(obj);
            if (obj && !typed)
                throw Exception("Property " + propName + " needs a " + std::string(T::StaticClassName) +
                                ", not a " + std::string(obj->ClassName()));
            std::invoke(set, Self(o), typed);
        };
        return Add(std::move(p));
    }
    /// An owned persistent object whose own properties are set by path.
    template <class G> TClassRegistrar& Object(std::string name, G get) {
        TPropInfo p = Base(std::move(name), TPropKind::Object);
        p.Get = [get](const TObject* o) -> TPropValue {
            return static_cast<TPersistent*>(std::invoke(get, const_cast<C*>(Self(o))));
        };
        return Add(std::move(p));
    }
    /// An owned collection; the reader adds its items.
    template <class G> TClassRegistrar& Collection(std::string name, G get) {
        TPropInfo p = Base(std::move(name), TPropKind::Collection);
        p.Get = [get](const TObject* o) -> TPropValue {
            return static_cast<TPersistent*>(std::invoke(get, const_cast<C*>(Self(o))));
        };
        return Add(std::move(p));
    }
    template <class G, class S> TClassRegistrar& Binary(std::string name, G get, S set) {
        TPropInfo p = Base(std::move(name), TPropKind::Binary);
        p.Get = [get](const TObject* o) -> TPropValue {
            return std::vector<std::uint8_t>(std::invoke(get, Self(o)));
        };
        p.Set = [set](TObject* o, const TPropValue& v) {
            std::invoke(set, Self(o), std::get<std::vector<std::uint8_t>>(v));
        };
        return Add(std::move(p));
    }
    /// An event property: a TNotifyEvent member the layout binds to a method of its root.
    TClassRegistrar& Event(std::string name, TNotifyEvent C::*member) {
        TPropInfo p = Base(std::move(name), TPropKind::Event);
        p.Get = [member](const TObject* o) -> TPropValue { return Self(o)->*member; };
        p.Set = [member](TObject* o, const TPropValue& v) { Self(o)->*member = std::get<TNotifyEvent>(v); };
        return Add(std::move(p));
    }
    /// A published method that layouts name in event properties.
    TClassRegistrar& Method(std::string name, void (C::*method)(TObject*)) {
        info_.Methods[std::move(name)] = [method](TObject* o) -> TNotifyEvent {
            C* self = static_cast<C*>(o);
            return [self, method](TObject* sender) { (self->*method)(sender); };
        };
        return *this;
    }

    /// A published field of a layout root that receives the component of that name.
    template <class T> TClassRegistrar& Field(std::string name, T* C::*member) {
        std::string fieldName = name;
        info_.Fields[std::move(name)] = [member, fieldName](TObject* root, TComponent* component) {
            T* typed = dynamic_cast<T*>(component);
            if (component && !typed)
                throw Exception("Field " + fieldName + " needs a " + std::string(T::StaticClassName) +
                                ", not a " + std::string(component->ClassName()));
            static_cast<C*>(root)->*member = typed;
        };
        return *this;
    }

    TClassInfo& Info() { return info_; }

private:
    static const C* Self(const TObject* o) { return static_cast<const C*>(o); }
    static C* Self(TObject* o) { return static_cast<C*>(o); }

    TPropInfo Base(std::string name, TPropKind kind) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        return p;
    }
    TClassRegistrar& Add(TPropInfo p) {
        for (auto& existing : info_.Properties)
            if (existing.Name == p.Name) {
                existing = std::move(p);
                return *this;
            }
        info_.Properties.push_back(std::move(p));
        return *this;
    }
    template <class G, class S>
    TClassRegistrar& Ordinal(std::string name, TPropKind kind, G get, S set,
                             std::optional<std::int64_t> def) {
        TPropInfo p = Base(std::move(name), kind);
        p.Get = [get](const TObject* o) -> TPropValue {
            return static_cast<std::int64_t>(std::invoke(get, Self(o)));
        };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.Set = [set](TObject* o, const TPropValue& v) {
                std::invoke(set, Self(o), std::get<std::int64_t>(v));
            };
        p.Default = def;
        return Add(std::move(p));
    }

    TClassInfo& info_;
};

/// Registers the core classes (TPersistent, TComponent, TCollection). Idempotent.
void RegisterCoreClasses();

} // namespace emr
