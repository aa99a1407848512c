#include "pointing/sun/solar_batch_forms.h"

#include <algorithm>
#include <cstring>

#include "framework/app/mdiclient.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "framework/app/menus.h"
#include "framework/databases/place_files.h"
#include "framework/forms/field_check.h"
#include "framework/output/progress.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "pointing/sun/batch_input.h"
#include "pointing/sun/solar_out_form.h"
#include "pointing/sun/ui_pump.h"
#include "propagation/coordinates.h"

namespace {

using namespace solarform;
using namespace orbiscope::sun;

constexpr const char* kLatitudeUnit = "\xB0N,\xB0S";
constexpr const char* kLongitudeUnit = "\xB0W,\xB0" "E";
constexpr std::size_t kSiteNameChars = 80;
constexpr std::size_t kSatelliteNameChars = 40;

const TextField kFile{kBatchFile, 261, "Batch file name", "File name you wish to open", true};
const TextField kSatNameField{kSatName, 41, "Satellite name", "Name of satellite"};
const TextField kSatLonField{kSatLongitude, 13, "Satellite longitude \xB0",
                             "Satellite longitude in degrees with E or W (e.g. 28.2E)"};
const TextField kSiteNameField{kSiteName, 41, "Site name", "Name of earth station location"};
const TextField kLatField{kSiteLatitude, 13, "Site latitude \xB0",
                          "Site latitude in degrees with N or S (e.g. 51.50N)"};
const TextField kLonField{kSiteLongitude, 13, "Site longitude \xB0",
                          "Site longitude in degrees with E or W (e.g. 0.12W)"};
const TextField kYearField{kYear, 13, "Year of interest", "Year of interest (1980 to 2100)"};
const TextField kZoneField{kZone, 13, "Time zone (hours)", "International time zone: hours east of Greenwich"};
const TextField kApertureField{kAperture, 13, "Antenna aperture m", "Antenna diameter in metres"};
const TextField kFrequencyField{kFrequency, 13, "Frequency GHz", "Operating frequency in GHz"};

const TextField kSiteFileTexts[] = {kFile, kSatNameField, kSatLonField, kYearField, kFrequencyField};
const TextField kSatFileTexts[] = {kFile, kSiteNameField, kLatField, kLonField, kYearField, kZoneField,
                                   kApertureField, kFrequencyField};
const TextField kAllSatsTexts[] = {kSiteNameField, kLatField, kLonField, kYearField, kZoneField, kApertureField,
                                   kFrequencyField};
const std::vector<RadioGroup>& Groups()
{
    static const std::vector<RadioGroup> groups = {solarform::SeasonGroup(), BeamGroup(), ResolutionGroup(),
                                                   TimeGroup(), FormatGroup()};
    return groups;
}
// Clear's choice in each group.
const int kGroupDefaults[] = {kEarly, kStandard, kMinute, kLocal, kVertical};

const PushButton kFileButtons[] = {{kBrowse, "Browse"}, {kSatellite, "Satellite"}, {platform::IDOK, "OK"},
                                   {platform::IDCANCEL, "Cancel"}, {kClear, "Clear"}, {platform::IDHELP, "Help"}};
const PushButton kSiteButtons[] = {{kBrowse, "Browse"}, {kSite, "Site"}, {platform::IDOK, "OK"},
                                   {platform::IDCANCEL, "Cancel"}, {kClear, "Clear"}, {platform::IDHELP, "Help"}};
const PushButton kAllSatsButtons[] = {{kSite, "Site"}, {platform::IDOK, "OK"}, {platform::IDCANCEL, "Cancel"},
                                      {kClear, "Clear"}, {platform::IDHELP, "Help"}};

HintTable EntryHints()
{
    static const std::vector<HintEntry> hints = [] {
        std::vector<HintEntry> h = Hints(kSatFileTexts);
        for (const HintEntry& e : Hints(kSiteFileTexts)) h.push_back(e);
        return h;
    }();
    return hints;
}

// Offsets of every control of a definition's record: texts, then the words.
std::vector<std::pair<int, std::size_t>> Offsets(std::span<const TextField> texts)
{
    std::vector<std::pair<int, std::size_t>> at;
    std::size_t offset = 0;
    for (const TextField& t : texts) {
        at.emplace_back(t.id, offset);
        offset += static_cast<std::size_t>(t.limit);
    }
    for (const RadioGroup& g : Groups()) {
        for (const auto& b : g.buttons) {
            at.emplace_back(b.first, offset);
            offset += 2;
        }
    }
    return at;
}

std::size_t OffsetIn(std::span<const TextField> texts, int id)
{
    for (const auto& [cid, off] : Offsets(texts)) {
        if (cid == id) return off;
    }
    return 0;
}

}  // namespace

