#include "StorageTestSupport.h"

#include <dirent.h>

namespace emr::testing {

std::vector<std::string> StorageFixture::Entries() const {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
    return names;
}

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace

std::map<std::string, std::string> ReadIniPlainly(const std::string& text) {
    std::map<std::string, std::string> values;
    std::string section;
    for (const std::string& line : Lines(text)) {
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || line.front() == ';') continue;
        values.emplace(section + "/" + line.substr(0, eq), line.substr(eq + 1));
    }
    return values;
}

std::map<std::string, std::string> ReadRegistryPlainly(const std::string& text) {
    std::map<std::string, std::string> values;
    std::string key;
    auto unquote = [](const std::string& s, std::size_t& i) {
        std::string out;
        for (++i; i < s.size() && s[i] != '"'; ++i) {
            if (s[i] != '\\') {
                out += s[i];
                continue;
            }
            const char e = s[++i];
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == '0' ? '\0' : e;
        }
        ++i;
        return out;
    };
    for (const std::string& line : Lines(text)) {
        if (line.empty()) continue;
        if (line.front() == '[') {
            key = line.substr(1, line.size() - 2);
            continue;
        }
        if (line.front() != '"') continue;
        std::size_t i = 0;
        const std::string name = unquote(line, i);
        const std::string data = line.substr(i + 1);
        if (data.starts_with("dword:"))
            values[key + "/" + name] =
                "d:" + std::to_string(static_cast<int>(std::stoul(data.substr(6), nullptr, 16)));
        else if (data.starts_with("\"")) {
            std::size_t j = 0;
            values[key + "/" + name] = "s:" + unquote(data, j);
        }
    }
    return values;
}

} // namespace emr::testing
