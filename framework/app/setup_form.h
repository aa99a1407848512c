// The set-up dialog (Options > Setup) and the client's configuration steps:
// reading "orbisco.cfg" and "orbisco.dat" when the client is set up, the
// defaults of the set-up record, and the Setup command that edits the record
// and writes "orbisco.cfg".
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/forms/form.h"

class QWidget;
class TOrbiscope;

// Dialog 30.  Its 148-byte transfer buffer, in control order:
//   0 company[71], 71 "This session only", 73 "All sessions", 75 "Restore
//   defaults", 77 site name[41], 118 latitude[13], 131 longitude[13],
//   144 "Save supplementary dialog entries on exit", 146 "Restrict linear
//   polarization tilt angle to H=0 or V=90 degrees".
class TSetUpForm : public TForm {
public:
    static constexpr int kResourceId = 30;
    static constexpr std::size_t kTransferSize = 148;

    enum ControlId : int {
        kCompany = 31, kThisSession = 39, kAllSessions = 40, kRestoreDefaults = 41, kSiteName = 200,
        kLatitude = 202, kLongitude = 203, kSaveEntries = 44, kRestrictTilt = 45, kSiteButton = 126,
    };
    enum Offset : std::size_t {
        kCompanyAt = 0, kThisSessionAt = 71, kAllSessionsAt = 73, kRestoreDefaultsAt = 75, kSiteNameAt = 77,
        kLatitudeAt = 118, kLongitudeAt = 131, kSaveEntriesAt = 144, kRestrictTiltAt = 146,
    };
    static constexpr std::size_t kCompanySize = 71, kSiteNameSize = 41, kCoordinateSize = 13;

    explicit TSetUpForm(QWidget* parent);

    static std::vector<platform::ControlSpec> ControlTable();

    // "Restore defaults" closes without checks; otherwise the company, site
    // name, latitude and longitude are checked in that order.
    bool CanClose() override;
    // Button 126: the town picker fills the site name and coordinates.
    void CmSite();
    // Button 9: help topic 30.
    void CmHelp();

    // The town picker the Site button runs: true when the user picked a town,
    // which the picker leaves in the application's picked-site fields.  Until
    // the picker is installed, the button changes nothing.
    using SitePicker = std::function<bool(TForm& parent)>;
    static void SetSitePicker(SitePicker picker);
};

namespace setup {

// "orbisco.cfg" into the application's set-up record: true when a whole
// record was read.  Its texts are terminated at their last byte.
bool ReadSetupFile(TOrbiscope& app);
// The default record; the default country file is forgotten.
void SetDefaultSetup(TOrbiscope& app);
// "orbisco.dat" into the stored dialog values: true unless a record came up
// short (a missing file is no failure).
bool ReadFormValues(TOrbiscope& app);

// The client's set-up after the class library's own: the frame's placement,
// the set-up record (with the notice and the defaults when it cannot be read)
// and the stored dialog values (with the notice when the file is short).
// Boxes are owned by `owner` (the client).
void ReadConfiguration(TOrbiscope& app, QWidget* owner);

// Options > Setup: runs the set-up dialog over the record and keeps or
// writes the result as the persistence buttons ask.
void CmSetup(TOrbiscope& app, QWidget* client);

// Binds CmSetup to command 6610 of the client.
void RegisterSetUpCommand();

}  // namespace setup
