// TGeoBatchForm: "GEO Batch Link Budget" (dialog 6800, command 6808).  It
// keeps the batch processor's path, the batch input file, the base name of
// the output files and four switches in the application's stored dialog
// values, and once confirmed starts the processor on its own, without
// waiting for it; the batch's results are not read back.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/forms/form.h"
#include "linkbudget/geo/geo_batch.h"

class TOrbiscopeMDIClient;

class TGeoBatchForm : public TForm {
public:
    static constexpr int kResourceId = 6800;
    static constexpr int kCommand = 6808;
    static constexpr int kStoredRecord = 46;
    enum ControlId : int {
        kExecutable = 6815, kInputFile = 6801, kOutputBase = 6802,
        kCsv = 6803, kIncludeInput = 6804, kQuiet = 6805, kHideTerminal = 6814,
        kSelectExecutable = 6816, kSelectInput = 6806, kSelectOutput = 6807, kClear = 120,
    };

    // `buffer` is the client's buffer of the stored record's size.
    TGeoBatchForm(QWidget* parent, std::uint8_t* buffer, std::size_t size);
    static std::vector<platform::ControlSpec> ControlTable();

    // The settings of the last OK into the controls.
    void SetupWindow() override;
    // The three names must be given, and the processor's must not name
    // Orbiscope itself; the settings are kept for next time.
    bool CanClose() override;

    GeoBatchSettings Scratch() const;
    void PutScratch(const GeoBatchSettings& settings);
    // "Select": a file chosen for one entry; the others keep what was typed.
    void CmSelect(int entryId);
    void CmClear();

    // How the processor is started; tests put a recorder here.  True when
    // it started.
    using Starter = std::function<bool(const BatchCommand&)>;
    static void SetStarter(Starter starter);
    // Starts the processor detached, with its arguments as they are.
    static bool StartDetached(const BatchCommand& command);
    // The form modally on the client's buffer, then, when confirmed, the
    // processor; "Failed to run orbiscope.ese" when it cannot be started.
    static void Run(TOrbiscopeMDIClient& client, std::uint8_t* buffer, std::size_t size);

private:
    std::uint8_t* buffer_;
    std::size_t size_;
};
