// Draws the program's built-in pictures from the public world data:
//   orbiscope_pictures WORLD_DATA_FOLDER BITMAP_FOLDER PROGRAM_FOLDER
// writes picture87.dib, picture88.dib, picture89.dib and picture99.dib
// (packed bitmaps, embedded into the program as its bitmap resources) into
// BITMAP_FOLDER and "TIMEZONE.GIF" into the program folder.
#include <QGuiApplication>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "gif_writer.h"
#include "pictures.h"

namespace {

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + part);
    }
    if (std::rename(part.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot rename " + part);
}

std::vector<std::uint8_t> AsGif(const pictures::Indexed& picture)
{
    std::vector<pictures::Rgb8> palette;
    for (QRgb c : picture.palette)
        palette.push_back({static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                           static_cast<std::uint8_t>(qBlue(c))});
    return pictures::EncodeGif(picture.width, picture.height, picture.pixels, palette);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s WORLD_DATA_FOLDER BITMAP_FOLDER PROGRAM_FOLDER\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    try {
        const pictures::WorldData world = pictures::ReadWorldData(argv[1]);
        const std::string bitmaps = std::string(argv[2]) + "/";
        WriteFile(bitmaps + "picture87.dib", pictures::ToPackedDib(pictures::ItuRegions(world), 4));
        WriteFile(bitmaps + "picture88.dib", pictures::ToPackedDib(pictures::PolarMountAngles(), 4));
        WriteFile(bitmaps + "picture89.dib", pictures::ToPackedDib(pictures::PolarizationAndTilt(), 1));
        WriteFile(bitmaps + "picture99.dib", pictures::ToPackedDib(pictures::ScintillationFading(world), 4));
        WriteFile(std::string(argv[3]) + "/TIMEZONE.GIF", AsGif(pictures::WorldTimeZones(world)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orbiscope_pictures: %s\n", e.what());
        return 1;
    }
    return 0;
}
