#include "builder/palm/BitmapSelection.h"

#include <algorithm>
#include <numeric>

namespace skedlin::palm {

std::optional<std::vector<FamilyEntry>> planFamily(std::span<const BitmapShape> shapes) {
    std::vector<std::size_t> order(shapes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&shapes](std::size_t a, std::size_t b) {
        if (shapes[a].width != shapes[b].width) return shapes[a].width < shapes[b].width;
        return shapes[a].bitCount < shapes[b].bitCount;
    });

    std::vector<FamilyEntry> plan;
    plan.reserve(order.size());
    for (std::size_t index : order) {
        const BitmapShape& first = shapes[order.front()];
        const BitmapShape& shape = shapes[index];
        if (shape.width == first.width && shape.height == first.height)
            plan.push_back(FamilyEntry{index, PalmDensity::Standard});
        else if (shape.width == 2 * first.width && shape.height == 2 * first.height)
            plan.push_back(FamilyEntry{index, PalmDensity::Double});
        else
            return std::nullopt;
    }
    return plan;
}

bool keptInStrictFamily(const BitmapShape& shape, int maxWidth, int maxHeight) {
    return (shape.width == maxWidth && shape.height == maxHeight) ||
           (shape.width == 2 * maxWidth && shape.height == 2 * maxHeight);
}

std::optional<std::size_t> choosePocketPcBitmap(std::span<const BitmapShape> shapes, int width, int height,
                                                bool exact) {
    std::optional<std::size_t> chosen;
    int chosenWidth = 0;
    int chosenHeight = 0;
    int chosenBits = 0;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const BitmapShape& shape = shapes[i];
        bool better = false;
        if (exact) {
            better = shape.width == width && shape.height == height && (!chosen || shape.bitCount > chosenBits);
        } else if (shape.width <= width && shape.height <= height) {
            if (!chosen || shape.width > chosenWidth)
                better = true;
            else if (shape.height > chosenHeight)
                better = true;
            else if (shape.width == chosenWidth && shape.height == chosenHeight)
                better = shape.bitCount > chosenBits;
        }
        if (better) {
            chosen = i;
            chosenWidth = shape.width;
            chosenHeight = shape.height;
            chosenBits = shape.bitCount;
        }
    }
    return chosen;
}

}  // namespace skedlin::palm
