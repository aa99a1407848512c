// Overturning moment of a design wind on a ground-mounted dish and the
// ballast its frame needs.  The dish face is an ellipse of the two diameters;
// a mesh surface presents 60 % of a solid one.
#pragma once

namespace rfcalc {

struct WindLoadInputs {
    double windSpeed_kmh = 0.0;
    double centreToFrame_m = 0.0;     // h: dish centre to frame
    double poleToFrameEdge_m = 0.0;   // e: lever of the frame's weight
    double weight_kg = 0.0;           // W: dish, pole and frame
    double majorDiameter_m = 0.0;
    double minorDiameter_m = 0.0;
    bool mesh = false;
};

struct WindLoad {
    double moment_kgm = 0.0;   // kilogram-force metres
    double ballast_kg = 0.0;   // negative: the structure's own weight suffices
};

// q = 0.004826 x 0.98 x (0.95 V)^2 kgf/m^2, F = q x 1.3 x 1.2 x area,
// moment F h, ballast moment / e - W.
WindLoad WindLoadOf(const WindLoadInputs& in);

}  // namespace rfcalc
