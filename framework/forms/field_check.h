// Checks of the input dialogs' text fields.  Each failing check hands one
// message (caption and text) to the sink; a dialog shows it in a box with the
// exclamation icon, a silent check (a reopened document) drops it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

enum class FieldType : int {
    Text = 0,              // any character but "~", and not ending in "#"
    Real = 1,              // digits . - +
    Integer = 2,           // digits - +
    Latitude = 3,          // decimal degrees with N or S
    Longitude = 4,         // decimal degrees with W or E
    RainZone = 5,          // A-H J-N P Q 1-3 * $ & ?
    Polarization = 6,      // V H C
    LeftRight = 7,         // L R
    YesNo = 8,             // Y N
    LatitudeDMM = 9,       // D.MM with N or S
    LongitudeDMM = 10,     // D.MM with W or E
    UnsignedDMM = 11,      // D.MM
    BandLetters = 12,      // S C K u a
    FileName = 13,         // a file's name: any character but "~"
};

struct FieldMessage {
    std::string caption;
    std::string text;
};
using FieldMessageSink = std::function<void(const FieldMessage&)>;

bool IsValidChar(char c, FieldType type);
bool InRange(std::string_view text, FieldType type, double minimum, double maximum);

// The leading number of a text, as the C run-time reads it ("53.42N" is
// 53.42, "abc" is 0), in the C locale whatever the process's.
double LeadingNumber(std::string_view text);

// Empty, invalid character, range, hemisphere suffix: the first failure is
// reported and ends the check.
bool CheckField(std::string_view label, std::string_view text, FieldType type, double minimum, double maximum,
                std::string_view unit, const FieldMessageSink& sink);

bool CheckDate(int day, int month, int year, const FieldMessageSink& sink);

// The message refusing a text field, named by its label, that holds a
// character no document can store (one outside Latin-1).
FieldMessage UnstorableTextMessage(std::string_view label);
// The message refusing a one-line field, named by its label, that holds a
// line break, tab or other control character.
FieldMessage OneLineTextMessage(std::string_view label);
// The message refusing a field of a user's file that holds a byte-order
// mark, which no editor shows, so that the user knows what to remove; a
// mark that starts a line of the file is said to be where two files were
// joined.
FieldMessage ByteOrderMarkMessage(std::string_view label, bool atLineStart);

// All three tests run; each failure is reported.
bool CheckMary(std::string_view mText, bool oneBitPerSymbol, bool qam, const FieldMessageSink& sink);

// Refuses a gain that a dish of this diameter cannot have at this frequency
// (efficiency above 100 %).  link: 0 none, 1 uplink, 2 downlink.
bool CheckAntennaGain(std::string_view diameterM, std::string_view gainDbi, std::string_view frequencyGHz, int link,
                      const FieldMessageSink& sink);

// An expression field (an FEC rate, say) must evaluate without error to a
// value within the range.
bool CheckFraction(std::string_view text, double minimum, double maximum, std::string_view label,
                   const FieldMessageSink& sink);

// The wanted satellite must not share its longitude with an included adjacent
// one.  Longitudes are compared with their hemisphere, so 10.0E and 10.0W
// differ, while 180.0E and 180.0W are the same meridian.
bool CheckSatelliteSpacing(std::string_view wanted, std::string_view adjacent1, std::string_view adjacent2,
                           std::string_view adjacent3, std::string_view adjacent4, std::uint16_t include2,
                           std::uint16_t include3, std::uint16_t include4, const FieldMessageSink& sink);

// The carrier spacing factor (second) must be at least (1 + roll-off) (first).
bool CheckCarrierSpacing(std::string_view first, std::string_view second, const FieldMessageSink& sink);
