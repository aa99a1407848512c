#include "pointing/alignment/magvar_batch.h"

#include <cstdio>
#include <cstring>

#include "framework/app/mdiclient.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "framework/forms/control_table.h"
#include "framework/forms/field_check.h"
#include "framework/forms/form_controls.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "pointing/sun/batch_input.h"
#include "pointing/sun/ui_pump.h"
#include "propagation/coordinates.h"

namespace {

constexpr int kBrowse = 130;
constexpr int kClear = 120;
constexpr std::size_t kNameChars = 79;
constexpr const char* kLatitudeUnit = "\xB0N,\xB0S";
constexpr const char* kLongitudeUnit = "\xB0W,\xB0" "E";
constexpr HintEntry kFileHint[] = {{TMagVarBatchForm::kFileId, 0, "File name you wish to open"}};

std::string Coordinate(double value, int kind)
{
    char text[32];
    FormatLatLon(value, kind, text);
    return text;
}

}  // namespace

std::vector<std::string> MagVarReportLines(const std::vector<MagVarSite>& sites, const std::string& dateLine,
                                           double (*declinationOf)(double, double))
{
    std::vector<std::string> lines;
    char text[256];
    std::snprintf(text, sizeof text, "Magnetic Variation: %s (all values in degrees)", dateLine.c_str());
    lines.emplace_back(text);
    lines.emplace_back(" ");
    lines.emplace_back("Site\tLat\tLong\tMag.Var.~");
    UiPump pump;
    for (const MagVarSite& s : sites) {
        const double d = declinationOf(s.latitude, s.longitude);
        char variation[32];
        std::snprintf(variation, sizeof variation, d < 0.0 ? "%.2fW" : "%.2fE", d < 0.0 ? -d : d);
        lines.push_back(s.name + "\t" + Coordinate(s.latitude, 0) + "\t" + Coordinate(s.longitude, 1) + "\t" +
                        variation);
        pump.Tick();
    }
    return lines;
}

std::vector<platform::ControlSpec> TMagVarBatchForm::ControlTable()
{
    using namespace controls;
    return {
        Label("Input batch file to process", 12, 14, 180),
        FileNameEdit(kFileId, kFileBytes, 12, 36, 420),
        Button(kBrowse, "Browse", 440, 34, 80),
        Button(platform::IDOK, "OK", 12, 76, 80),
        Button(platform::IDCANCEL, "Cancel", 100, 76, 80),
        Button(kClear, "Clear", 188, 76, 80),
        Button(platform::IDHELP, "Help", 276, 76, 80),
    };
}

TMagVarBatchForm::TMagVarBatchForm(QWidget* parent, std::uint8_t* buffer, std::size_t size)
    : TForm(parent, kResourceId, "Magnetic Variation Batch Process", ControlTable()), buffer_(buffer), size_(size)
{
    SetTransferBuffer(buffer_, size_);
    new THintedEdit(this, kFileId, kFileBytes, kFileHint);
    SetHandler(kBrowse, [this] {
        platform::FileDialogData data;
        data.filter = "Text Files (*.txt)|*.txt";
        if (TOrbiscope* app = App()) data.initialDir = app->ProgramDir;
        if (!platform::RunFileOpen(this, "Select Input Batch File", data)) return;
        platform::RememberFolderOf(data, data.fileName);  // taken as the batch's input
        SetControlText(kFileId, data.fileName);
    });
    SetHandler(kClear, [this] { SetControlText(kFileId, ""); });
    BindHelpButton(*this, kFileId);
}

void TMagVarBatchForm::SetupWindow()
{
    if (TOrbiscope* app = App(); app && buffer_) {
        const auto stored = app->FormRecord(kStoredRecord);
        std::memcpy(buffer_, stored.data(), std::min(stored.size(), size_));
    }
    TForm::SetupWindow();
}

bool TMagVarBatchForm::LoadBatchFile()
{
    using FT = FieldType;
    using orbiscope::sun::CheckBatchField;
    std::vector<std::uint8_t> bytes;
    if (!orbiscope::sun::LoadBatchFile(*this, fileName_, bytes)) return false;
    sites_.clear();
    orbiscope::sun::BatchReader reader(orbiscope::sun::BatchText(bytes), 3);
    for (orbiscope::sun::BatchRecord r; reader.Next(r);) {
        const auto& f = r.fields;
        int line = 0;
        if (!CheckBatchField(*this, "Text file: Site name", f[0], FT::Text, 0, 0, "")) line = f[0].line;
        else if (!CheckBatchField(*this, "Text file: Site latitude", f[1], FT::Latitude, 0, 90, kLatitudeUnit))
            line = f[1].line;
        else if (!CheckBatchField(*this, "Text file: Site longitude", f[2], FT::Longitude, 0, 180, kLongitudeUnit))
            line = f[2].line;
        if (line != 0) {
            orbiscope::sun::ReportBatchLine(*this, line);
            return false;
        }
        sites_.push_back(
            {orbiscope::sun::CutText(f[0].text, kNameChars), ParseLatLon(f[1].text), ParseLatLon(f[2].text)});
    }
    if (sites_.empty()) orbiscope::sun::ReportBatchLine(*this, 0);
    return !sites_.empty();
}

void TMagVarBatchForm::ProcessBatch()
{
    platform::WaitCursor wait;
    if (!LoadBatchFile()) return;
    report_ = BatchReport{};
    report_.owner = parentWidget() ? parentWidget()->window() : nullptr;
    const std::string date = App() ? App()->FormatDate(false) : "";
    for (const std::string& line : MagVarReportLines(sites_, date, MagneticDeclinationNow))
        AppendReportLine(report_, line.c_str());
    report_.text.shrink_to_fit();
    const int answer = platform::MessageBox(this, "'Yes' for default tabbed text file, 'No' for HTML file",
                                            "Select Output File Type", platform::MB_YESNO | platform::MB_ICONQUESTION);
    if (answer == platform::IDYES) SaveOutputAsTabbedText(report_, report_.lineCount);
    else SaveOutputAsHtml(report_);
}

bool TMagVarBatchForm::CanClose()
{
    fileName_ = GetControlText(kFileId);
    if (!CheckField("Batch file name", fileName_, FieldType::FileName, 0, 0, "")) return false;
    ProcessBatch();
    if (TOrbiscope* app = App()) {
        const auto stored = app->FormRecord(kStoredRecord);
        transfer::SetText(stored, 0, std::min<std::size_t>(stored.size(), kFileBytes), fileName_);
    }
    return true;
}

namespace orbiscope {

void RegisterMagVarBatch()
{
    RegisterCalculator(TMagVarBatchForm::kCommand,
                       [](TOrbiscopeMDIClient& client, std::uint8_t* buffer, std::size_t size) {
                           TMagVarBatchForm form(client.window(), buffer, size);
                           form.Execute();
                       });
}

}  // namespace orbiscope
