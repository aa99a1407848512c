// A known atmosphere for the loss tests: every model returns a fixed value
// (or one chosen per availability) and records the arguments it was given,
// so that a test can check which figure went where.
#pragma once

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/output/report.h"
#include "propagation/link_atmosphere.h"

namespace losstest {

struct Call {
    std::string model;
    std::vector<double> args;
    std::string polarization;
};

class FakeAtmosphere : public LinkAtmosphere {
public:
    static constexpr double topo = 0.25, gas = 0.31, scint = 0.42, cloud = 0.53, rain = 6.64, xpd = 27.75;
    // A rain model that depends on the availability (0 above p = 5 %, as the real one).
    std::function<double(double availability)> rainAt;
    std::vector<Call> calls;

    double TopoHeight(float lat, float lon) override
    {
        calls.push_back({"topo", {lat, lon}, ""});
        return topo;
    }
    double MeanTemperature(float, float, float) override { return 283.0; }
    double Gaseous(double lat, double lon, double f, double el, double h, double a) override
    {
        calls.push_back({"gas", {lat, lon, f, el, h, a}, ""});
        return gas;
    }
    double Scintillation(double lat, double lon, double d, double eta, double el, double f, double a,
                         double h) override
    {
        calls.push_back({"scint", {lat, lon, d, eta, el, f, a, h}, ""});
        return scint;
    }
    double Cloud(double lat, double lon, double el, double f, double a, double h) override
    {
        calls.push_back({"cloud", {lat, lon, el, f, a, h}, ""});
        return cloud;
    }
    LinkRainResult Rain(double lat, double lon, double tilt, double h, double el, double f, const char* pol,
                        int source, double rate, double a) override
    {
        calls.push_back({"rain", {lat, lon, tilt, h, el, f, double(source), rate, a}, pol});
        LinkRainResult r;
        r.attenuation = rainAt ? rainAt(a) : rain;
        std::snprintf(r.rainRateText, sizeof r.rainRateText, "%s", source == 1 ? "12.000" : "31.500");
        std::snprintf(r.modelName, sizeof r.modelName, "ITU-R");
        return r;
    }
    double RainXpd(double f, double lat, double tilt, double el, double a, double rainDb, const char* pol) override
    {
        calls.push_back({"xpd", {f, lat, tilt, el, a, rainDb}, pol});
        return rainDb > 0.0 ? xpd : 0.0;
    }
    double Total(double g, double r, double c, double s, double a) override
    {
        calls.push_back({"total", {g, r, c, s, a}, ""});
        return 100.0 - a <= 5.0 ? g + std::sqrt((r + c) * (r + c) + s * s) : g + std::sqrt(c * c + s * s);
    }
    // The budgets' other models: no loss chain calls them.
    double AntennaNoise(double, double, double) override { return 0.0; }
    double SystemNoise(double, double, double, double, double) override { return 0.0; }
    double OffAxisGain(double, double, double, double, unsigned char, unsigned char) override { return 0.0; }
    double OutputBackoff(double, double, int) override { return 0.0; }
    double InputBackoffFor(double, double, int) override { return 0.0; }
    double CarrierToIm(double, int, double) override { return 0.0; }
    double CombineCN2(double, double) override { return 0.0; }
    double CombineCN4(double, double, double, double) override { return 0.0; }
    double Log2(double) override { return 0.0; }

    const Call* Find(const std::string& model) const
    {
        for (const Call& c : calls)
            if (c.model == model) return &c;
        return nullptr;
    }
    int Count(const std::string& model) const
    {
        int n = 0;
        for (const Call& c : calls) n += c.model == model;
        return n;
    }
};

// The lines of a report without their line feeds.
inline std::vector<std::string> Lines(std::string_view text)
{
    const std::vector<std::string_view> views = orbiscope::SplitReportLines(text, int(text.size()));
    return std::vector<std::string>(views.begin(), views.end());
}

}  // namespace losstest