// ---- entries ---------------------------------------------------------------------

TSolarBatchEntry::TSolarBatchEntry(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, EntryHints())
{
}

// ---- definitions -----------------------------------------------------------------

const TSolarBatchFormBase::Definition TSolarBatchForm::kDefinition{
    590, "Run Sun Outage Batch Process", BatchKind::SiteFile, 31, 590, kSiteFileTexts};
const TSolarBatchFormBase::Definition TSunBatchForm::kDefinition{
    595, "Run Sun Outage Batch Process", BatchKind::SatelliteFile, 34, 595, kSatFileTexts};
const TSolarBatchFormBase::Definition TSunAllSatsForm::kDefinition{
    594, "Run Sun Outage Process", BatchKind::AllSatellites, 33, 594, kAllSatsTexts};

TSolarBatchForm::TSolarBatchForm(QWidget* parent, std::uint8_t* buffer, std::size_t size)
    : TSolarBatchFormBase(parent, kDefinition, buffer, size)
{
}
TSunBatchForm::TSunBatchForm(QWidget* parent, std::uint8_t* buffer, std::size_t size)
    : TSolarBatchFormBase(parent, kDefinition, buffer, size)
{
}
TSunAllSatsForm::TSunAllSatsForm(QWidget* parent, std::uint8_t* buffer, std::size_t size)
    : TSolarBatchFormBase(parent, kDefinition, buffer, size)
{
}

// ---- the form ----------------------------------------------------------------------

std::vector<platform::ControlSpec> TSolarBatchFormBase::ControlTable(const Definition& d)
{
    std::span<const PushButton> buttons = kAllSatsButtons;
    if (d.kind == BatchKind::SiteFile) buttons = kFileButtons;
    if (d.kind == BatchKind::SatelliteFile) buttons = kSiteButtons;
    return solarform::Controls(d.texts, Groups(), buttons);
}

void TSolarBatchFormBase::SetDefaults(const Definition& d, std::span<std::uint8_t> record)
{
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    for (int id : kGroupDefaults) transfer::SetWord(record, OffsetIn(d.texts, id), 1);
}

TSolarBatchFormBase::TSolarBatchFormBase(QWidget* parent, const Definition& d, std::uint8_t* buffer,
                                         std::size_t size)
    : TForm(parent, d.resourceId, d.caption, ControlTable(d)), def_(d), buffer_(buffer), size_(size)
{
    SetTransferBuffer(buffer_, size_);
    for (const TextField& t : d.texts) new TSolarBatchEntry(this, t.id, t.limit);
    for (int id : {kEarly, kLate}) new TSeasonRadioButton(this, id);
    for (int id : {kStandard, kWide}) new TOutageBeamRadioButton(this, id);
    for (int id : {kMinute, kSecond}) new TOutageResRadioButton(this, id);
    for (int id : {kGmt, kLocal}) new TOutputTimeRadioButton(this, id);
    for (int id : {kVertical, kHorizontal, kHtml}) new TOptionRadioButton(this, id);
    SetHandler(kClear, [this] { CmClear(); });
    SetHandler(kBrowse, [this] { CmBrowse(); });
    SetHandler(kSite, [this] { CmSite(); });
    SetHandler(kSatellite, [this] { CmSatellite(); });
    BindHelpButton(*this, def_.helpTopic);
}

std::size_t TSolarBatchFormBase::OffsetOf(int id) const { return OffsetIn(def_.texts, id); }

std::string TSolarBatchFormBase::FieldText(int id) const
{
    for (const TextField& t : def_.texts) {
        if (t.id == id) return transfer::GetText(values_, OffsetOf(id), static_cast<std::size_t>(t.limit));
    }
    return {};
}

bool TSolarBatchFormBase::Option(int id) const { return transfer::GetWord(values_, OffsetOf(id)) != 0; }

const BatchReport& TSolarBatchFormBase::Report() const { return report_; }

