#include "framework/streaming/LayoutWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <strings.h>

#include "framework/core/Collection.h"
#include "framework/core/Exception.h"
#include "framework/streaming/LayoutLexer.h"

namespace emr {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

/// Binary data is written 32 bytes to a line, as 64 hex digits.
constexpr std::size_t kBytesPerLine = 32;

std::string FormatFloat(double value) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;
    return std::string(buffer, end);
}

} // namespace

std::string TLayoutWriter::WriteRootToText(const TComponent* root) {
    if (!root) throw Exception("There is no component to write");
    TLayoutWriter writer(root);
    for (const TComponent* owned : root->Components())
        writer.children_[writer.Placement(owned)].push_back(owned);
    writer.WriteObject(root, 0);
    return writer.out_;
}

std::string TLayoutWriter::QuoteString(const std::string& text) {
    std::string out;
    bool open = false;
    auto setOpen = [&](bool wanted) {
        if (open != wanted) out += '\'';
        open = wanted;
    };
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = Utf8SequenceLength(text, i);
        if (c < 0x20 || c == 0x7F || length == 0) {
            // Control characters, and bytes that are not UTF-8 (taken as Latin-1), go as codes.
            setOpen(false);
            out += '#' + std::to_string(c);
            ++i;
            continue;
        }
        setOpen(true);
        if (c == '\'') out += '\'';
        out.append(text, i, length);
        i += length;
    }
    if (out.empty()) return "''";
    setOpen(false);
    return out;
}

void TLayoutWriter::Line(int depth, const std::string& text) {
    out_.append(static_cast<std::size_t>(depth) * 2, ' ');
    out_ += text;
    out_ += '\n';
}

const TComponent* TLayoutWriter::Placement(const TComponent* component) const {
    const TComponent* parent = component->GetParentComponent();
    if (parent && parent != component && (parent == root_ || parent->Owner() == root_)) return parent;
    return root_;
}

void TLayoutWriter::WriteObject(const TComponent* component, int depth) {
    const TClassInfo* info = TClassRegistry::Instance().InfoFor(component);
    if (!info) throw Exception("Class " + std::string(component->ClassName()) + " is not registered");
    std::string header = "object ";
    if (!component->Name().empty()) header += component->Name() + ": ";
    Line(depth, header + info->Name);
    WriteProperties(component, info, "", depth + 1);
    // Only what hangs from the root is reached (a parent chain that loops is not),
    // and the depth bound keeps an absurdly deep chain from exhausting the stack.
    auto children = children_.find(component);
    if (depth < 256 && children != children_.end())
        for (const TComponent* child : children->second)
            if (child != component) WriteObject(child, depth + 1);
    Line(depth, "end");
}

void TLayoutWriter::WriteProperties(const TObject* instance, const TClassInfo* info,
                                    const std::string& prefix, int depth) {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = info; c; c = c->Parent)
        chain.push_back(c);
    std::vector<std::string> written;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        for (const TPropInfo& declared : (*it)->Properties) {
            // A property a descendant registers again is written once, as the descendant sees it.
            if (std::any_of(written.begin(), written.end(),
                            [&](const std::string& n) { return SameText(n, declared.Name); }))
                continue;
            written.push_back(declared.Name);
            const TPropInfo* prop = info->FindProperty(declared.Name);
            if (prefix.empty() && SameText(prop->Name, "Name") && dynamic_cast<const TComponent*>(instance))
                continue;
            WriteProperty(instance, *prop, prefix, depth);
        }
    }
}

