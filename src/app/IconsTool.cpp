// Writes the program's icons for the desktop's icon theme: a PNG at each size and the scalable
// picture, under OUTDIR/hicolor/ as the theme lays them out.
#include "app/Artwork.h"
#include "app/ProgramEmblem.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: wloe-icons OUTDIR\n";
        return 2;
    }
    const std::filesystem::path theme = std::filesystem::path(argv[1]) / "hicolor";
    std::error_code error;
    for (int size : kProgramIconSizes) {
        const std::filesystem::path dir =
            theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::filesystem::create_directories(dir, error);
        const std::string file = (dir / "wloe.png").string();
        if (!ProgramIconImage(size).save(QString::fromStdString(file), "PNG")) {
            std::cerr << "wloe-icons: cannot write " << file << "\n";
            return 1;
        }
    }
    const std::filesystem::path scalable = theme / "scalable" / "apps";
    std::filesystem::create_directories(scalable, error);
    std::ofstream svg(scalable / "wloe.svg", std::ios::binary);
    svg << ProgramEmblem::Svg();
    if (!svg.flush()) {
        std::cerr << "wloe-icons: cannot write " << (scalable / "wloe.svg").string() << "\n";
        return 1;
    }
    return 0;
}
