// TMagVarBatchForm: "Magnetic Variation Batch Process" (dialog 596, command
// 6532).  Reads a text file of sites (name, latitude, longitude), finds the
// magnetic declination of each for today's date and writes the table as
// tabbed text or an HTML page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/forms/form.h"
#include "framework/output/export.h"
#include "pointing/sun/batch_file.h"

struct MagVarSite {
    std::string name;  // at most 79 characters
    double latitude = 0, longitude = 0;  // degrees, north and east positive
};

class TMagVarBatchForm : public TForm {
public:
    static constexpr int kResourceId = 596;
    static constexpr int kCommand = 6532;
    static constexpr int kStoredRecord = 35;
    static constexpr int kFileId = 237;
    static constexpr int kFileBytes = 261;

    TMagVarBatchForm(QWidget* parent, std::uint8_t* buffer, std::size_t size);
    static std::vector<platform::ControlSpec> ControlTable();

    // The stored file name into the field.
    void SetupWindow() override;
    // Checks the name, runs the batch, stores the name; closes whatever the
    // batch's outcome once the name passed.
    bool CanClose() override;

    // Reads and checks the file into the site table; false after the
    // message of the first failure (nothing is written then).
    bool LoadBatchFile();
    void ProcessBatch();

    const BatchReport& Report() const { return report_; }
    const std::vector<MagVarSite>& Sites() const { return sites_; }

private:
    std::string fileName_;
    std::vector<MagVarSite> sites_;
    BatchReport report_;
    std::uint8_t* buffer_;
    std::size_t size_;
};

// The report lines of a table of sites: title with the date line, a blank
// line, the column heading and one row per site with the declination
// `declinationOf` gives (degrees, east positive).
std::vector<std::string> MagVarReportLines(const std::vector<MagVarSite>& sites, const std::string& dateLine,
                                           double (*declinationOf)(double latitude, double longitude));

namespace orbiscope {
// Binds command 6532 of the client to the form.
void RegisterMagVarBatch();
}  // namespace orbiscope
