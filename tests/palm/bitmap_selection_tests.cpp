#include "builder/palm/BitmapSelection.h"

#include <gtest/gtest.h>

using namespace skedlin::palm;

TEST(BitmapSelection, FamilyOrderedByWidthThenDepthWithDensities) {
    const BitmapShape shapes[] = {{44, 44, 8}, {22, 22, 8}, {22, 22, 1}, {22, 22, 8}, {44, 44, 4}};
    const auto plan = planFamily(shapes);
    ASSERT_TRUE(plan);
    std::vector<std::size_t> order;
    for (const FamilyEntry& entry : *plan) order.push_back(entry.index);
    EXPECT_EQ(order, (std::vector<std::size_t>{2, 1, 3, 4, 0}));
    EXPECT_EQ((*plan)[2].density, PalmDensity::Standard);
    EXPECT_EQ((*plan)[3].density, PalmDensity::Double);
    EXPECT_EQ((*plan)[4].density, PalmDensity::Double);
}

TEST(BitmapSelection, UnrelatedSizesAreRefused) {
    const BitmapShape unrelated[] = {{80, 40, 8}, {100, 40, 8}};
    EXPECT_FALSE(planFamily(unrelated));
    const BitmapShape halfTall[] = {{80, 40, 8}, {160, 40, 8}};
    EXPECT_FALSE(planFamily(halfTall));
    const BitmapShape logoPair[] = {{160, 80, 8}, {80, 40, 1}};
    EXPECT_TRUE(planFamily(logoPair));
    EXPECT_TRUE(planFamily(std::span<const BitmapShape>{}));
}

TEST(BitmapSelection, StrictLauncherKeepsOnlyExactOrDoubleSize) {
    EXPECT_TRUE(keptInStrictFamily({22, 22, 1}, 22, 22));
    EXPECT_TRUE(keptInStrictFamily({44, 44, 8}, 22, 22));
    EXPECT_FALSE(keptInStrictFamily({32, 32, 8}, 22, 22));
    EXPECT_FALSE(keptInStrictFamily({22, 44, 8}, 22, 22));
}

TEST(BitmapSelection, PocketPcIconIsTheDeepestOfExactSize) {
    const BitmapShape shapes[] = {{22, 22, 8}, {32, 32, 1}, {32, 32, 8}, {16, 16, 4}, {32, 32, 8}, {32, 32, 4}};
    EXPECT_EQ(choosePocketPcBitmap(shapes, 32, 32, true), 2u);
    EXPECT_EQ(choosePocketPcBitmap(shapes, 16, 16, true), 3u);
    EXPECT_FALSE(choosePocketPcBitmap(shapes, 48, 48, true));
}

TEST(BitmapSelection, PocketPcLogoPrefersWidthThenHeightThenDepth) {
    const BitmapShape shapes[] = {{80, 40, 8}, {160, 40, 1}, {160, 80, 1}, {160, 80, 24}, {160, 80, 8}};
    EXPECT_EQ(choosePocketPcBitmap(shapes, 160, 80, false), 3u);
    const BitmapShape single[] = {{10, 5, 1}};
    EXPECT_EQ(choosePocketPcBitmap(single, 160, 80, false), 0u);
    EXPECT_FALSE(choosePocketPcBitmap(std::span<const BitmapShape>{}, 160, 80, false));
}
