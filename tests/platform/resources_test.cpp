// Bitmap resources: the bytes registered under an id are the bytes found.
#include <gtest/gtest.h>

#include <array>

#include "platform/resources.h"

TEST(BitmapResources, FoundByIdUntilReplaced)
{
    static constexpr std::array<std::uint8_t, 4> kRegions = {40, 0, 0, 0};
    static constexpr std::array<std::uint8_t, 3> kReplacement = {7, 8, 9};
    platform::RegisterBitmapResource(87, kRegions);
    EXPECT_EQ(platform::FindBitmapResource(87).data(), kRegions.data());
    EXPECT_EQ(platform::FindBitmapResource(87).size(), kRegions.size());
    EXPECT_TRUE(platform::FindBitmapResource(89).empty());  // never registered
    platform::RegisterBitmapResource(87, kReplacement);
    EXPECT_EQ(platform::FindBitmapResource(87).data(), kReplacement.data());
}
