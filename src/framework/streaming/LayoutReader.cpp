#include "framework/streaming/LayoutReader.h"

#include <algorithm>
#include <limits>
#include <strings.h>
#include <unordered_set>

#include "framework/core/Collection.h"
#include "framework/core/Exception.h"

namespace emr {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

/// The dot-separated parts of a path, each with its offset in the path.
std::vector<std::pair<std::string, int>> SplitPath(const std::string& path) {
    std::vector<std::pair<std::string, int>> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t dot = path.find('.', start);
        parts.emplace_back(path.substr(start, dot - start), static_cast<int>(start));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return parts;
}

TLayoutPosition Offset(TLayoutPosition at, int columns) {
    return {at.Line, at.Column + columns};
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

/// "one of a, b, c" for messages about enumeration and set identifiers.
std::string OneOf(const TPropInfo& prop) {
    constexpr std::size_t kListed = 12;
    std::string list;
    for (std::size_t i = 0; i < prop.Identifiers.size() && i < kListed; ++i)
        list += (i ? ", " : "") + prop.Identifiers[i];
    if (prop.Identifiers.size() > kListed) list += ", ...";
    return "one of " + list;
}

std::string Expectation(const TPropInfo& prop) {
    switch (prop.Kind) {
    case TPropKind::Integer:
        return prop.IdentToInt ? "an integer or a constant name" : "an integer";
    case TPropKind::Boolean:
        return "True or False";
    case TPropKind::Float:
        return "a number";
    case TPropKind::String:
        return "a string";
    case TPropKind::Enumeration:
        return "an identifier (" + OneOf(prop) + ")";
    case TPropKind::Set:
        return "a set [...]";
    case TPropKind::Color:
        return prop.IdentToInt ? "a colour number or name" : "a colour number";
    case TPropKind::Component:
        return "a component name";
    case TPropKind::Object:
        return "an object";
    case TPropKind::Binary:
        return "binary data {...}";
    case TPropKind::Event:
        return "a method name";
    case TPropKind::Collection:
        return "a collection <...>";
    }
    return "a value";
}

const TClassInfo* InfoOf(const TObject* object) {
    return TClassRegistry::Instance().InfoFor(object);
}

} // namespace

void TLayoutReader::ReadRootFromText(std::string_view text, TComponent* root) {
    if (!root) throw Exception("A layout can only be read into an existing component");
    TLayoutObject tree = TLayoutParser(text).ParseRoot();
    const TClassInfo* info = InfoOf(root);
    if (!info)
        ThrowLayoutError(tree.ClassPosition,
                         "class " + std::string(root->ClassName()) + " is not registered");
    if (!info->InheritsFrom(tree.ClassName))
        ThrowLayoutError(tree.ClassPosition, "the layout describes a " + tree.ClassName +
                                                 " but is read into a " + std::string(root->ClassName()));
    TLayoutReader reader;
    reader.Load(tree, root, false);
}

TComponent* TLayoutReader::CreateFromText(std::string_view text, TComponent* owner) {
    TLayoutObject tree = TLayoutParser(text).ParseRoot();
    const TClassInfo* info = TClassRegistry::Instance().Find(tree.ClassName);
    if (!info) ThrowLayoutError(tree.ClassPosition, "unknown class " + Quoted(tree.ClassName));
    if (!info->Create)
        ThrowLayoutError(tree.ClassPosition, "class " + info->Name + " cannot be created from a layout");
    TComponent* root = nullptr;
    Guard(tree.ClassPosition, "cannot create a " + info->Name, [&] { root = info->Create(owner); });
    if (!root) ThrowLayoutError(tree.ClassPosition, "class " + info->Name + " made no component");
    if (!InfoOf(root)) {
        TObject::Free(root);
        ThrowLayoutError(tree.ClassPosition, "class " + info->Name + " is not registered under its own name");
    }
    TLayoutReader reader;
    reader.Load(tree, root, true);
    return root;
}

void TLayoutReader::Load(const TLayoutObject& tree, TComponent* root, bool rootIsOurs) {
    root_ = root;
    rootInfo_ = InfoOf(root);
    try {
        root->BeginLoading();
        loading_.push_back({TComponentRef<TComponent>(root), tree.Position, tree.Name});
        if (!tree.Name.empty())
            Guard(tree.NamePosition, "cannot name the root " + Quoted(tree.Name),
                  [&] { root->SetName(tree.Name); });
        ReadProperties(root, rootInfo_, tree.Properties, {});
        for (const TLayoutObject& child : tree.Children)
            ReadChild(child, root);
        ResolveFixups();
        RunLoaded();
    } catch (...) {
        Rollback(rootIsOurs);
        throw;
    }
}

void TLayoutReader::Rollback(bool rootIsOurs) {
    // Clearing the root's fields first means no field points at a freed component.
    for (auto it = fieldsSet_.rbegin(); it != fieldsSet_.rend(); ++it) {
        try {
            (**it)(root_, nullptr);
        } catch (...) {
        }
    }
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        if (TComponent* component = it->Get()) TObject::Free(component);
    if (rootIsOurs) TObject::Free(root_);
    root_ = nullptr;
}

void TLayoutReader::ReadChild(const TLayoutObject& node, TComponent* parent) {
    const TClassInfo* info = TClassRegistry::Instance().Find(node.ClassName);
    if (!info) ThrowLayoutError(node.ClassPosition, "unknown class " + Quoted(node.ClassName));
    if (!info->Create)
        ThrowLayoutError(node.ClassPosition, "class " + info->Name + " cannot be created from a layout");

    TComponent* component = nullptr;
    Guard(node.ClassPosition, "cannot create a " + info->Name, [&] { component = info->Create(root_); });
    if (!component) ThrowLayoutError(node.ClassPosition, "class " + info->Name + " made no component");
    created_.emplace_back(component);
    component->BeginLoading();
    loading_.push_back({TComponentRef<TComponent>(component), node.Position, node.Name});

    if (!node.Name.empty())
        Guard(node.NamePosition, "cannot name the " + info->Name + " " + Quoted(node.Name),
              [&] { component->SetName(node.Name); });
    Guard(node.Position, "cannot place " + (node.Name.empty() ? info->Name : node.Name),
          [&] { component->SetParentComponent(parent); });
    if (!node.Name.empty()) {
        if (const auto* field = rootInfo_->FindField(node.Name)) {
            Guard(node.NamePosition, "cannot store " + node.Name + " in " + rootInfo_->Name,
                  [&] { (*field)(root_, component); });
            fieldsSet_.push_back(field);
        }
    }

    const TClassInfo* ownInfo = InfoOf(component);
    ReadProperties(component, ownInfo ? ownInfo : info, node.Properties, {});
    for (const TLayoutObject& child : node.Children)
        ReadChild(child, component);
}

void TLayoutReader::ReadProperties(TObject* instance, const TClassInfo* info,
                                   const std::vector<TLayoutProperty>& properties,
                                   const std::vector<const TObject*>& within) {
    for (const TLayoutProperty& property : properties)
        ReadProperty(instance, info, property, within);
}

void TLayoutReader::ReadProperty(TObject* instance, const TClassInfo* info, const TLayoutProperty& property,
                                 const std::vector<const TObject*>& within) {
    auto parts = SplitPath(property.Path);
    TObject* target = instance;
    const TClassInfo* cls = info;
    const TPropInfo* prop = nullptr;
    TLayoutPosition at = property.Position;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto& [name, offset] = parts[i];
        at = Offset(property.Position, offset);
        prop = cls->FindProperty(name);
        if (!prop) ThrowLayoutError(at, "unknown property " + Quoted(name) + " of " + cls->Name);
        if (i + 1 == parts.size()) break;

        // Font.Height: step into the owned object and look the rest up in its class.
        if (prop->Kind != TPropKind::Object)
            ThrowLayoutError(at, "property " + Quoted(name) + " of " + cls->Name +
                                     " is not an object, so it has no property " +
                                     Quoted(parts[i + 1].first));
        TPersistent* owned = nullptr;
        Guard(at, "cannot read property " + Quoted(name) + " of " + cls->Name,
              [&] { owned = std::get<TPersistent*>(prop->Get(target)); });
        if (!owned)
            ThrowLayoutError(at, "property " + Quoted(name) + " of " + cls->Name + " is not assigned");
        const TClassInfo* ownedInfo = InfoOf(owned);
        if (!ownedInfo)
            ThrowLayoutError(at, "class " + std::string(owned->ClassName()) + " of property " + Quoted(name) +
                                     " is not registered");
        target = owned;
        cls = ownedInfo;
    }

