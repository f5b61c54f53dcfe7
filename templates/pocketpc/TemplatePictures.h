#pragma once
// The pictures of the viewer template: its launcher icons (a calendar page,
// 32 x 32 and 16 x 16, 16 colours with a transparency mask) and a small
// bitmap of the same page.

#include <cstdint>
#include <vector>

namespace skedlin::templates {

// An icon image: information header with doubled height, the 16-colour
// palette, the colour rows and the mask rows.
std::vector<std::uint8_t> calendarIconImage(int size);

// A 16-colour device-independent bitmap (information header, palette, rows).
std::vector<std::uint8_t> calendarBitmap(int size);

inline constexpr int kIconColourCount = 16;
inline constexpr int kIconBitCount = 4;

}  // namespace skedlin::templates
