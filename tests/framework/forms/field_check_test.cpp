#include "framework/forms/field_check.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace {

struct Recorder {
    std::vector<FieldMessage> messages;
    FieldMessageSink sink()
    {
        return [this](const FieldMessage& m) { messages.push_back(m); };
    }
};

}  // namespace

TEST(CheckField, OrderOfChecksAndTheirMessages)
{
    struct Case {
        const char* text;
        FieldType type;
        double min, max;
        bool ok;
        const char* caption;   // of the one message, when it fails
        const char* message;
    };
    static const std::string kTooManyDigits(400, '9');
    const char* kLineMark = "Site Latitude\r\nThis field takes no \"#\" at the end (the report's line mark)";
    const std::vector<Case> cases = {
        {"53.42N", FieldType::Latitude, 0, 90, true, "", ""},
        {"N53.42", FieldType::Latitude, 0, 90, false, "Incorrectly Placed Suffix Error", "Site Latitude"},
        {"53.42", FieldType::Latitude, 0, 90, false, "Suffix Missing Error (N,S,E or W)", "Site Latitude"},
        {"-53.42N", FieldType::Latitude, 0, 90, false, "Invalid Character Error", "Site Latitude"},
        {"53N.42", FieldType::Latitude, 0, 90, false, "Incorrectly Placed Suffix Error", "Site Latitude"},
        {"95N", FieldType::Latitude, 0, 90, false, "Range Error", "Site Latitude\r\nRange 0.000000 to 90.000000 deg"},
        {"", FieldType::Real, 0, 90, false, "Empty Field Error", "Site Latitude"},
        // A letter fails the character test before any range test.
        {"12a", FieldType::Real, 0, 10, false, "Invalid Character Error", "Site Latitude"},
        {"3.60W", FieldType::LongitudeDMM, 0, 180, false, "Range Error",
         "Site Latitude\r\nRange 0.000000 to 180.000000 deg"},
        {"3.59W", FieldType::LongitudeDMM, 0, 180, true, "", ""},
        {"12.5995", FieldType::UnsignedDMM, 0, 90, true, "", ""},
        {"12.59996", FieldType::UnsignedDMM, 0, 90, false, "Range Error",
         "Site Latitude\r\nRange 0.000000 to 90.000000 deg"},
        {"K", FieldType::RainZone, 0, 0, true, "", ""},
        {"?", FieldType::RainZone, 0, 0, true, "", ""},
        {"I", FieldType::RainZone, 0, 0, false, "Invalid Character Error", "Site Latitude"},
        {"O", FieldType::RainZone, 0, 0, false, "Invalid Character Error", "Site Latitude"},
        {"a~b", FieldType::Text, 0, 0, false, "Invalid Character Error", "Site Latitude"},
        // A closing "#" is the report's line mark; inside a name it is a
        // letter.
        {"Leeds#", FieldType::Text, 0, 0, false, "Invalid Character Error", kLineMark},
        {"#", FieldType::Text, 0, 0, false, "Invalid Character Error", kLineMark},
        {"Dish #2 West", FieldType::Text, 0, 0, true, "", ""},
        // A file's name holds any name but "~", as before, a "#" at its end
        // too.
        {"out#", FieldType::FileName, 0, 0, true, "", ""},
        {"~/in.txt", FieldType::FileName, 0, 0, false, "Invalid Character Error", "Site Latitude"},
        {"KU", FieldType::BandLetters, 0, 0, false, "Invalid Character Error", "Site Latitude"},
        {"Kua", FieldType::BandLetters, 0, 0, true, "", ""},
        // A left/right field reads as 0, so it passes only when 0 is in range.
        {"L", FieldType::LeftRight, 0, 1, true, "", ""},
        {"R", FieldType::LeftRight, 1, 2, false, "Range Error", "Site Latitude\r\nRange 1.000000 to 2.000000 deg"},
        // Digits beyond a double's range are not a value any field takes.
        {kTooManyDigits.c_str(), FieldType::Real, 0, 1e9, false, "Range Error",
         "Site Latitude\r\nRange 0.000000 to 1000000000.000000 deg"},
        {"1E5W", FieldType::Longitude, 0, 180, false, "Range Error",
         "Site Latitude\r\nRange 0.000000 to 180.000000 deg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text).substr(0, 20));
        Recorder r;
        EXPECT_EQ(CheckField("Site Latitude", c.text, c.type, c.min, c.max, "deg", r.sink()), c.ok);
        if (c.ok) {
            EXPECT_TRUE(r.messages.empty());
        } else {
            ASSERT_EQ(r.messages.size(), 1u);
            EXPECT_EQ(r.messages[0].caption, c.caption);
            EXPECT_EQ(r.messages[0].text, c.message);
        }
    }
}

// A decimal-comma process locale changes neither the reading of a field nor
// the limits printed in its range message.
TEST(CheckField, RangeMessageIgnoresProcessLocale)
{
    const char* candidates[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"};
    const std::string old = std::setlocale(LC_NUMERIC, nullptr);
    bool switched = false;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name)) {
            switched = true;
            break;
        }
    }
    Recorder r;
    EXPECT_FALSE(CheckField("Frequency", "55.5", FieldType::Real, 0.0007, 55, "GHz", r.sink()));
    EXPECT_TRUE(CheckField("Frequency", "54.5", FieldType::Real, 0.0007, 55, "GHz", nullptr));
    std::setlocale(LC_NUMERIC, old.c_str());
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "Frequency\r\nRange 0.000700 to 55.000000 GHz");
    if (!switched) GTEST_SKIP() << "no decimal-comma locale installed; checked in the C locale only";
}