    const TLayoutValue& value = property.Value;
    const std::string& name = parts.back().first;
    switch (prop->Kind) {
    case TPropKind::Collection:
        ReadCollection(target, cls, *prop, value, within);
        return;
    case TPropKind::Object:
        ThrowLayoutError(at, "property " + Quoted(name) + " of " + cls->Name +
                                 " is an object: set its properties one by one (" + name + ".X = ...)");
    default:
        break;
    }
    if (prop->ReadOnly())
        ThrowLayoutError(at, "property " + Quoted(name) + " of " + cls->Name + " is read-only");

    if (prop->Kind == TPropKind::Component) {
        // References may name components declared further down; they are set at the end.
        if (value.Kind != TLayoutValue::TKind::Identifier)
            ThrowLayoutError(value.Position, "expected " + Expectation(*prop) + " for property " +
                                                 Quoted(name) + " of " + cls->Name + " but found " +
                                                 value.Describe());
        fixups_.push_back({target, prop, value.Text, value.Position, within});
        return;
    }
    TPropValue converted = Convert(cls, *prop, value);
    Guard(property.Position, "cannot set property " + Quoted(property.Path) + " of " + info->Name,
          [&] { prop->Set(target, converted); });
}

void TLayoutReader::ReadCollection(TObject* instance, const TClassInfo* info, const TPropInfo& prop,
                                   const TLayoutValue& value, const std::vector<const TObject*>& within) {
    if (value.Kind != TLayoutValue::TKind::Collection)
        ThrowLayoutError(value.Position, "expected " + Expectation(prop) + " for property " +
                                             Quoted(prop.Name) + " of " + info->Name + " but found " +
                                             value.Describe());
    TPersistent* owned = nullptr;
    Guard(value.Position, "cannot read property " + Quoted(prop.Name) + " of " + info->Name,
          [&] { owned = std::get<TPersistent*>(prop.Get(instance)); });
    auto* collection = dynamic_cast<TCollection*>(owned);
    if (!collection)
        ThrowLayoutError(value.Position, "property " + Quoted(prop.Name) + " of " + info->Name +
                                             " does not hold a collection");

    // The items about to be cleared take their pending references with them.
    if (collection->Count() > 0 && !fixups_.empty()) {
        std::unordered_set<const TObject*> doomed;
        for (int i = 0; i < collection->Count(); ++i)
            doomed.insert(collection->Item(i));
        std::erase_if(fixups_, [&](const TFixup& fixup) {
            return std::any_of(fixup.Within.begin(), fixup.Within.end(),
                               [&](const TObject* holder) { return doomed.count(holder) != 0; });
        });
    }

    collection->BeginUpdate();
    try {
        Guard(value.Position, "cannot clear " + Quoted(prop.Name), [&] { collection->Clear(); });
        for (const TLayoutItem& item : value.Items) {
            TCollectionItem* added = nullptr;
            Guard(item.Position, "cannot add an item to " + Quoted(prop.Name),
                  [&] { added = collection->Add(); });
            const TClassInfo* itemInfo = InfoOf(added);
            if (!itemInfo)
                ThrowLayoutError(item.Position, "class " + std::string(added->ClassName()) +
                                                    " of the items of " + Quoted(prop.Name) +
                                                    " is not registered");
            std::vector<const TObject*> inner = within;
            inner.push_back(added);
            ReadProperties(added, itemInfo, item.Properties, inner);
        }
    } catch (...) {
        try {
            collection->EndUpdate();
        } catch (...) {
        }
        throw;
    }
    Guard(value.Position, "cannot update " + Quoted(prop.Name), [&] { collection->EndUpdate(); });
}

