// Element sets for the orbit tests: the real files of the shared data folder
// and synthetic sets written in the public two-line format.
#pragma once

#include "pointing/orbit/orbit_types.h"
#include "pointing/orbit/tle_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orbit_test {

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A real element file by name: "geo", "stations", "weather", "science" from
// the shared data, "starlink" from its unpacked copy.
inline std::vector<TleEntry> RealSets(const std::string& name) {
    const std::string path = name == "starlink" ? std::string(ORBISCOPE_ORBIT_UNPACKED) + "/starlink.tle"
                                                : std::string(ORBISCOPE_ORBIT_DATA) + "/tle/" + name + ".tle";
    return ReadTleText(ReadText(path)).entries;
}

// Appends the checksum digit to 68 columns of an element line.
inline std::string WithChecksum(const std::string& columns1to68) {
    int sum = 0;
    for (char c : columns1to68) {
        if (c >= '0' && c <= '9') sum += c - '0';
        if (c == '-') sum += 1;
    }
    return columns1to68 + static_cast<char>('0' + sum % 10);
}

// The orbit of one synthetic set, in the units of the element lines.
struct Orbit {
    int catalogue = 99001;
    double epoch = 26150.5;        // YYDDD.DDDDDDDD
    const char* bstar = " 10000-3";  // columns 54-61
    double inclination = 51.6;     // degrees
    double node = 30.0;            // degrees
    int eccentricity7 = 7000;      // eccentricity x 1e7
    double perigee = 90.0;         // degrees
    double meanAnomaly = 10.0;     // degrees
    double meanMotion = 15.5;      // revolutions per day
};

inline TleEntry MakeEntry(const Orbit& o, const char* name = "TEST SAT") {
    char l1[80];
    char l2[80];
    std::snprintf(l1, sizeof l1, "1 %05dU 26001A   %14.8f  .00001000  00000+0 %8s 0  999", o.catalogue, o.epoch,
                  o.bstar);
    std::snprintf(l2, sizeof l2, "2 %05d %8.4f %8.4f %07d %8.4f %8.4f %11.8f%5d", o.catalogue, o.inclination, o.node,
                  o.eccentricity7, o.perigee, o.meanAnomaly, o.meanMotion, 1);
    TleEntry e;
    std::snprintf(e.name, sizeof e.name, "%s", name);
    std::snprintf(e.line1, sizeof e.line1, "%s", WithChecksum(l1).c_str());
    std::snprintf(e.line2, sizeof e.line2, "%s", WithChecksum(l2).c_str());
    return e;
}

}  // namespace orbit_test
