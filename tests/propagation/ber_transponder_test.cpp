// Error rates and transponder curves.
#include <gtest/gtest.h>

#include <cmath>

#include "propagation/ber.h"
#include "propagation/transponder.h"

namespace {

using namespace detail;   // the tables and grids behind the models

// Q(x) from tables of the normal distribution; the polynomial approximation
// holds to about 7.5e-8 absolute (Abramowitz and Stegun 26.2.17).
TEST(GaussianTail, AgainstNormalTables)
{
    struct Case { double x, q; };
    const Case cases[] = {
        {0.0, 0.5}, {1.0, 0.158655254}, {2.0, 0.0227501319}, {3.0, 0.00134989803},
        {4.0, 3.16712418e-5}, {-1.0, 0.841344746},
    };
    for (const Case& c : cases) EXPECT_NEAR(Erfc(c.x), c.q, 1e-7) << c.x;
    // 8 uses the series, just above it the asymptotic form phi(x) / x.
    const double phi8 = std::exp(-32.0) / std::sqrt(2 * 3.14159265358979);
    EXPECT_NEAR(Erfc(8.0001) / (std::exp(-8.0001 * 8.0001 / 2) / std::sqrt(2 * 3.14159265358979) / 8.0001), 1.0, 1e-12);
    // The polynomial at 8 gives 0.99515 phi(8) / 8 (the exact tail is 0.98506 of it).
    EXPECT_NEAR(Erfc(8.0) / (phi8 / 8.0), 0.9951507, 1e-6);
    EXPECT_EQ(Log2(8.0), 3.0);
    EXPECT_EQ(Log2(256.0), 8.0);
}

TEST(ErrorRates, TextbookFigures)
{
    // Coherent BPSK needs about 9.6 dB for 1e-5: Q(sqrt(2 x 10^0.96)) = 9.736e-6.
    EXPECT_NEAR(BerBpsk(9.6), 9.736176e-6, 7.5e-8);   // within the approximation's bound
    // QPSK symbol errors are twice the BPSK bit errors at the same Eb/No.
    for (double ebNo : {0.0, 4.0, 8.0, 12.0}) EXPECT_NEAR(BerMpsk(4.0, ebNo), 2 * BerBpsk(ebNo), 1e-15);
    // Square 16-QAM at 10 dB: q = Q(sqrt(4 x 10 x 3 / 15)) = 0.00233887,
    // P = 1 - (1 - 2 (1 - 1/4) q)^2 = 0.0070043.
    EXPECT_NEAR(BerMqam(16.0, 10.0), 0.0070043, 2e-7);
    // 8-PSK at 12 dB: 2 Q(sqrt(2 x 3 x 10^1.2) sin(pi / 8)) = 2 Q(3.7317736) = 1.901364e-4.
    EXPECT_NEAR(BerMpsk(8.0, 12.0), 1.901364e-4, 1.5e-7);
}

TEST(EbNoSearch, Bisection)
{
    // 16 halvings from a step of 40: the last mid of the BPSK search for 1e-5.
    EXPECT_NEAR(EbNoForBer(0, 2, 0, 1e-5, 1.0), 9.588, 1e-3);
    EXPECT_NEAR(BerBpsk(EbNoForBer(0, 2, 0, 1e-5, 1.0)), 1e-5, 0.01e-5);
    // The factor X shifts the BPSK curve by 10 log10 X.
    EXPECT_NEAR(EbNoForBer(0, 2, 0, 1e-5, 2.0) - EbNoForBer(0, 2, 0, 1e-5, 1.0), 10 * std::log10(2.0), 2e-3);
    // Bit rates per symbol: QPSK bit errors (symbol errors over 2) equal BPSK.
    EXPECT_NEAR(EbNoForBer(1, 4, 0, 1e-6, 1.0), EbNoForBer(0, 2, 0, 1e-6, 1.0), 2e-3);
    EXPECT_GT(EbNoForBer(1, 4, 1, 1e-6, 1.0), EbNoForBer(1, 4, 0, 1e-6, 1.0));
    EXPECT_GT(EbNoForBer(2, 64, 0, 1e-6, 1.0), EbNoForBer(2, 16, 0, 1e-6, 1.0));
    EXPECT_EQ(EbNoForBer(5, 4, 0, 1e-6, 1.0), 20.0);   // unknown kind
    // Targets beyond reach end at the ends of the range.
    EXPECT_GT(EbNoForBer(0, 2, 0, 0.0, 1.0), 39.99);
    // 1e-300 is reached where phi(x) / x = 1e-300: x = 37.047116, Eb/No = x^2 / 2, 28.3648 dB.
    EXPECT_NEAR(EbNoForBer(0, 2, 0, 1e-300, 1.0), 28.3648, 1e-3);
    EXPECT_LT(EbNoForBer(0, 2, 0, 0.9, 1.0), 0.01);
}

TEST(RateBandwidth, BothDirections)
{
    // 36 MHz, 35 % roll-off, no spreading, rate 3/4, QPSK: 36 x 2 x 0.75 / 1.35 = 40 Mbit/s.
    EXPECT_NEAR(RateBandwidth(0, 36.0, 35.0, 0.0, 0.75, 4.0), 40.0, 1e-12);
    EXPECT_NEAR(RateBandwidth(1, 40.0, 35.0, 0.0, 0.75, 4.0), 36.0, 1e-12);
    // 10 dB of spreading gain divides the rate by 10.
    EXPECT_NEAR(RateBandwidth(0, 36.0, 35.0, 10.0, 0.75, 4.0), 4.0, 1e-12);
    EXPECT_EQ(RateBandwidth(1, 40.0, 35.0, 0.0, 0.0, 4.0), 0.0);   // no code rate: no division by 0
}

TEST(Transponder, OutputBackoffCurves)
{
    struct Case { double x, carriers; TransponderType type; double obo; };
    const Case cases[] = {
        {25.0, 1.0, TransponderTwta, 13.117},    // limited to 20 dB
        {20.0, 1.0, TransponderTwta, 13.117},
        {25.0, 50.0, TransponderSspa, 18.021},
        {10.0, 1.0, TransponderTwta, 4.058},
        {10.0, 1.0, TransponderLtwta, 6.934},
        {10.0, 1.0, TransponderSspa, 8.012},
        {0.0, 1.0, TransponderTwta, 0.0227120228},
        {0.0, 2.9, TransponderTwta, 1.22460932},  // two-carrier curve
        {0.0, 0.5, TransponderTwta, 1.78387178},  // fewer than one: many-carrier curve
        {0.0, 3.0, TransponderLtwta, 1.83147747},
        {0.0, 2.0, TransponderSspa, -0.0108126662},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(TransponderOutputBackoff(c.x, c.carriers, c.type), c.obo, 1e-3) << c.x << " " << c.type;
    EXPECT_EQ(TransponderOutputBackoff(10.0, 1.0, static_cast<TransponderType>(7)), 0.0);
    EXPECT_STREQ(TransponderTypeName(TransponderLtwta), "LTWTA");
    // Rising over 0..20 dB for the TWTA and SSPA curves.
    for (TransponderType type : {TransponderTwta, TransponderSspa})
        for (double carriers : {1.0, 2.0, 10.0})
            for (double x = 0.5; x <= 20.0; x += 0.5)
                EXPECT_GT(TransponderOutputBackoff(x, carriers, type), TransponderOutputBackoff(x - 0.5, carriers, type));
}

TEST(Transponder, InputBackoffSearchAndIntermodulation)
{
    EXPECT_NEAR(InputBackoffForOutputBackoff(4.058, 1.0, TransponderTwta), 10.0, 1e-3);
    for (double x : {1.0, 5.0, 12.0, 18.0}) {
        const double obo = TransponderOutputBackoff(x, 10.0, TransponderSspa);
        EXPECT_NEAR(InputBackoffForOutputBackoff(obo, 10.0, TransponderSspa), x, 1e-4) << x;
    }
    EXPECT_GT(InputBackoffForOutputBackoff(99.0, 1.0, TransponderTwta), 19.999);   // beyond the curve
    EXPECT_LT(InputBackoffForOutputBackoff(-5.0, 1.0, TransponderTwta), 0.001);

    struct Case { double x; TransponderType type; double f, cim; };
    const Case cases[] = {
        {0.0, TransponderTwta, 12.0, 11.2002487},
        {0.0, TransponderSspa, 12.0, 10.6502243},
        {0.0, TransponderLtwta, 4.0, 10.5975081},
        {0.0, TransponderLtwta, 9.0, 11.6127509},
        {0.0, TransponderLtwta, 14.99, 11.6127509},
        {0.0, TransponderLtwta, 15.0, 7.89735545},
        {1.0, TransponderTwta, 12.0, 11.612813662},   // x = 1: the sum of the curve's coefficients
    };
    for (const Case& c : cases) EXPECT_NEAR(TransponderCarrierToIm(c.x, c.type, c.f), c.cim, 1e-9) << c.f;
    EXPECT_EQ(TransponderCarrierToIm(25.0, TransponderSspa, 12.0), TransponderCarrierToIm(20.0, TransponderSspa, 12.0));
}

TEST(ErrorRateSweep, OnlyFiniteNumbers)
{
    for (double m = 2; m <= 256; m *= 2) {
        for (double ebNo = -10; ebNo <= 40; ebNo += 0.5) {
            ASSERT_TRUE(std::isfinite(BerBpsk(ebNo)));
            ASSERT_TRUE(std::isfinite(BerMpsk(m, ebNo)));
            ASSERT_TRUE(std::isfinite(BerMqam(m, ebNo)));
        }
        for (int kind : {0, 1, 2})
            for (unsigned char flag : {0, 1})
                for (double target : {1e-12, 1e-9, 1e-6, 1e-3, 0.5})
                    ASSERT_TRUE(std::isfinite(EbNoForBer(kind, m, flag, target, 1.0)));
        for (double rollOff : {0.0, 20.0, 100.0})
            for (double rate : {0.1, 0.5, 1.0})
                for (unsigned char direction : {0, 1})
                    ASSERT_TRUE(std::isfinite(RateBandwidth(direction, 36.0, rollOff, 3.0, rate, m)));
    }
    for (TransponderType type : {TransponderTwta, TransponderLtwta, TransponderSspa})
        for (double carriers : {0.5, 1.0, 2.0, 2.9, 10.0, 10000.0})
            for (double x = -5.0; x <= 30.0; x += 0.25) {
                ASSERT_TRUE(std::isfinite(TransponderOutputBackoff(x, carriers, type)));
                ASSERT_TRUE(std::isfinite(InputBackoffForOutputBackoff(x, carriers, type)));
                for (double f : {0.0007, 4.0, 12.0, 20.0, 55.0})
                    ASSERT_TRUE(std::isfinite(TransponderCarrierToIm(x, type, f)));
            }
}

}  // namespace