TPropValue TLayoutReader::Convert(const TClassInfo* info, const TPropInfo& prop,
                                  const TLayoutValue& value) const {
    using K = TLayoutValue::TKind;
    auto wrongKind = [&]() {
        ThrowLayoutError(value.Position, "expected " + Expectation(prop) + " for property " +
                                             Quoted(prop.Name) + " of " + info->Name + " but found " +
                                             value.Describe());
    };
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Color:
        return ConvertInteger(info, prop, value);
    case TPropKind::Boolean:
        if (value.Kind == K::Identifier && SameText(value.Text, "True")) return true;
        if (value.Kind == K::Identifier && SameText(value.Text, "False")) return false;
        wrongKind();
        break;
    case TPropKind::Float:
        if (value.Kind == K::Float) return value.Float;
        if (value.Kind == K::Integer) return static_cast<double>(value.Integer);
        wrongKind();
        break;
    case TPropKind::String:
        if (value.Kind == K::String) return value.Text;
        wrongKind();
        break;
    case TPropKind::Enumeration: {
        if (value.Kind != K::Identifier) wrongKind();
        auto ordinal = prop.OrdinalOf(value.Text);
        if (!ordinal)
            ThrowLayoutError(value.Position, "unknown value " + Quoted(value.Text) + " for property " +
                                                 Quoted(prop.Name) + " of " + info->Name + "; expected " +
                                                 OneOf(prop));
        return *ordinal;
    }
    case TPropKind::Set: {
        if (value.Kind != K::Set) wrongKind();
        std::uint64_t mask = 0;
        for (std::size_t i = 0; i < value.Names.size(); ++i) {
            auto ordinal = prop.OrdinalOf(value.Names[i]);
            if (!ordinal)
                ThrowLayoutError(value.NamePositions[i],
                                 "unknown element " + Quoted(value.Names[i]) + " in the set for property " +
                                     Quoted(prop.Name) + " of " + info->Name + "; expected " + OneOf(prop));
            if (*ordinal >= 63)
                ThrowLayoutError(value.NamePositions[i],
                                 "set element " + Quoted(value.Names[i]) + " has no bit in a 64-bit set");
            mask |= std::uint64_t{1} << *ordinal;
        }
        return static_cast<std::int64_t>(mask);
    }
    case TPropKind::Binary:
        if (value.Kind == K::Binary) return value.Bytes;
        wrongKind();
        break;
    case TPropKind::Event: {
        if (value.Kind != K::Identifier || value.Text.find('.') != std::string::npos) wrongKind();
        const auto* binder = rootInfo_->FindMethod(value.Text);
        if (!binder)
            ThrowLayoutError(value.Position, "unknown method " + Quoted(value.Text) + " of " +
                                                 rootInfo_->Name + " for event " + Quoted(prop.Name));
        TNotifyEvent handler;
        Guard(value.Position, "cannot bind method " + Quoted(value.Text),
              [&] { handler = (*binder)(root_); });
        return handler;
    }
    case TPropKind::Component:
    case TPropKind::Object:
    case TPropKind::Collection:
        break;
    }
    wrongKind();
    return {};
}

