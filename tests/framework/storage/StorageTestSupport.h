#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace emr::testing {

/// A fresh folder standing in for the user's configuration folder.
class StorageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/emr-storage-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        hadConfig_ = old != nullptr;
        if (old) oldConfig_ = old;
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }
    void TearDown() override {
        if (hadConfig_)
            ::setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::string command = "rm -rf '" + dir + "'";
        if (std::system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir;
    }

    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void WriteFile(const std::string& path, const std::string& text, mode_t mode = 0644) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << text;
        }
        ::chmod(path.c_str(), mode);
    }
    static mode_t ModeOf(const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        return st.st_mode & 07777;
    }
    /// Names in the folder other than "." and "..".
    std::vector<std::string> Entries() const;

    std::string dir;

private:
    bool hadConfig_ = false;
    std::string oldConfig_;
};

/// Reads an INI file the plain way, for checking what a store wrote: every
/// "name=value" line under "[section]", keyed "section/name", value as written.
std::map<std::string, std::string> ReadIniPlainly(const std::string& text);

/// Reads a registry export file the plain way: "key path/name" to "s:text" for
/// strings (escapes undone) or "d:<decimal>" for dwords.
std::map<std::string, std::string> ReadRegistryPlainly(const std::string& text);

} // namespace emr::testing