TEST(CheckField, SilentChecksStillFail)
{
    EXPECT_FALSE(CheckField("x", "", FieldType::Real, 0, 1, "", nullptr));
    EXPECT_FALSE(CheckDate(30, 2, 2000, nullptr));
    EXPECT_FALSE(CheckMary("6", false, true, nullptr));
}

TEST(CheckDate, MonthLengthsAndLeapYears)
{
    struct Case { int day, month, year; bool ok; };
    const std::vector<Case> cases = {
        {29, 2, 1900, false}, {29, 2, 2000, true}, {29, 2, 2024, true}, {29, 2, 2023, false},
        {31, 4, 2024, false}, {30, 4, 2024, true}, {31, 12, 2024, true}, {0, 1, 2024, false},
        {32, 1, 2024, false},
    };
    for (const auto& c : cases) {
        Recorder r;
        EXPECT_EQ(CheckDate(c.day, c.month, c.year, r.sink()), c.ok) << c.day << "/" << c.month << "/" << c.year;
        if (!c.ok) {
            ASSERT_EQ(r.messages.size(), 1u);
            EXPECT_EQ(r.messages[0].caption, "Date Input Error");
            EXPECT_EQ(r.messages[0].text, "Invalid date");
        }
    }
}

TEST(CheckMary, EveryTestReports)
{
    Recorder r;
    EXPECT_FALSE(CheckMary("6", false, true, r.sink()));
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, "M must be 2 raised to a positive integer power");
    EXPECT_EQ(r.messages[0].caption, "Modulation");
    EXPECT_EQ(r.messages[1].text, "M must be >= 8");
    EXPECT_EQ(r.messages[1].caption, "Value of M (QAM)");

    Recorder r2;
    EXPECT_FALSE(CheckMary("4", true, false, r2.sink()));
    ASSERT_EQ(r2.messages.size(), 1u);
    EXPECT_EQ(r2.messages[0].caption, "Value of M");

    EXPECT_TRUE(CheckMary("256", false, true, nullptr));
    EXPECT_TRUE(CheckMary("2", true, false, nullptr));
    EXPECT_FALSE(CheckMary("512", false, false, nullptr));
    EXPECT_FALSE(CheckMary("1", false, false, nullptr));
}

