// The three solar-outage batch forms: every site of a text file with one
// satellite (TSolarBatchForm, 590), one site with every satellite of a text
// file (TSunBatchForm, 595), one site with every satellite of "satlist.geo"
// above its horizon (TSunAllSatsForm, 594).  OK checks the fields, runs the
// batch under a progress dialog and asks for the result file.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "framework/output/export.h"
#include "pointing/sun/solar_batch.h"
#include "pointing/sun/solar_form_layout.h"

class TSolarBatchFormBase : public TForm {
public:
    struct Definition {
        int resourceId;
        const char* caption;
        orbiscope::sun::BatchKind kind;
        int storedRecord;
        int helpTopic;
        std::span<const solarform::TextField> texts;
    };

    TSolarBatchFormBase(QWidget* parent, const Definition& definition, std::uint8_t* buffer, std::size_t size);

    // The stored values into the controls; an option group with no button set
    // (a stored record never used, all zero) takes Clear's choice.
    void SetupWindow() override;
    // Checks the fields, runs the batch and stores the values; closes only
    // when the fields passed.
    bool CanClose() override;

    void CmClear();
    void CmBrowse();
    void CmSite();
    void CmSatellite();

    // The record's text and option word of a control.
    std::string FieldText(int id) const;
    bool Option(int id) const;
    std::size_t TransferSize() const { return size_; }

    // The report of the last run (kept until the form goes).
    const BatchReport& Report() const;

    static std::vector<platform::ControlSpec> ControlTable(const Definition& definition);
    // Clear's values in a record of this layout.
    static void SetDefaults(const Definition& definition, std::span<std::uint8_t> record);

private:
    std::size_t OffsetOf(int id) const;
    bool ValidateFields();
    bool ProcessBatch();
    bool ReadItems(std::vector<orbiscope::sun::BatchItem>& items);
    bool ReadSites(std::vector<orbiscope::sun::BatchSite>& sites);
    bool ReadSatellites(std::vector<orbiscope::sun::BatchSatellite>& satellites);
    bool ReadSatelliteList(std::vector<orbiscope::sun::BatchSatellite>& satellites);
    orbiscope::sun::SolarBatchSetup MakeSetup() const;

    Definition def_;
    std::uint8_t* buffer_;
    std::size_t size_;
    std::vector<std::uint8_t> values_;  // the controls as last read
    BatchReport report_;
};

class TSolarBatchForm : public TSolarBatchFormBase {
public:
    static constexpr int kCommand = 6527;
    static const Definition kDefinition;
    TSolarBatchForm(QWidget* parent, std::uint8_t* buffer, std::size_t size);
};

class TSunBatchForm : public TSolarBatchFormBase {
public:
    static constexpr int kCommand = 6530;
    static const Definition kDefinition;
    TSunBatchForm(QWidget* parent, std::uint8_t* buffer, std::size_t size);
};

class TSunAllSatsForm : public TSolarBatchFormBase {
public:
    static constexpr int kCommand = 6529;
    static const Definition kDefinition;
    TSunAllSatsForm(QWidget* parent, std::uint8_t* buffer, std::size_t size);
};

// The entries of the three forms: their hints in the status bar.
class TSolarBatchEntry : public THintedEdit {
public:
    TSolarBatchEntry(TForm* parent, int id, int textLimit);
};
using TSunBatchEntry = TSolarBatchEntry;
using TSunAllSatsEntry = TSolarBatchEntry;

namespace orbiscope::sun {
// Binds the three batch commands of the client to their forms.
void RegisterSolarBatches();
}  // namespace orbiscope::sun
