#include "rftools/losses/atmos_loss_record.h"

#include <cctype>

#include "framework/output/document_fields.h"

namespace orbiscope::losses {

namespace {

// Versions 4000 to 4004: the antenna came in 4004, the two Crane models in
// 4003; before 4001 four bytes followed the first rain-model flag.
bool ReadFields4000(DocumentFieldReader& read, std::uint16_t version, AtmosLossInputRecord& r)
{
    if (!read.Texts(r.siteName, r.satName, r.siteLatitude, r.siteLongitude, r.siteAltitude, r.satLongitude,
                    r.frequency, r.polarization, r.availability, r.systemNoise))
        return false;
    if (version >= 4004) {
        if (!read.Texts(r.diameter, r.efficiency)) return false;
    } else {
        PutText(r.diameter, kDefaultDiameter);
        PutText(r.efficiency, kDefaultEfficiency);
    }
    if (!read.State(r.ituAuto)) return false;
    if (version < 4001 && !read.Skip(4)) return false;
    if (version >= 4003 && !(read.State(r.craneTc) && read.State(r.craneUsa))) return false;
    return read.State(r.ituManual) && read.Text(r.manualRainRate);
}

// Versions 1812 and 1813 had no antenna and no rain-model buttons; 1813 kept
// a typed rain rate at its end.
bool ReadFields1812(DocumentFieldReader& read, std::uint16_t version, AtmosLossInputRecord& r)
{
    if (!read.Texts(r.siteName, r.satName, r.siteLatitude, r.siteLongitude, r.siteAltitude, r.satLongitude,
                    r.frequency, r.polarization))
        return false;
    if (version == kOldAtmosLossVersion1 && !read.Skip(4)) return false;
    if (!read.Texts(r.availability, r.systemNoise)) return false;
    if (version == kOldAtmosLossVersion2 && !(read.Skip(8) && read.Text(r.manualRainRate))) return false;
    PutText(r.diameter, kDefaultDiameter);
    PutText(r.efficiency, kDefaultEfficiency);
    return true;
}

void TerminateTexts(AtmosLossInputRecord& r)
{
    TerminateText(r.siteName);
    TerminateText(r.satName);
    for (char* t : {r.siteLatitude, r.siteLongitude, r.siteAltitude, r.satLongitude, r.frequency, r.availability,
                    r.systemNoise, r.diameter, r.efficiency, r.manualRainRate})
        t[sizeof(Text13) - 1] = '\0';
    TerminateText(r.polarization);
}

}  // namespace

void SetAtmosLossDefaults(AtmosLossInputRecord& r)
{
    r = AtmosLossInputRecord{};
    PutText(r.siteAltitude, "AUTO");
    r.ituAuto.Set(1);
}

bool IsAutoText(std::string_view text)
{
    constexpr std::string_view kAuto = "auto";
    if (text.size() != kAuto.size()) return false;
    for (std::size_t i = 0; i < kAuto.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != kAuto[i]) return false;
    return true;
}

int RainRateMode(AtmosLossInputRecord& r)
{
    int mode = r.ituManual.On() ? 1 : 0;
    if (r.craneTc.On() || r.craneUsa.On()) {
        mode = 0;
        r.ituAuto.Set(1);
    }
    return mode;
}

namespace {

template <class Fields>
bool ReadInto(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& r, Fields fields)
{
    r = AtmosLossInputRecord{};
    r.ituAuto.Set(1);
    DocumentFieldReader read(file, sizeof r);
    const bool ok = fields(read, version, r);
    TerminateTexts(r);
    return ok;
}

}  // namespace

bool ReadAtmosLossFields(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& r)
{
    if (version < kFirstAtmosLossVersion || version > kAtmosLossVersion) return false;
    return ReadInto(file, version, r, ReadFields4000);
}

bool ReadOldAtmosLossFields(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& r)
{
    if (version != kOldAtmosLossVersion1 && version != kOldAtmosLossVersion2) return false;
    return ReadInto(file, version, r, ReadFields1812);
}

bool ReadAtmosLossDocument(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& r)
{
    if (version == kOldAtmosLossVersion1 || version == kOldAtmosLossVersion2)
        return ReadOldAtmosLossFields(file, version, r);
    return ReadAtmosLossFields(file, version, r);
}

}  // namespace orbiscope::losses