TEST(CheckSpacing, SatellitesAndCarriers)
{
    Recorder r;
    EXPECT_FALSE(CheckSatelliteSpacing("10.0E", "10.0E", "", "", "", 0, 0, 0, r.sink()));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].caption, "Satellite Longitude Error");
    // East and west of Greenwich are different places.
    EXPECT_TRUE(CheckSatelliteSpacing("10.0E", "10.0W", "", "", "", 0, 0, 0, nullptr));
    // Adjacent satellites 2 to 4 count only when included.
    EXPECT_TRUE(CheckSatelliteSpacing("10.0E", "13.0E", "10.0E", "", "", 0, 0, 0, nullptr));
    EXPECT_FALSE(CheckSatelliteSpacing("10.0E", "13.0E", "10.0E", "", "", 1, 0, 0, nullptr));
    EXPECT_FALSE(CheckSatelliteSpacing("10.0E", "13.0E", "7.0E", "", "10.0E", 1, 0, 1, nullptr));
    // The antimeridian written from either side is one longitude; so is zero.
    EXPECT_FALSE(CheckSatelliteSpacing("180.0E", "180.0W", "", "", "", 0, 0, 0, nullptr));
    EXPECT_FALSE(CheckSatelliteSpacing("180.0W", "13.0E", "", "", "180.0E", 0, 0, 1, nullptr));
    EXPECT_FALSE(CheckSatelliteSpacing("0.0W", "0.0E", "", "", "", 0, 0, 0, nullptr));
    EXPECT_TRUE(CheckSatelliteSpacing("179.9E", "179.9W", "", "", "", 0, 0, 0, nullptr));

    Recorder c;
    EXPECT_FALSE(CheckCarrierSpacing("1.35", "1.2", c.sink()));
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].text, "Carrier spacing factor must be >= (1 + Roll-off factor)");
    EXPECT_EQ(c.messages[0].caption, "Input Error");
    EXPECT_TRUE(CheckCarrierSpacing("1.35", "1.35", nullptr));
}

// A 1.2 m dish at 12 GHz: pi D / lambda = 3.769911 / 0.0249827 = 150.9006,
// so 100 % efficiency is 10 log10(150.9006^2) = 43.574 dBi.
TEST(CheckAntennaGain, EfficiencyAboveOneHundredPercent)
{
    EXPECT_TRUE(CheckAntennaGain("1.2", "43.57", "12", 1, nullptr));
    Recorder r;
    EXPECT_FALSE(CheckAntennaGain("1.2", "43.58", "12", 1, r.sink()));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].caption, "Antenna gain (up)");
    EXPECT_EQ(r.messages[0].text, "Input results in antenna efficiency > 100%");
    Recorder down, none;
    CheckAntennaGain("1.2", "50", "12", 2, down.sink());
    CheckAntennaGain("1.2", "50", "12", 0, none.sink());
    EXPECT_EQ(down.messages.at(0).caption, "Antenna gain (down)");
    EXPECT_EQ(none.messages.at(0).caption, "Antenna gain ");
}

TEST(CheckFraction, ExpressionsWithinRange)
{
    struct Case { const char* text; bool ok; };
    const std::vector<Case> cases = {{"3/4", true}, {"0.5", true}, {"(1+2)/(3+1)", true}, {"5/4", false},
                                     {"1/0", false}, {"abc", false}, {"", false}, {"2^0.5/2", true}};
    for (const auto& c : cases) {
        Recorder r;
        EXPECT_EQ(CheckFraction(c.text, 0.0, 1.0, "FEC rate", r.sink()), c.ok) << c.text;
        if (!c.ok) {
            ASSERT_EQ(r.messages.size(), 1u) << c.text;
            EXPECT_EQ(r.messages[0].text, "FEC rate fractional expression or value");
            EXPECT_EQ(r.messages[0].caption, "Input Error");
        }
    }
}
