#pragma once
// Which of the loaded bitmaps of one image go where: the order and densities
// of a Palm bitmap family, and the one bitmap the Pocket PC executable gets.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "builder/palm/PalmBitmapFamily.h"

namespace skedlin::palm {

struct BitmapShape {
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

struct FamilyEntry {
    std::size_t index = 0;  // into the shapes given to planFamily
    PalmDensity density = PalmDensity::Standard;
};

// Orders the bitmaps of a family by width, then bit count (smaller first,
// document order among equals), and gives each its density: the size of the
// first is standard density, exactly twice it double density. Returns nullopt
// when some bitmap has neither size.
std::optional<std::vector<FamilyEntry>> planFamily(std::span<const BitmapShape> shapes);

// Strict launcher-icon selection keeps a bitmap only at exactly the maximum
// size or exactly twice it.
bool keptInStrictFamily(const BitmapShape& shape, int maxWidth, int maxHeight);

// The Pocket PC bitmap. Exact (icons): of the bitmaps of exactly width x
// height, the one with the most bits per pixel (the first of equals). Not
// exact (logo): the widest, else the tallest, at equal size the deepest.
// nullopt when there is no candidate.
std::optional<std::size_t> choosePocketPcBitmap(std::span<const BitmapShape> shapes, int width, int height, bool exact);

}  // namespace skedlin::palm