void TSolarBatchFormBase::SetupWindow()
{
    std::vector<std::uint8_t> record(size_, 0);
    if (TOrbiscope* app = App()) {
        const auto stored = app->FormRecord(def_.storedRecord);
        std::memcpy(record.data(), stored.data(), std::min(stored.size(), size_));
    }
    std::size_t group = 0;
    for (const RadioGroup& g : Groups()) {
        bool anySet = false;
        for (const auto& b : g.buttons) anySet = anySet || transfer::GetWord(record, OffsetOf(b.first)) != 0;
        if (!anySet) transfer::SetWord(record, OffsetOf(kGroupDefaults[group]), 1);
        ++group;
    }
    if (buffer_) std::memcpy(buffer_, record.data(), size_);
    TForm::SetupWindow();
}

void TSolarBatchFormBase::CmClear()
{
    std::vector<std::uint8_t> record(size_, 0);
    SetDefaults(def_, record);
    WriteControls(record);
}

void TSolarBatchFormBase::CmBrowse()
{
    platform::FileDialogData data;
    data.filter = "Text Files (*.txt)|*.txt";
    if (TOrbiscope* app = App()) data.initialDir = app->ProgramDir;
    if (!platform::RunFileOpen(this, "Select Input Batch File", data)) return;
    platform::RememberFolderOf(data, data.fileName);  // taken as the batch's input
    std::vector<std::uint8_t> v = ReadControls();
    transfer::SetText(v, OffsetOf(kBatchFile), 261, data.fileName);
    WriteControls(v);
}

void TSolarBatchFormBase::CmSite()
{
    TOrbiscope* app = App();
    if (!app || !RunSitePicker(*this)) return;
    std::vector<std::uint8_t> v = ReadControls();
    transfer::SetText(v, OffsetOf(kSiteName), 41, app->PickedSiteName);
    transfer::SetText(v, OffsetOf(kSiteLatitude), 13, app->PickedSiteLatitude);
    transfer::SetText(v, OffsetOf(kSiteLongitude), 13, app->PickedSiteLongitude);
    WriteControls(v);
}

void TSolarBatchFormBase::CmSatellite()
{
    TOrbiscope* app = App();
    if (!app || !RunSatellitePicker(*this)) return;
    std::vector<std::uint8_t> v = ReadControls();
    transfer::SetText(v, OffsetOf(kSatName), 41, app->PickedSatName);
    transfer::SetText(v, OffsetOf(kSatLongitude), 13, app->PickedSatLongitude);
    WriteControls(v);
}

bool TSolarBatchFormBase::ValidateFields()
{
    using FT = FieldType;
    const bool siteFile = def_.kind == BatchKind::SiteFile;
    if (def_.kind != BatchKind::AllSatellites &&
        !CheckField("Batch file name", FieldText(kBatchFile), FT::FileName, 0, 0, ""))
        return false;
    if (siteFile) {
        if (!CheckField("Satellite name", FieldText(kSatName), FT::Text, 0, 0, "") ||
            !CheckField("Satellite longitude", FieldText(kSatLongitude), FT::Longitude, 0, 180, kLongitudeUnit) ||
            !CheckField("Year of interest", FieldText(kYear), FT::Real, 1980, 2100, "") ||
            !CheckField("Frequency", FieldText(kFrequency), FT::Real, 0.0007, 55, "GHz"))
            return false;
        return CheckFrequencyAllowsAperture(*this, LeadingNumber(FieldText(kFrequency)), FieldText(kFrequency));
    }
    if (!CheckField("Site name", FieldText(kSiteName), FT::Text, 0, 0, "") ||
        !CheckField("Site latitude", FieldText(kSiteLatitude), FT::Latitude, 0, 90, kLatitudeUnit) ||
        !CheckField("Site longitude", FieldText(kSiteLongitude), FT::Longitude, 0, 180, kLongitudeUnit) ||
        !CheckField("Year of interest", FieldText(kYear), FT::Real, 1980, 2100, "") ||
        !CheckField("International time zone", FieldText(kZone), FT::Real, -12, 14, "") ||
        !CheckField("Antenna aperture", FieldText(kAperture), FT::Real, 0.01, kLargestApertureM, "m") ||
        !CheckField("Frequency", FieldText(kFrequency), FT::Real, 0.0007, 55, "GHz"))
        return false;
    return CheckApertureForFrequency(*this, LeadingNumber(FieldText(kAperture)), LeadingNumber(FieldText(kFrequency)),
                                     FieldText(kFrequency));
}