void TLayoutWriter::WriteProperty(const TObject* instance, const TPropInfo& prop, const std::string& prefix,
                                  int depth) {
    const std::string path = prefix + prop.Name;
    if (prop.Kind == TPropKind::Event) return;
    if (prop.ReadOnly() && prop.Kind != TPropKind::Object && prop.Kind != TPropKind::Collection) return;
    TPropValue value = prop.Get(instance);
    auto ordinal = [&] { return std::get<std::int64_t>(value); };
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Color:
        if (prop.Default && ordinal() == *prop.Default) return;
        Line(depth, path + " = " + std::to_string(ordinal()));
        return;
    case TPropKind::Boolean: {
        bool b = std::get<bool>(value);
        if (prop.Default && (b ? 1 : 0) == *prop.Default) return;
        Line(depth, path + (b ? " = True" : " = False"));
        return;
    }
    case TPropKind::Float: {
        double d = std::get<double>(value);
        if (!std::isfinite(d)) return; // the layout syntax has no infinity or NaN
        Line(depth, path + " = " + FormatFloat(d));
        return;
    }
    case TPropKind::String: {
        const auto& s = std::get<std::string>(value);
        if (!s.empty()) Line(depth, path + " = " + QuoteString(s));
        return;
    }
    case TPropKind::Enumeration: {
        std::int64_t v = ordinal();
        if (prop.Default && v == *prop.Default) return;
        if (v < 0 || v >= static_cast<std::int64_t>(prop.Identifiers.size()))
            throw Exception("Property " + path + " holds " + std::to_string(v) + ", which has no identifier");
        Line(depth, path + " = " + prop.Identifiers[static_cast<std::size_t>(v)]);
        return;
    }
    case TPropKind::Set: {
        std::int64_t v = ordinal();
        if (prop.Default ? v == *prop.Default : v == 0) return;
        std::string list;
        for (std::size_t i = 0; i < prop.Identifiers.size() && i < 63; ++i)
            if (v & (std::int64_t{1} << i)) list += (list.empty() ? "" : ", ") + prop.Identifiers[i];
        Line(depth, path + " = [" + list + "]");
        return;
    }
    case TPropKind::Component: {
        auto* target = dynamic_cast<const TComponent*>(std::get<TPersistent*>(value));
        std::string name = target ? ReferenceName(target) : "";
        if (!name.empty()) Line(depth, path + " = " + name);
        return;
    }
    case TPropKind::Object: {
        const TPersistent* owned = std::get<TPersistent*>(value);
        // An object that (through its own properties) holds itself would otherwise never end.
        if (!owned || std::count(path.begin(), path.end(), '.') >= 32) return;
        const TClassInfo* ownedInfo = TClassRegistry::Instance().InfoFor(owned);
        if (ownedInfo) WriteProperties(owned, ownedInfo, path + ".", depth);
        return;
    }
    case TPropKind::Collection:
        WriteCollection(std::get<TPersistent*>(value), path, depth);
        return;
    case TPropKind::Binary: {
        const auto& bytes = std::get<std::vector<std::uint8_t>>(value);
        if (bytes.empty()) return;
        static const char* digits = "0123456789ABCDEF";
        Line(depth, path + " = {");
        for (std::size_t at = 0; at < bytes.size(); at += kBytesPerLine) {
            std::string hex;
            for (std::size_t i = at; i < bytes.size() && i < at + kBytesPerLine; ++i) {
                hex += digits[bytes[i] >> 4];
                hex += digits[bytes[i] & 15];
            }
            if (at + kBytesPerLine >= bytes.size()) hex += '}';
            Line(depth + 1, hex);
        }
        return;
    }
    case TPropKind::Event:
        return;
    }
}

void TLayoutWriter::WriteCollection(const TPersistent* owned, const std::string& path, int depth) {
    auto* collection = dynamic_cast<const TCollection*>(owned);
    if (!collection) return;
    if (collection->Count() == 0 || depth > 256) {
        Line(depth, path + " = <>");
        return;
    }
    Line(depth, path + " = <");
    for (int i = 0; i < collection->Count(); ++i) {
        const TCollectionItem* item = collection->Item(i);
        Line(depth + 1, "item");
        if (const TClassInfo* itemInfo = TClassRegistry::Instance().InfoFor(item))
            WriteProperties(item, itemInfo, "", depth + 2);
        if (i + 1 < collection->Count())
            Line(depth + 1, "end");
        else
            Line(depth + 1, "end>");
    }
}

std::string TLayoutWriter::ReferenceName(const TComponent* target) const {
    if (target->Name().empty()) return "";
    if (target == root_ || target->Owner() == root_) return target->Name();
    // A component outside this layout is named through its owner (Form2.Styler).
    const TComponent* owner = target->Owner();
    if (owner && !owner->Name().empty()) return owner->Name() + "." + target->Name();
    return target->Name();
}

} // namespace emr
