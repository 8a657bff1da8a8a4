#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Component.h"
#include "framework/streaming/LayoutParser.h"

namespace emr {

/// Creates a form's components from a stored layout text and gives them their
/// stored values through the published-property registry.
///
/// Loading runs in this order: the text is parsed whole; each object is created
/// (owned by the root), put in its loading state, named, given its parent
/// component, stored in the root's field of that name, and given its properties
/// in file order; component references are resolved once every component
/// exists; then Loaded() runs on every component in creation order, root first.
///
/// Any fault raises Exception("line L, column C: ...") and frees every component
/// the reader created, so nothing half-built survives. A root passed in by the
/// caller stays the caller's.
class TLayoutReader {
public:
    /// Loads a layout into an existing root whose class (or a base of it) is the
    /// layout's root class; the root takes the layout's root name.
    static void ReadRootFromText(std::string_view text, TComponent* root);
    /// Creates the layout's root by its class name, owned by `owner`, and loads it.
    static TComponent* CreateFromText(std::string_view text, TComponent* owner);

private:
    /// A component reference waiting for every component to exist.
    struct TFixup {
        TObject* Instance;
        const TPropInfo* Property;
        std::string Target;
        TLayoutPosition Position;
        /// Collection items on the way to Instance; if one goes, so does the fixup.
        std::vector<const TObject*> Within;
    };
    struct TLoading {
        TComponentRef<TComponent> Component;
        TLayoutPosition Position;
        std::string Name;
    };

    TLayoutReader() = default;

    void Load(const TLayoutObject& tree, TComponent* root, bool rootIsOurs);
    void Rollback(bool rootIsOurs);

    void ReadChild(const TLayoutObject& node, TComponent* parent);
    void ReadProperties(TObject* instance, const TClassInfo* info,
                        const std::vector<TLayoutProperty>& properties,
                        const std::vector<const TObject*>& within);
    void ReadProperty(TObject* instance, const TClassInfo* info, const TLayoutProperty& property,
                      const std::vector<const TObject*>& within);
    void ReadCollection(TObject* instance, const TClassInfo* info, const TPropInfo& prop,
                        const TLayoutValue& value, const std::vector<const TObject*>& within);
    TPropValue Convert(const TClassInfo* info, const TPropInfo& prop, const TLayoutValue& value) const;
    std::int64_t ConvertInteger(const TClassInfo* info, const TPropInfo& prop,
                                const TLayoutValue& value) const;
    void ResolveFixups();
    TComponent* FindReferenced(const std::string& path) const;
    void RunLoaded();

    /// Runs code of the loaded classes (constructors, setters, Loaded) and turns
    /// whatever it throws into a layout error at `where`.
    static void Guard(TLayoutPosition where, const std::string& action, const std::function<void()>& body);

    TComponent* root_ = nullptr;
    const TClassInfo* rootInfo_ = nullptr;
    std::vector<TLoading> loading_;
    std::vector<TComponentRef<TComponent>> created_;
    std::vector<const std::function<void(TObject*, TComponent*)>*> fieldsSet_;
    std::vector<TFixup> fixups_;
};

} // namespace emr
