#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace emr::platform {

/// One size of a program's window icon: `Size` x `Size` pixels, rows top-down,
/// each 0xAARRGGBB with straight (not premultiplied) alpha.
struct TIconImage {
    int Size = 0;
    std::vector<std::uint32_t> Pixels;
};

/// What a desktop tells one program's windows by: the program's name (its
/// executable's, as a desktop file names it), its application title (the name
/// task bars group its windows under) and its window icon in a few sizes.
struct TProgramIdentity {
    std::string Name;
    std::string Title;
    std::vector<TIconImage> Icons;
};

} // namespace emr::platform
