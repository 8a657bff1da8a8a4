#include "framework/core/FileError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace emr {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

} // namespace

std::string FileErrorMessage(const std::string& action, const std::string& path, int error) {
    return "Cannot " + action + " file \"" + path + "\": " + std::strerror(error);
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw Exception(FileErrorMessage("open", path, errno));
    std::vector<std::uint8_t> bytes;
    std::size_t got = 0;
    do {
        const std::size_t at = bytes.size();
        bytes.resize(at + kReadChunk);
        got = std::fread(bytes.data() + at, 1, kReadChunk, file.get());
        bytes.resize(at + got);
    } while (got == kReadChunk);
    // A folder opens on Linux and fails only here, with EISDIR.
    if (std::ferror(file.get())) throw Exception(FileErrorMessage("read", path, errno));
    return bytes;
}

} // namespace emr
