// The store's DATE values, computed with integers only, against the
// desktop's floating point division.
#include <gtest/gtest.h>

#include <cstring>

#include "fake_store.h"

extern "C" {
#include "ppc_bstr.h"
#include "ppc_variant_date.h"
#include "viewer/core/skv_core.h"
}

namespace {

double asDouble(poom_date date) { return fake::dateValue(date.low, date.high); }

TEST(VariantDateTest, DayNumbersCountFromTheEndOf1899) {
    EXPECT_EQ(ppc_day_number({1900, 1, 1}), 2u);
    EXPECT_EQ(ppc_day_number({1900, 3, 1}), 61u);  // 1900 has no 29 February
    EXPECT_EQ(ppc_day_number({2000, 1, 1}), 36526u);
    EXPECT_EQ(ppc_day_number({2000, 3, 1}), 36586u);  // 2000 has one
    EXPECT_EQ(ppc_day_number({2026, 12, 8}), 46364u);
    EXPECT_EQ(ppc_day_number({2999, 12, 31}), 401768u);
}

TEST(VariantDateTest, OnlyRealDaysTheStoreCanHoldAreValid) {
    EXPECT_FALSE(ppc_day_valid({1899, 12, 31}));
    EXPECT_TRUE(ppc_day_valid({1900, 1, 1}));
    EXPECT_FALSE(ppc_day_valid({1900, 2, 29}));
    EXPECT_TRUE(ppc_day_valid({2000, 2, 29}));
    EXPECT_FALSE(ppc_day_valid({2026, 2, 29}));
    EXPECT_TRUE(ppc_day_valid({2024, 2, 29}));
    EXPECT_FALSE(ppc_day_valid({2026, 4, 31}));
    EXPECT_FALSE(ppc_day_valid({2026, 13, 1}));
    EXPECT_FALSE(ppc_day_valid({2026, 0, 1}));
    EXPECT_FALSE(ppc_day_valid({2026, 1, 0}));
    EXPECT_TRUE(ppc_day_valid({2999, 12, 31}));
    EXPECT_FALSE(ppc_day_valid({3000, 1, 1}));
}

TEST(VariantDateTest, EqualsTheRoundedDivisionForEveryMinuteOfSomeDays) {
    for (uint32_t day : {0u, 1u, 2u, 366u, 36526u, 46364u, 65535u, 65536u, 131072u, 401768u}) {
        for (uint32_t minute = 0; minute <= 1440; ++minute) {
            const double expected = static_cast<double>(day * 1440 + minute) / 1440.0;
            ASSERT_EQ(asDouble(ppc_variant_date(day, minute)), expected) << day << " " << minute;
        }
    }
}

TEST(VariantDateTest, EqualsTheRoundedDivisionOverTheWholeRange) {
    for (uint32_t day = 0; day <= 401769; day += 97) {
        const uint32_t minute = (day * 7919u) % 1440u;
        const double expected = static_cast<double>(day * 1440 + minute) / 1440.0;
        ASSERT_EQ(asDouble(ppc_variant_date(day, minute)), expected) << day << " " << minute;
    }
}

TEST(Cp1252Test, MapsTheBytesThatDifferFromLatin1) {
    EXPECT_EQ(skv_cp1252_unicode(0x41), 0x41);
    EXPECT_EQ(skv_cp1252_unicode(0x0D), 0x0D);
    EXPECT_EQ(skv_cp1252_unicode(0x80), 0x20AC);
    EXPECT_EQ(skv_cp1252_unicode(0x8C), 0x0152);
    EXPECT_EQ(skv_cp1252_unicode(0x9F), 0x0178);
    EXPECT_EQ(skv_cp1252_unicode(0x8D), 0x8D);  // unassigned: kept
    EXPECT_EQ(skv_cp1252_unicode(0xA0), 0xA0);
    EXPECT_EQ(skv_cp1252_unicode(0xFF), 0xFF);
}

}  // namespace
