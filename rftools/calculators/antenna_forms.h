// The antenna calculators: focal distance from the dish depth or the f/D
// ratio, nominal beamwidth, boresight and off-axis gain, wind loading, and the
// G/T of a receive chain.
#pragma once

#include <vector>

#include "framework/forms/calculator.h"

// clang-format off
class TFocalMEntry : public THintedEdit { public: TFocalMEntry(TForm* parent, int id, int textLimit); };
class TFocalfDEntry : public THintedEdit { public: TFocalfDEntry(TForm* parent, int id, int textLimit); };
class TCalcBeamwidthEntry : public THintedEdit { public: TCalcBeamwidthEntry(TForm* parent, int id, int textLimit); };
class TOffAxisEntry : public THintedEdit { public: TOffAxisEntry(TForm* parent, int id, int textLimit); };
class TWndEntry : public THintedEdit { public: TWndEntry(TForm* parent, int id, int textLimit); };
class TAntTypeRadioButton : public THintedRadioButton { public: TAntTypeRadioButton(TForm* parent, int id); };
class TCalcGTEntry : public THintedEdit { public: TCalcGTEntry(TForm* parent, int id, int textLimit); };
// clang-format on

// Focal distance from the measured depth (dialog 8010, 67 bytes).
class TFocalMForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6520;
    enum ControlId : int { kDiameter = 14027, kDepth = 8011, kResult = 8012 };
    explicit TFocalMForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Focal distance from the f/D ratio (dialog 8000, 67 bytes).
class TFocalfDForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6521;
    enum ControlId : int { kDiameter = 14027, kRatio = 8001, kResult = 8002 };
    explicit TFocalfDForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Nominal beamwidth at a relative level (dialog 2500, 80 bytes).
class TCalcBeamwidthForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6515;
    enum ControlId : int { kLevel = 2510, kFrequency = 208, kAperture = 14027, kResult = 2511 };
    static constexpr const char* kErrorCaption = "Beamwidth";
    static constexpr const char* kNoBeamText =
        "Aperture too small for this frequency: its beam does not fall to that level";
    explicit TCalcBeamwidthForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Boresight and off-axis gain from a template (dialog 2650, 142 bytes).
class TOffAxisForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6522;
    enum ControlId : int {
        kDiameter = 14027, kEfficiency = 14028, kFrequency = 208, kAngle = 2654, kBoresight = 2651, kOffAxis = 2655,
        kCoPolar = 2657, kCrossPolar = 2656, kBo1213 = 2658, kAp8 = 2659,
    };
    explicit TOffAxisForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Wind loading of a ground-mounted dish (dialog 8030, 108 bytes).
class TWndForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6528;
    enum ControlId : int {
        kSpeed = 8038, kCentreToFrame = 8035, kPoleToEdge = 8036, kWeight = 8037, kMajor = 8033, kMinor = 8034,
        kMoment = 8049, kBallast = 8039, kSolid = 8032, kMesh = 8031,
    };
    explicit TWndForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// G/T of a receive chain (dialog 8800, 273 bytes).
class TCalcGTForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6535;
    enum ControlId : int {
        kAntennaGain = 8801, kAntennaNoise = 14036, kWaveguide = 14031, kLnaGain = 216, kLnaNoise = 212,
        kFirstInsertion = 8807,   // gain 8807 + 2i, noise 8808 + 2i for insertion i = 0..5
        kReceiverNoise = 8819, kSystemTemperature = 8820, kNoiseFigure = 8821, kGOverT = 8822,
    };
    static constexpr const char* kErrorCaption = "G/T Error";
    static constexpr const char* kNotPositiveText =
        "System noise temperature is 0 K or below: enter AUTO only for passive items (losses)";
    explicit TCalcGTForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

namespace calculators {
void RegisterAntennaForms();
}  // namespace calculators
