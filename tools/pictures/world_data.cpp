#include "pictures.h"

namespace pictures {

WorldData ReadWorldData(const std::string& folder)
{
    WorldData w;
    w.land = ReadRings(folder + "/land.txt");
    w.countries = ReadRings(folder + "/countries.txt");
    w.timeZones = ReadRings(folder + "/timezones.txt");
    w.ituRegions = ReadRings(folder + "/itu-regions.txt");
    return w;
}

}  // namespace pictures
