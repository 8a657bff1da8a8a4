// programicon FOLDER: writes emrpatch-SIZE.pam (RGB with alpha) for every size
// of the program's icon into FOLDER.
#include <cstdio>
#include <fstream>
#include <string>

#include "app/ProgramIcon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: programicon FOLDER\n");
        return 2;
    }
    for (int size : emr::kProgramIconSizes) {
        const emr::platform::TIconImage icon = emr::DrawProgramIcon(size);
        const std::string path = std::string(argv[1]) + "/emrpatch-" + std::to_string(size) + ".pam";
        std::ofstream out(path, std::ios::binary);
        out << "P7\nWIDTH " << size << "\nHEIGHT " << size
            << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
        for (std::uint32_t p : icon.Pixels) {
            const char rgba[4] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p),
                                  static_cast<char>(p >> 24)};
            out.write(rgba, 4);
        }
        if (!out) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
