// The program's built-in pictures, drawn from public data: the ITU regions
// map, the polar-mount and polarization diagrams, the L-band scintillation
// globes, and the world time-zone map read from "TIMEZONE.GIF".
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "world.h"

namespace pictures {

struct WorldData {
    std::vector<Ring> land, countries, timeZones, ituRegions;
};

// Reads land.txt, countries.txt, timezones.txt and itu-regions.txt.
WorldData ReadWorldData(const std::string& folder);

// Which ITU region (1, 2 or 3) a point of the world lies in, by the lines
// A, B and C and the country rules of the Radio Regulations (Article 5):
// the whole of the listed countries in Region 1, Iran in Region 3, the sea
// north of the Russian Federation between lines A and C in Region 1 (drawn
// as the sea north of 66.5 N from 40 E eastward to 168.98 W).
class ItuRegionMap {
public:
    ItuRegionMap(const WorldData& world, int width, int height);
    int RegionAt(int x, int y) const;       // pixel of the width x height world
    bool LandAt(int x, int y) const;
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    QImage regions_, land_;
};

Indexed ItuRegions(const WorldData& world);         // 392 x 235, 16 colours
// A text drawn on a picture and the box it covers.
struct PictureLabel {
    std::string text;
    QRectF box;
};

// The labels drawn on the diagram itself (not its key) go to `labels` when given.
Indexed PolarMountAngles(std::vector<PictureLabel>* labels = nullptr);   // 418 x 358, 16 colours
Indexed PolarizationAndTilt();                      // 480 x 376, 2 colours
Indexed ScintillationFading(const WorldData& world);   // 800 x 430, 16 colours
Indexed WorldTimeZones(const WorldData& world);     // 1080 x 600, 256 colours at most

}  // namespace pictures