SolarBatchSetup TSolarBatchFormBase::MakeSetup() const
{
    SolarBatchSetup s;
    s.kind = def_.kind;
    s.early = Option(kEarly);
    s.horizontal = Option(kHorizontal);
    s.options.year = static_cast<int>(LeadingNumber(FieldText(kYear)));
    s.options.frequencyGHz = LeadingNumber(FieldText(kFrequency));
    s.options.wide = !Option(kStandard);
    s.options.minuteRefinement = Option(kMinute);
    s.options.secondRefinement = Option(kSecond);
    s.options.gmtOutput = Option(kGmt);
    s.yearText = FieldText(kYear);
    s.frequencyText = FieldText(kFrequency);
    s.zoneText = FieldText(kZone);
    s.diameterText = FieldText(kAperture);
    s.formSite = {FieldText(kSiteName), ParseLatLon(FieldText(kSiteLatitude)), ParseLatLon(FieldText(kSiteLongitude)),
                  LeadingNumber(FieldText(kZone)), LeadingNumber(FieldText(kAperture))};
    s.formSatellite = {FieldText(kSatName), ParseLatLon(FieldText(kSatLongitude))};
    return s;
}

bool TSolarBatchFormBase::ReadSites(std::vector<BatchSite>& sites)
{
    using FT = FieldType;
    std::vector<std::uint8_t> bytes;
    if (!LoadBatchFile(*this, FieldText(kBatchFile), bytes)) return false;
    const double frequency = LeadingNumber(FieldText(kFrequency));
    BatchReader reader(BatchText(bytes), 5);
    for (BatchRecord r; reader.Next(r);) {
        const auto& f = r.fields;
        const int line = [&] {
            if (!CheckBatchField(*this, "Text file: Site name", f[0], FT::Text, 0, 0, "")) return f[0].line;
            if (!CheckBatchField(*this, "Text file: Site latitude", f[1], FT::Latitude, 0, 90, kLatitudeUnit))
                return f[1].line;
            if (!CheckBatchField(*this, "Text file: Site longitude", f[2], FT::Longitude, 0, 180, kLongitudeUnit))
                return f[2].line;
            if (!CheckBatchField(*this, "Text file: Time zone", f[3], FT::Real, -12, 13, "")) return f[3].line;
            if (!CheckBatchField(*this, "Text file: Antenna size", f[4], FT::Real, 0.2, kLargestApertureM, "m"))
                return f[4].line;
            if (!CheckApertureForFrequency(*this, LeadingNumber(f[4].text), frequency, FieldText(kFrequency)))
                return f[4].line;
            return 0;
        }();
        if (line != 0) {
            ReportBatchLine(*this, line);
            return false;
        }
        sites.push_back({CutText(f[0].text, kSiteNameChars), ParseLatLon(f[1].text), ParseLatLon(f[2].text),
                         LeadingNumber(f[3].text), LeadingNumber(f[4].text)});
    }
    if (sites.empty()) ReportBatchLine(*this, 0);
    return !sites.empty();
}

bool TSolarBatchFormBase::ReadSatellites(std::vector<BatchSatellite>& satellites)
{
    using FT = FieldType;
    std::vector<std::uint8_t> bytes;
    if (!LoadBatchFile(*this, FieldText(kBatchFile), bytes)) return false;
    BatchReader reader(BatchText(bytes), 2);
    for (BatchRecord r; reader.Next(r);) {
        const auto& f = r.fields;
        int line = 0;
        if (!CheckBatchField(*this, "Text file: Satellite name", f[0], FT::Text, 0, 0, "")) line = f[0].line;
        else if (!CheckBatchField(*this, "Text file: Satellite Longitude", f[1], FT::Longitude, 0, 180, kLongitudeUnit))
            line = f[1].line;
        if (line != 0) {
            ReportBatchLine(*this, line);
            return false;
        }
        satellites.push_back({CutText(f[0].text, kSatelliteNameChars), ParseLatLon(f[1].text)});
    }
    if (satellites.empty()) ReportBatchLine(*this, 0);
    return !satellites.empty();
}