std::int64_t TLayoutReader::ConvertInteger(const TClassInfo* info, const TPropInfo& prop,
                                           const TLayoutValue& value) const {
    if (value.Kind == TLayoutValue::TKind::Integer) {
        // Any value with a 32-bit pattern is accepted, signed (-1) or unsigned ($FFFFFFFF):
        // the setter's own type decides how to read it. Wider values would be cut silently.
        constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
        constexpr std::int64_t kMax = std::numeric_limits<std::uint32_t>::max();
        if (value.Integer < kMin || value.Integer > kMax)
            ThrowLayoutError(value.Position, "integer " + value.Text +
                                                 " is out of the 32-bit range of property " +
                                                 Quoted(prop.Name) + " of " + info->Name);
        return value.Integer;
    }
    if (value.Kind == TLayoutValue::TKind::Identifier && prop.IdentToInt) {
        std::optional<std::int64_t> constant;
        Guard(value.Position, "cannot look up " + Quoted(value.Text),
              [&] { constant = prop.IdentToInt(value.Text); });
        if (!constant)
            ThrowLayoutError(value.Position, "unknown constant " + Quoted(value.Text) + " for property " +
                                                 Quoted(prop.Name) + " of " + info->Name);
        return *constant;
    }
    ThrowLayoutError(value.Position, "expected " + Expectation(prop) + " for property " + Quoted(prop.Name) +
                                         " of " + info->Name + " but found " + value.Describe());
}

void TLayoutReader::ResolveFixups() {
    for (const TFixup& fixup : fixups_) {
        TComponent* target = nullptr;
        if (!SameText(fixup.Target, "nil")) {
            target = FindReferenced(fixup.Target);
            if (!target)
                ThrowLayoutError(fixup.Position, "unknown component " + Quoted(fixup.Target) +
                                                     " for property " + Quoted(fixup.Property->Name));
        }
        Guard(fixup.Position,
              "cannot set property " + Quoted(fixup.Property->Name) + " to " + Quoted(fixup.Target),
              [&] { fixup.Property->Set(fixup.Instance, static_cast<TPersistent*>(target)); });
    }
    fixups_.clear();
}

TComponent* TLayoutReader::FindReferenced(const std::string& path) const {
    auto parts = SplitPath(path);
    const std::string& first = parts.front().first;
    TComponent* found = root_->FindComponent(first);
    // Form1.Styler names the root itself first; a bare Form1 does too when nothing it owns has that name.
    if (SameText(first, root_->Name()) && (parts.size() > 1 || !found)) found = root_;
    for (std::size_t i = 1; i < parts.size() && found; ++i)
        found = found->FindComponent(parts[i].first);
    return found;
}

void TLayoutReader::RunLoaded() {
    for (const TLoading& loading : loading_) {
        TComponent* component = loading.Component.Get();
        if (!component) continue;
        Guard(loading.Position,
              "loading " + (loading.Name.empty() ? std::string(component->ClassName()) : loading.Name) +
                  " failed",
              [&] { component->Loaded(); });
    }
    for (const TLoading& loading : loading_) {
        TComponent* component = loading.Component.Get();
        if (!component) continue;
        Guard(loading.Position,
              "loading " + (loading.Name.empty() ? std::string(component->ClassName()) : loading.Name) +
                  " failed",
              [&] { component->LoadCompleted(); });
    }
}

void TLayoutReader::Guard(TLayoutPosition where, const std::string& action,
                          const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& e) {
        ThrowLayoutError(where, action + ": " + e.what());
    } catch (...) {
        ThrowLayoutError(where, action + ": unknown error");
    }
}

} // namespace emr
