#include "framework/forms/form.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/app/orbiscope.h"
#include "platform/messagebox.h"
#include "platform/services.h"

using platform::ControlKind;
using platform::ControlSpec;

namespace {

bool TakesPart(const ControlSpec& c)
{
    return c.transfer &&
           (c.kind == ControlKind::Edit || c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton);
}

std::size_t FieldSize(const ControlSpec& c)
{
    return c.kind == ControlKind::Edit ? std::size_t(std::max(1, c.textLimit)) : 2;
}

}  // namespace

TForm::TForm(QWidget* parent, int resourceId, const std::string& caption, std::vector<ControlSpec> controls)
    : platform::Dialog(parent, resourceId, caption, std::move(controls)), app_(TOrbiscope::Current())
{
}

TForm::~TForm() = default;

bool TForm::CanClose()
{
    platform::Dialog::CanClose();
    return false;
}

void TForm::ReportFieldError(std::string_view text, std::string_view caption)
{
    const std::size_t n = std::min(text.size(), kMessageBufferSize - 1);
    std::memcpy(MessageBuffer, text.data(), n);
    MessageBuffer[n] = '\0';
    if (Silent()) return;
    platform::MessageBox(this, text, caption, platform::MB_ICONEXCLAMATION);
}

FieldMessageSink TForm::MessageSink()
{
    return [this](const FieldMessage& m) { ReportFieldError(m.text, m.caption); };
}

bool TForm::CheckField(std::string_view label, std::string_view text, FieldType type, double minimum, double maximum,
                       std::string_view unit)
{
    return ::CheckField(label, text, type, minimum, maximum, unit, MessageSink());
}

bool TForm::CheckDate(int day, int month, int year) { return ::CheckDate(day, month, year, MessageSink()); }

bool TForm::CheckMary(std::string_view mText, bool oneBitPerSymbol, bool qam)
{
    return ::CheckMary(mText, oneBitPerSymbol, qam, MessageSink());
}

bool TForm::CheckAntennaGain(std::string_view diameterM, std::string_view gainDbi, std::string_view frequencyGHz,
                             int link)
{
    return ::CheckAntennaGain(diameterM, gainDbi, frequencyGHz, link, MessageSink());
}

bool TForm::CheckFraction(std::string_view text, double minimum, double maximum, std::string_view label)
{
    return ::CheckFraction(text, minimum, maximum, label, MessageSink());
}

bool TForm::CheckSatelliteSpacing(std::string_view wanted, std::string_view adjacent1, std::string_view adjacent2,
                                  std::string_view adjacent3, std::string_view adjacent4, std::uint16_t include2,
                                  std::uint16_t include3, std::uint16_t include4)
{
    return ::CheckSatelliteSpacing(wanted, adjacent1, adjacent2, adjacent3, adjacent4, include2, include3, include4,
                                   MessageSink());
}

bool TForm::CheckCarrierSpacing(std::string_view first, std::string_view second)
{
    return ::CheckCarrierSpacing(first, second, MessageSink());
}

std::vector<std::uint8_t> TForm::ReadControls() const
{
    std::vector<std::uint8_t> values(platform::TransferSize(Controls()), 0);
    std::size_t off = 0;
    for (const ControlSpec& c : Controls()) {
        if (!TakesPart(c)) continue;
        const std::size_t size = FieldSize(c);
        if (c.kind == ControlKind::Edit) transfer::SetText(values, off, size, GetControlText(c.id));
        else transfer::SetWord(values, off, std::uint16_t(GetCheck(c.id)));
        off += size;
    }
    return values;
}

void TForm::WriteControls(std::span<const std::uint8_t> values)
{
    std::size_t off = 0;
    for (const ControlSpec& c : Controls()) {
        if (!TakesPart(c)) continue;
        const std::size_t size = FieldSize(c);
        if (off + size > values.size()) return;
        if (c.kind == ControlKind::Edit) SetControlText(c.id, transfer::GetText(values, off, size));
        else SetCheck(c.id, transfer::GetWord(values, off));
        off += size;
    }
}

void TForm::ShowHelp(int contextId) const
{
    if (app_) app_->ShowHelp(contextId);
    else platform::HelpViewer::ShowContext(contextId);
}

namespace transfer {

std::string GetText(std::span<const std::uint8_t> record, std::size_t offset, std::size_t size)
{
    if (size == 0 || offset >= record.size() || size > record.size() - offset) return {};
    const auto* begin = record.data() + offset;
    const auto* end = std::find(begin, begin + size - 1, std::uint8_t{0});
    return std::string(begin, end);
}

void SetText(std::span<std::uint8_t> record, std::size_t offset, std::size_t size, std::string_view text)
{
    if (size == 0 || offset >= record.size() || size > record.size() - offset) return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(record.data() + offset, text.data(), n);
    std::memset(record.data() + offset + n, 0, size - n);
}

std::uint16_t GetWord(std::span<const std::uint8_t> record, std::size_t offset)
{
    if (offset >= record.size() || record.size() - offset < 2) return 0;
    return std::uint16_t(record[offset] | record[offset + 1] << 8);
}

void SetWord(std::span<std::uint8_t> record, std::size_t offset, std::uint16_t value)
{
    if (offset >= record.size() || record.size() - offset < 2) return;
    record[offset] = std::uint8_t(value & 0xFF);
    record[offset + 1] = std::uint8_t(value >> 8);
}

}  // namespace transfer
