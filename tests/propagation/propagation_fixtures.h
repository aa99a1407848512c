// Shared set-ups of the propagation model tests: synthetic file maps of the
// real geometry, and the real maps loaded once for a suite.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "propagation/geo_notifier.h"
#include "propagation/itu_maps.h"

namespace proptest {

// A file map of the real geometry holding one value everywhere.
inline ItuMapGrid ConstantGrid(ItuMap map, float value)
{
    const ItuMapFormat& format = ItuMapFormatOf(map);
    ItuMapGrid grid;
    grid.rows = format.rows;
    grid.columns = format.columns;
    grid.values.assign(static_cast<std::size_t>(format.rows) * static_cast<std::size_t>(format.columns), value);
    return grid;
}

// Installs every map that the atmospheric routines read, each constant.  The
// exceedance maps of one quantity get distinct values so that a test can tell
// which maps were used.
struct UniformAtmosphere {
    float tMean = 288.0f, pMean = 1013.0f, rhoMean = 7.5f;
    float t[5] = {300.0f, 295.0f, 290.0f, 285.0f, 280.0f};       // T_5 .. T_50
    float p[5] = {1020.0f, 1015.0f, 1010.0f, 1005.0f, 1000.0f};  // P_5 .. P_50
    float rho[5] = {15.0f, 12.0f, 10.0f, 8.0f, 6.0f};           // RHO_5 .. RHO_50
    float v[5] = {40.0f, 35.0f, 30.0f, 25.0f, 20.0f};           // V_5 .. V_50
    float l[5] = {1.0f, 0.8f, 0.6f, 0.4f, 0.2f};                // L_5 .. L_50
    float r001 = 42.5f;

    void Install() const
    {
        SetItuMapGrid(ItuMap::T_mean, ConstantGrid(ItuMap::T_mean, tMean));
        SetItuMapGrid(ItuMap::P_mean, ConstantGrid(ItuMap::P_mean, pMean));
        SetItuMapGrid(ItuMap::RHO_mean, ConstantGrid(ItuMap::RHO_mean, rhoMean));
        const ItuMap tMaps[5] = {ItuMap::T_5, ItuMap::T_10, ItuMap::T_20, ItuMap::T_30, ItuMap::T_50};
        const ItuMap pMaps[5] = {ItuMap::P_5, ItuMap::P_10, ItuMap::P_20, ItuMap::P_30, ItuMap::P_50};
        const ItuMap rMaps[5] = {ItuMap::RHO_5, ItuMap::RHO_10, ItuMap::RHO_20, ItuMap::RHO_30, ItuMap::RHO_50};
        const ItuMap vMaps[5] = {ItuMap::V_5, ItuMap::V_10, ItuMap::V_20, ItuMap::V_30, ItuMap::V_50};
        const ItuMap lMaps[5] = {ItuMap::L_5, ItuMap::L_10, ItuMap::L_20, ItuMap::L_30, ItuMap::L_50};
        for (int k = 0; k < 5; ++k) {
            SetItuMapGrid(tMaps[k], ConstantGrid(tMaps[k], t[k]));
            SetItuMapGrid(pMaps[k], ConstantGrid(pMaps[k], p[k]));
            SetItuMapGrid(rMaps[k], ConstantGrid(rMaps[k], rho[k]));
            SetItuMapGrid(vMaps[k], ConstantGrid(vMaps[k], v[k]));
            SetItuMapGrid(lMaps[k], ConstantGrid(lMaps[k], l[k]));
        }
        SetItuMapGrid(ItuMap::R001, ConstantGrid(ItuMap::R001, r001));
    }
};

// Records the notices of the calculations (the elevation checks) while it lives.
class RecordedNotices : public CalculationNotifier {
public:
    RecordedNotices() : previous_(SetCalculationNotifier(this)) {}
    ~RecordedNotices() override { SetCalculationNotifier(previous_); }
    NoticeAnswer Notify(const Notice& notice) override
    {
        notices.push_back(notice);
        return NoticeAnswer::Ok;
    }
    std::vector<Notice> notices;

private:
    CalculationNotifier* previous_;
};

// The thirty real maps from the program directory (the test's working
// directory), loaded once for the suite.
class RealItuMaps : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        struct Collect : ItuMapLoadObserver {
            std::vector<std::string> messages;
            void MapLoadFailed(const std::string& message) override { messages.push_back(message); }
        } observer;
        failures_ = LoadItuMaps(std::filesystem::current_path(), observer);
    }
    static void TearDownTestSuite() { FreeItuMaps(); }
    void SetUp() override { ASSERT_EQ(failures_, 0) << "the ITU-R maps are not in the program directory"; }

    static inline int failures_ = -1;
};

}  // namespace proptest
