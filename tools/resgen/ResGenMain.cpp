// Entry point of tarvik-resgen, which draws every icon, bitmap and cursor of the program.
//
// Regenerate the committed pictures after changing a drawing, from the repository root:
//   cmake --build --preset native --target tarvik-resgen && build/native/tarvik-resgen res
// The resgen tests fail until the files under res/ match the generator again.
#include <exception>
#include <filesystem>
#include <iostream>

#include "tools/resgen/ResourcePictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarvik-resgen <res folder>\n"
                     "Writes icons/*.ico, bitmaps/*.bmp and cursors/*.cur below the folder.\n";
        return 2;
    }
    try {
        resgen::WriteResourcePictures(std::filesystem::path(argv[1]));
    } catch (const std::exception& error) {
        std::cerr << "tarvik-resgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
