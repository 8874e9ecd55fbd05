#pragma once

#include <algorithm>

namespace norvelle {

// Bounds that keep reading any byte string cheap and every value the writer prints readable
// back unchanged: both sides clamp through these.
struct RtfLimits {
    static constexpr int maxGroupDepth = 256;
    static constexpr int maxControlWordLength = 32;
    static constexpr int maxUnicodeSkip = 16;
    static constexpr int maxTableColumns = 64;
    static constexpr int maxTableRows = 4000;
    static constexpr int maxTableCells = 100000;
    static constexpr int maxTableEntries = 32768; // fonts, colours

    static constexpr int maxTwips = 31680; // 22 in
    static constexpr int maxBorderTwips = 255;
    static constexpr int minHalfPoints = 2;
    static constexpr int maxHalfPoints = 3276;
    static constexpr int minWeight = 100;
    static constexpr int maxWeight = 900;
    static constexpr int maxPercentFiftieths = 5000;
    // Width the writer spreads relative columns over for \cellx (6.5 in of text).
    static constexpr int pageTextWidth = 9360;

    static int twips(int value) { return std::clamp(value, -maxTwips, maxTwips); }
    static int positiveTwips(int value) { return std::clamp(value, 0, maxTwips); }
    static int borderTwips(int value) { return std::clamp(value, 0, maxBorderTwips); }
    static int halfPoints(int value) { return std::clamp(value, minHalfPoints, maxHalfPoints); }
    static int weight(int value) { return std::clamp(value, minWeight, maxWeight); }
    static int percentFiftieths(int value) { return std::clamp(value, 0, maxPercentFiftieths); }
    static int colorComponent(int value) { return std::clamp(value, 0, 255); }
    static int perMille(int value) { return std::clamp(value, 0, 1000); }
};

} // namespace norvelle
