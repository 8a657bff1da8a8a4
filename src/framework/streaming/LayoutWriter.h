#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Component.h"

namespace emr {

/// Writes a root component and the components it owns as a layout text that
/// TLayoutReader reads back.
///
/// Components nest under their parent component (the root when they have none);
/// properties follow their registration order, base classes first. Left out are:
/// properties equal to their declared default, empty strings, sets without a
/// default that are empty, empty binary data, unset references, read-only
/// properties, and events (a bound handler does not know its method's name).
class TLayoutWriter {
public:
    static std::string WriteRootToText(const TComponent* root);

    /// A string in layout syntax: quoted parts, ''-doubled quotes, #NN for control characters.
    static std::string QuoteString(const std::string& text);

private:
    explicit TLayoutWriter(const TComponent* root) : root_(root) {}

    void WriteObject(const TComponent* component, int depth);
    void WriteProperties(const TObject* instance, const TClassInfo* info, const std::string& prefix,
                         int depth);
    void WriteProperty(const TObject* instance, const TPropInfo& prop, const std::string& prefix, int depth);
    void WriteCollection(const TPersistent* owned, const std::string& path, int depth);
    std::string ReferenceName(const TComponent* target) const;
    /// Where a component is written: under its parent component when that is
    /// the root or one of its components, else under the root.
    const TComponent* Placement(const TComponent* component) const;
    void Line(int depth, const std::string& text);

    const TComponent* root_;
    /// The root's components by where they are written, in ownership order.
    std::unordered_map<const TComponent*, std::vector<const TComponent*>> children_;
    std::string out_;
};

} // namespace emr
