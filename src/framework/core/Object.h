#pragma once

#include <string>
#include <string_view>

namespace emr {

/// Declares a class's run-time name; every framework class that can be named in a
/// stored layout or an error message uses it.
#define EMR_CLASS(Name)                                                                                      \
public:                                                                                                      \
    static constexpr std::string_view StaticClassName = #Name;                                               \
    std::string_view ClassName() const override {                                                            \
        return StaticClassName;                                                                              \
    }                                                                                                        \
                                                                                                             \
private:

/// Root of the class tree: a run-time class name and two-phase destruction.
class TObject {
public:
    static constexpr std::string_view StaticClassName = "TObject";

    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual std::string_view ClassName() const { return StaticClassName; }

    template <class T> bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }

    /// Runs while the object is still whole, before any destructor: components
    /// announce their removal and free what they own here, so that every virtual
    /// call made on the way still reaches the most derived class.
    virtual void BeforeDestruction() {}

    /// Destroys the object the way the framework expects (BeforeDestruction, then
    /// delete). Safe on a null pointer.
    static void Free(TObject* object) {
        if (!object) return;
        object->BeforeDestruction();
        delete object;
    }
};

/// Frees the object and clears the caller's pointer first, so the pointer never dangles.
template <class T> void FreeAndNil(T*& object) {
    T* doomed = object;
    object = nullptr;
    TObject::Free(doomed);
}

/// An object whose published state can be copied from another object.
class TPersistent : public TObject {
    EMR_CLASS(TPersistent)
public:
    /// Copies source into this object. The default asks source to AssignTo this, and
    /// fails with "Cannot assign a <source> to a <this>" when neither knows the other.
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

} // namespace emr
