#include "framework/core/ClassRegistry.h"

#include <strings.h>

#include "framework/core/Collection.h"

namespace emr {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

std::optional<std::int64_t> TPropInfo::OrdinalOf(std::string_view identifier) const {
    for (std::size_t i = 0; i < Identifiers.size(); ++i)
        if (SameText(Identifiers[i], identifier)) return static_cast<std::int64_t>(i);
    return std::nullopt;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TPropInfo& p : c->Properties)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const std::function<TNotifyEvent(TObject*)>* TClassInfo::FindMethod(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const auto& [methodName, binder] : c->Methods)
            if (SameText(methodName, name)) return &binder;
    return nullptr;
}

const std::function<void(TObject*, TComponent*)>* TClassInfo::FindField(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const auto& [fieldName, setter] : c->Fields)
            if (SameText(fieldName, name)) return &setter;
    return nullptr;
}

bool TClassInfo::InheritsFrom(std::string_view ancestor) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (SameText(c->Name, ancestor)) return true;
    return false;
}

TClassRegistry& TClassRegistry::Instance() {
    static TClassRegistry registry;
    return registry;
}

TClassInfo& TClassRegistry::Register(std::string_view name, std::string_view parent) {
    auto it = classes_.find(name);
    if (it != classes_.end()) return *it->second;
    const TClassInfo* parentInfo = nullptr;
    if (!parent.empty()) {
        parentInfo = Find(parent);
        if (!parentInfo)
            throw Exception("Class " + std::string(parent) + " must be registered before " +
                            std::string(name));
    }
    auto info = std::make_unique<TClassInfo>();
    info->Name = std::string(name);
    info->Parent = parentInfo;
    TClassInfo& ref = *info;
    classes_.emplace(std::string(name), std::move(info));
    return ref;
}

const TClassInfo* TClassRegistry::Find(std::string_view name) const {
    auto it = classes_.find(name);
    if (it != classes_.end()) return it->second.get();
    for (const auto& [key, info] : classes_)
        if (SameText(key, name)) return info.get();
    return nullptr;
}

const TClassInfo* TClassRegistry::InfoFor(const TObject* object) const {
    return object ? Find(object->ClassName()) : nullptr;
}

void RegisterCoreClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    TClassRegistry::Instance().Register(TObject::StaticClassName, "");
    TClassRegistrar<TPersistent>("TObject");
    TClassRegistrar<TComponent>("TPersistent").String("Name", &TComponent::Name, &TComponent::SetName);
    TClassRegistrar<TCollection>("TPersistent");
    TClassRegistrar<TCollectionItem>("TPersistent");
}

} // namespace emr
