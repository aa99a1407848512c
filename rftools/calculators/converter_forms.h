// The one-way converters of the Calculate menu: D:M:S and decimal degrees,
// wavelength and frequency, noise temperature and noise figure.  Each is a
// calculator (framework/forms/calculator.h) of one input and one result.
#pragma once

#include <vector>

#include "framework/forms/calculator.h"

// clang-format off
class TDegMinEntry : public THintedEdit { public: TDegMinEntry(TForm* parent, int id, int textLimit); };
class TMinDegEntry : public THintedEdit { public: TMinDegEntry(TForm* parent, int id, int textLimit); };
class TCalcFreqEntry : public THintedEdit { public: TCalcFreqEntry(TForm* parent, int id, int textLimit); };
class TCalcWavelengthEntry : public THintedEdit { public: TCalcWavelengthEntry(TForm* parent, int id, int textLimit); };
// The noise-figure calculator's fields are TNoiseTempEntry edits and the
// noise-temperature calculator's TNoiseFigEntry edits.
class TNoiseTempEntry : public THintedEdit { public: TNoiseTempEntry(TForm* parent, int id, int textLimit); };
class TNoiseFigEntry : public THintedEdit { public: TNoiseFigEntry(TForm* parent, int id, int textLimit); };
// clang-format on

// D:M:S to decimal degrees (dialog 2200, 51 bytes).
class TDegMinForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6511;
    enum ControlId : int { kDegrees = 2203, kMinutes = 2202, kSeconds = 2201, kResult = 2211 };
    explicit TDegMinForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Decimal degrees to D:M:S (dialog 2230, 54 bytes).
class TMinDegForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6526;
    enum ControlId : int { kDegrees = 2231, kResult = 2232 };
    explicit TMinDegForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Wavelength to frequency (dialog 2700, 54 bytes).
class TCalcFreqForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6517;
    enum ControlId : int { kWavelength = 2701, kResult = 2711 };
    explicit TCalcFreqForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Frequency to wavelength (dialog 2600, 54 bytes).
class TCalcWavelengthForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6516;
    enum ControlId : int { kFrequency = 2610, kResult = 2611 };
    explicit TCalcWavelengthForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Noise temperature to noise figure (dialog 2400, 54 bytes).
class TNoiseFigForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6514;
    enum ControlId : int { kTemperature = 2410, kResult = 2411 };
    explicit TNoiseFigForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

// Noise figure to noise temperature (dialog 2300, 54 bytes).
class TNoiseTempForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6513;
    enum ControlId : int { kFigure = 2310, kResult = 2311 };
    explicit TNoiseTempForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

namespace calculators {
void RegisterConverterForms();
}  // namespace calculators
