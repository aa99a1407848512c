// The link-level calculators: degradation and C/IM both ways, power ratio
// addition, flange power density, site diversity gain, worst-month to
// average-year availability and the antenna noise of an earth station.
#pragma once

#include <vector>

#include "framework/forms/calculator.h"

// clang-format off
class TDegrToCimEntry : public THintedEdit { public: TDegrToCimEntry(TForm* parent, int id, int textLimit); };
class TCimToDegrEntry : public THintedEdit { public: TCimToDegrEntry(TForm* parent, int id, int textLimit); };
class TPowSumEntry : public THintedEdit { public: TPowSumEntry(TForm* parent, int id, int textLimit); };
class TPowerEntry : public THintedEdit { public: TPowerEntry(TForm* parent, int id, int textLimit); };
class TSdivEntry : public THintedEdit { public: TSdivEntry(TForm* parent, int id, int textLimit); };
class TSigAvailEntry : public THintedEdit { public: TSigAvailEntry(TForm* parent, int id, int textLimit); };
class TAntNoiseEntry : public THintedEdit { public: TAntNoiseEntry(TForm* parent, int id, int textLimit); };
// clang-format on

// Non-linear degradation to an equivalent C/IM (dialog 2718, 67 bytes).
class TDegrToCimForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 1314;
    enum ControlId : int { kEsNo = 2713, kDegradation = 2716, kResult = 2715 };
    explicit TDegrToCimForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// C/IM to the equivalent non-linear degradation (dialog 2719, 67 bytes).
class TCimToDegrForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 1315;
    enum ControlId : int { kEsNo = 2713, kCim = 2714, kResult = 2717 };
    static constexpr const char* kErrorCaption = "C/IM";
    static constexpr const char* kNotAboveText =
        "C/IM must be greater than the required Es/No: no degradation corresponds to it";
    explicit TCimToDegrForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Power ratio addition of two to five dB values (dialog 2950, 84 bytes).
class TPowSumForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6534;
    enum ControlId : int {
        kValue1 = 2951, kValue2 = 2952, kValue3 = 2953, kValue4 = 2954, kValue5 = 2955, kTotal = 2959,
        kInclude3 = 2956, kInclude4 = 2957, kInclude5 = 2958,
    };
    explicit TPowSumForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Power spectral density at the amplifier flange (dialog 2671, 149 bytes).
class TPowerForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6523;
    enum ControlId : int { kPower = 2672, kBandwidth = 2673, kWattsPerHz = 2674, kDbwPerHz = 2675, kDbwPer4kHz = 2676 };
    explicit TPowerForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Two-site diversity gain (dialog 2800, 78 bytes).
class TSdivForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 1316;
    enum ControlId : int {
        kSeparation = 2801, kAttenuation = 2802, kFrequency = 208, kElevation = 5603, kBaselineAngle = 2803,
        kResult = 2804,
    };
    explicit TSdivForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Worst-month to average-year availability (dialog 2900, 136 bytes).
class TSigAvailForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6519;
    enum ControlId : int { kWorstMonth = 2910, kGlobal = 2911, kTropical = 2912, kDry = 2913 };
    explicit TSigAvailForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Antenna noise of an earth station (dialog 24000, 78 bytes).
class TAntNoiseForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6512;
    enum ControlId : int {
        kLatitude = 202, kLongitude = 203, kSatellite = 206, kEfficiency = 14028, kFrequency = 208, kResult = 24011,
        kSiteButton = 126, kSatelliteButton = 127,
    };
    explicit TAntNoiseForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

    void CmSite();
    void CmSatellite();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

namespace calculators {
void RegisterLinkForms();
}  // namespace calculators
