#pragma once
// Draws the viewer core's display list as the handheld's viewer draws it: the
// form's title bar, texts in the handheld's fonts, bitmaps, lines, frames,
// filled and inverted rectangles, push buttons, check boxes and the scroll
// bar, on a white screen of 160 x 160 (density 1) or 320 x 320 (density 2).

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <functional>
#include <vector>

#include "viewer/core/skv_core.h"

namespace skedlin::preview {

// One text as it was drawn: its bytes, where the top left of its line went
// and the font. Buttons and check boxes add their labels at the place their
// centring gives; the title bar's text is the form's title, not a drawn text.
struct DrawnText {
    QByteArray text;
    int x = 0;
    int y = 0;
    std::uint8_t font = 0;
    friend bool operator==(const DrawnText&, const DrawnText&) = default;
};

// Resource lookup for bitmap items (the same one the core reads through).
using ResourceLookup = std::function<const std::uint8_t*(std::uint32_t type, std::uint16_t id, std::uint32_t* size)>;

int screenSize(int density);

// Draws `count` items. When `texts` is given, every text drawn is appended.
QImage renderDisplay(const skv_item* items, std::uint16_t count, int density, const ResourceLookup& resources,
                     std::vector<DrawnText>* texts = nullptr);

}  // namespace skedlin::preview