bool TSolarBatchFormBase::ReadSatelliteList(std::vector<BatchSatellite>& satellites)
{
    if (TOrbiscope* app = App()) app->SetProgramDir();
    const std::filesystem::path path = platform::ProgramDirectory() / kSatelliteListFile;
    std::error_code ec;
    std::vector<SatelliteRecord> records;
    if (!std::filesystem::is_regular_file(path, ec)) {
        platform::MessageBox(this, kSatelliteListFile, "Unable to open file", platform::MB_ICONEXCLAMATION);
        return false;
    }
    if (!ReadSatelliteFile(path, kSatellitePickerRule, records)) {
        platform::MessageBox(this, std::string(kSatelliteListFile) + " is not a satellite list of version 1993",
                             "Unable to read file", platform::MB_ICONEXCLAMATION);
        return false;
    }
    for (std::size_t i = 1; i < records.size(); ++i)
        satellites.push_back({RecordText(records[i].name), static_cast<double>(records[i].longitude)});
    return true;
}

bool TSolarBatchFormBase::ReadItems(std::vector<BatchItem>& items)
{
    const SolarBatchSetup s = MakeSetup();
    if (def_.kind == BatchKind::SiteFile) {
        std::vector<BatchSite> sites;
        if (!ReadSites(sites)) return false;
        items = SiteFileItems(sites, s.formSatellite);
        return true;
    }
    std::vector<BatchSatellite> satellites;
    if (def_.kind == BatchKind::SatelliteFile) {
        if (!ReadSatellites(satellites)) return false;
        items = SatelliteFileItems(s.formSite, satellites);
        return true;
    }
    if (!ReadSatelliteList(satellites)) return false;
    items = VisibleSatelliteItems(s.formSite, satellites);
    if (items.empty()) {
        platform::MessageBox(this, "No matching satellites found", orbiscope::kMainTitle,
                             platform::MB_ICONINFORMATION);
        return false;
    }
    return true;
}

bool TSolarBatchFormBase::ProcessBatch()
{
    std::vector<BatchItem> items;
    if (!ReadItems(items)) return false;
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    report_ = BatchReport{};
    report_.owner = owner;
    TOrbiscope* app = App();
    // The progress window stands in front of this form and alone takes input
    // while it is up: nothing can be closed or started under the run, and
    // its Cancel (or Escape) stops the run at the next step.
    TProgressDialog progress(this, static_cast<double>(items.size()), 0.0, "Progress", "Processing %d of %d",
                             "%d%%");
    progress.Create();
    UiPump pump;
    SolarBatchHooks hooks;
    hooks.line = [this](const std::string& l) { AppendReportLine(report_, l.c_str()); };
    hooks.keepGoing = [&progress] { return progress.IsOpen(); };
    hooks.itemDone = [&progress](int done) { progress.SetPercent(done); };
    hooks.status = [app](const std::string& text) { ShowStatusHint(app, text.c_str()); };
    hooks.step = [&pump, &progress] {
        pump.Tick();
        return progress.IsOpen();
    };
    const bool completed = RunSolarBatch(MakeSetup(), items, hooks);
    progress.Destroy();
    ShowStatusHint(app, "");
    report_.text.shrink_to_fit();
    if (!completed) return false;
    const bool html = !Option(kHorizontal) && Option(kHtml);
    if (html) SaveOutputAsHtml(report_);
    else SaveOutputAsTabbedText(report_, report_.lineCount);
    return true;
}

bool TSolarBatchFormBase::CanClose()
{
    values_ = ReadControls();
    if (!ValidateFields()) return false;
    ProcessBatch();
    if (TOrbiscope* app = App()) {
        const auto stored = app->FormRecord(def_.storedRecord);
        std::memcpy(stored.data(), values_.data(), std::min(stored.size(), values_.size()));
    }
    return true;
}

namespace orbiscope::sun {

namespace {
template <class Form>
void RunBatchForm(TOrbiscopeMDIClient& client, std::uint8_t* buffer, std::size_t size)
{
    Form form(client.window(), buffer, size);
    form.Execute();
}
}  // namespace

void RegisterSolarBatches()
{
    RegisterCalculator(TSolarBatchForm::kCommand, RunBatchForm<TSolarBatchForm>);
    RegisterCalculator(TSunBatchForm::kCommand, RunBatchForm<TSunBatchForm>);
    RegisterCalculator(TSunAllSatsForm::kCommand, RunBatchForm<TSunAllSatsForm>);
}

}  // namespace orbiscope::sun
