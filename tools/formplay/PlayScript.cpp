#include "formplay/PlayScript.h"

#include <cctype>
#include <charconv>
#include <sstream>

#include "framework/core/Exception.h"

namespace emr {

namespace {

using TKind = TPlayCommand::TKind;
using namespace platform;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

bool ToInt(const std::string& s, int& value) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

struct KeyEntry {
    const char* Name;
    int Key;
    const char* Text;
};

constexpr KeyEntry kKeys[] = {
    {"enter", VK_RETURN, "\r"},    {"return", VK_RETURN, "\r"}, {"esc", VK_ESCAPE, "\x1b"},
    {"escape", VK_ESCAPE, "\x1b"}, {"tab", VK_TAB, "\t"},       {"space", VK_SPACE, " "},
    {"backspace", VK_BACK, "\b"},  {"bksp", VK_BACK, "\b"},     {"delete", VK_DELETE, ""},
    {"del", VK_DELETE, ""},        {"insert", 0x2D, ""},        {"ins", 0x2D, ""},
    {"left", VK_LEFT, ""},         {"right", VK_RIGHT, ""},     {"up", VK_UP, ""},
    {"down", VK_DOWN, ""},         {"home", VK_HOME, ""},       {"end", VK_END, ""},
    {"pageup", VK_PRIOR, ""},      {"pgup", VK_PRIOR, ""},      {"pagedown", VK_NEXT, ""},
    {"pgdn", VK_NEXT, ""},         {"alt", VK_MENU, ""},        {"shift", VK_SHIFT, ""},
    {"ctrl", VK_CONTROL, ""},      {"control", VK_CONTROL, ""},
};

} // namespace

bool ParseKeyName(std::string_view name, TPlayCommand& command) {
    std::string rest = Lower(name);
    TShiftState shift = 0;
    for (bool found = true; found;) {
        found = false;
        for (auto [prefix, bit] : {std::pair<std::string_view, TShiftState>{"alt+", ssAlt},
                                   {"shift+", ssShift},
                                   {"ctrl+", ssCtrl}}) {
            if (rest.size() > prefix.size() && rest.compare(0, prefix.size(), prefix) == 0) {
                shift |= bit;
                rest.erase(0, prefix.size());
                found = true;
            }
        }
    }
    int key = 0;
    std::string text;
    if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
        char c = rest[0];
        key = std::toupper(static_cast<unsigned char>(c));
        text = (shift & ssShift) ? std::string(1, static_cast<char>(key)) : std::string(1, c);
    } else if (rest.size() >= 2 && rest[0] == 'f' && ToInt(rest.substr(1), key) && key >= 1 && key <= 24) {
        key = VK_F1 + key - 1;
    } else {
        bool known = false;
        for (const KeyEntry& k : kKeys)
            if (rest == k.Name) {
                key = k.Key;
                text = k.Text;
                known = true;
                break;
            }
        if (!known) return false;
    }
    // Keys held with Ctrl type nothing; with Alt they type the accelerator character.
    if (shift & ssCtrl) text.clear();
    command.Kind = TKind::Key;
    command.Key = key;
    command.Shift = shift;
    command.Text = text;
    return true;
}

std::vector<TPlayCommand> ParsePlayScript(std::string_view script) {
    std::vector<TPlayCommand> commands;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= script.size()) {
        std::size_t eol = script.find('\n', pos);
        std::string_view line =
            script.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
        pos = eol == std::string_view::npos ? script.size() + 1 : eol + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::vector<std::string> w = SplitWords(line);
        if (w.empty() || w[0][0] == '#') continue;

        auto fail = [&](const std::string& what) -> void {
            throw Exception("line " + std::to_string(lineNo) + ": " + what);
        };
        auto need = [&](std::size_t min, std::size_t max, const char* usage) {
            if (w.size() < min || w.size() > max) fail(std::string("usage: ") + usage);
        };
        auto number = [&](std::size_t i) {
            int v = 0;
            if (!ToInt(w[i], v)) fail("'" + w[i] + "' is not a number");
            return v;
        };

        TPlayCommand c;
        c.Line = lineNo;
        std::string verb = Lower(w[0]);
        if (verb == "move" || verb == "click" || verb == "dblclick") {
            need(3, 3, (verb + " X Y").c_str());
            c.Kind = verb == "move" ? TKind::Move : verb == "click" ? TKind::Click : TKind::DblClick;
            c.X = number(1);
            c.Y = number(2);
        } else if (verb == "press" || verb == "release") {
            need(3, 4, (verb + " X Y [left|right]").c_str());
            c.Kind = verb == "press" ? TKind::Press : TKind::Release;
            c.X = number(1);
            c.Y = number(2);
            if (w.size() == 4) {
                std::string b = Lower(w[3]);
                if (b == "left")
                    c.Button = TMouseButton::Left;
                else if (b == "right")
                    c.Button = TMouseButton::Right;
                else
                    fail("unknown mouse button '" + w[3] + "'");
            }
        } else if (verb == "key") {
            need(2, 2, "key NAME");
            if (!ParseKeyName(w[1], c)) fail("unknown key '" + w[1] + "'");
        } else if (verb == "wait") {
            need(2, 2, "wait MS");
            c.Kind = TKind::Wait;
            c.X = number(1);
            if (c.X < 0) fail("wait needs a time of 0 or more");
        } else if (verb == "resize") {
            need(3, 3, "resize W H");
            c.Kind = TKind::Resize;
            c.X = number(1);
            c.Y = number(2);
            if (c.X <= 0 || c.Y <= 0) fail("resize needs a positive width and height");
        } else if (verb == "dump") {
            need(1, 1, "dump");
            c.Kind = TKind::Dump;
        } else if (verb == "save") {
            need(1, 1, "save");
            c.Kind = TKind::Save;
        } else if (verb == "reload") {
            need(1, 1, "reload");
            c.Kind = TKind::Reload;
        } else if (verb == "png") {
            need(2, 2, "png FILE");
            c.Kind = TKind::Png;
            c.Text = w[1];
        } else {
            fail("unknown command '" + w[0] + "'");
        }
        commands.push_back(std::move(c));
    }
    return commands;
}

} // namespace emr
