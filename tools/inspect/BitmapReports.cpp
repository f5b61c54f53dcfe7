#include "tools/inspect/BitmapReports.h"

#include "formats/Bytes.h"
#include "formats/palm/PalmBitmapLayout.h"

namespace skedlin::inspect {

namespace {

namespace layout = palm::bitmap;

constexpr std::uint16_t kFlagCompressed = 0x8000;
constexpr std::size_t kMaxBitmapsInFamily = 64;
constexpr std::size_t kDirectColourInfoBytes = 8;

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kInfoOffsetWidth = 4;
constexpr std::size_t kInfoOffsetHeight = 8;
constexpr std::size_t kInfoOffsetBitCount = 14;
constexpr std::size_t kInfoOffsetCompression = 16;

bool isPalmDepth(unsigned depth) { return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16; }

}  // namespace

std::optional<Node> describePalmBitmapFamily(std::span<const std::uint8_t> family, std::string* problem) {
    bytes::ByteReader in(family);
    Node bitmaps = Node::list();
    std::uint64_t at = 0;
    for (std::size_t step = 0;; ++step) {
        if (step == kMaxBitmapsInFamily) {
            *problem = "more than " + std::to_string(kMaxBitmapsInFamily) + " bitmaps";
            return std::nullopt;
        }
        const std::uint16_t width = in.read16be(at + layout::kOffsetWidth);
        const std::uint16_t height = in.read16be(at + layout::kOffsetHeight);
        const std::uint16_t rowBytes = in.read16be(at + layout::kOffsetRowBytes);
        const std::uint16_t flags = in.read16be(at + layout::kOffsetFlags);
        const std::uint8_t depth = in.read8(at + layout::kOffsetPixelSize);
        const std::uint8_t version = in.read8(at + layout::kOffsetVersion);
        std::uint16_t density = layout::kDensityStandard;
        std::uint64_t headerBytes = layout::kHeaderV2Bytes;
        std::uint64_t nextBytes = 0;
        if (version == layout::kVersion1 && depth == layout::kMarkerPixelSize) {
            // The high-density marker: the double-density bitmaps follow it directly.
            at += layout::kMarkerBytes;
            if (in.failed() || at >= family.size()) {
                *problem = "nothing follows its high-density marker";
                return std::nullopt;
            }
            continue;
        }
        if (version <= layout::kVersion2) {
            nextBytes = 4u * in.read16be(at + layout::kOffsetV2NextBitmap);
        } else if (version == layout::kVersion3) {
            headerBytes = in.read8(at + layout::kOffsetV3HeaderSize);
            density = in.read16be(at + layout::kOffsetV3Density);
            nextBytes = in.read32be(at + layout::kOffsetV3NextBitmap);
            if (headerBytes < layout::kHeaderV3Bytes) {
                *problem = "a version 3 header of " + std::to_string(headerBytes) + " bytes";
                return std::nullopt;
            }
        } else {
            *problem = "a bitmap of unknown version " + std::to_string(version);
            return std::nullopt;
        }
        if (in.failed()) {
            *problem = "a bitmap header runs past the end";
            return std::nullopt;
        }
        if (!isPalmDepth(depth) || width == 0 || height == 0 ||
            std::uint32_t{rowBytes} * 8 < std::uint32_t{width} * depth) {
            *problem = "a bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " with depth " +
                       std::to_string(depth) + " and " + std::to_string(rowBytes) + " bytes a row";
            return std::nullopt;
        }
        std::uint64_t data = at + headerBytes;
        std::uint16_t colours = 0;
        if (flags & layout::kFlagHasColourTable) {
            colours = in.read16be(data);
            data += 2 + 4u * colours;
        }
        if (version == layout::kVersion2 && (flags & layout::kFlagDirectColour)) data += kDirectColourInfoBytes;
        const std::uint64_t end = nextBytes ? at + nextBytes : family.size();
        const bool compressed = flags & kFlagCompressed;
        if (in.failed() || end > family.size() || data > end ||
            (!compressed && std::uint64_t{rowBytes} * height > end - data)) {
            *problem = "the pixels of its " + std::to_string(width) + " x " + std::to_string(height) +
                       " bitmap run past their end";
            return std::nullopt;
        }
        Node bitmap = Node::object();
        bitmap.addNumber("width", width);
        bitmap.addNumber("height", height);
        bitmap.addNumber("depth", depth);
        bitmap.addNumber("density", density);
        bitmap.addNumber("version", version);
        if (colours) bitmap.addNumber("colourTableEntries", colours);
        bitmap.addFlag("transparent", flags & layout::kFlagHasTransparency);
        if (compressed) bitmap.addFlag("compressed", true);
        bitmaps.append(std::move(bitmap));
        if (!nextBytes) break;
        at += nextBytes;
    }
    return bitmaps;
}

std::optional<Node> describeDeviceIndependentBitmap(std::span<const std::uint8_t> body, bool isIcon,
                                                    std::string* problem) {
    bytes::ByteReader in(body);
    const std::uint32_t headerSize = in.read32le(0);
    const auto width = static_cast<std::int32_t>(in.read32le(kInfoOffsetWidth));
    const auto storedHeight = static_cast<std::int32_t>(in.read32le(kInfoOffsetHeight));
    const std::uint16_t bitCount = in.read16le(kInfoOffsetBitCount);
    const std::uint32_t compression = in.read32le(kInfoOffsetCompression);
    if (in.failed() || headerSize < kInfoHeaderBytes) {
        *problem = "it does not start with a bitmap information header";
        return std::nullopt;
    }
    std::int64_t height = storedHeight < 0 ? -std::int64_t{storedHeight} : storedHeight;
    if (isIcon) height /= 2;
    const std::uint64_t rowBytes =
        (std::uint64_t{bitCount} * static_cast<std::uint32_t>(width < 0 ? 0 : width) + 31) / 32 * 4;
    if (width <= 0 || height <= 0 || bitCount == 0 || rowBytes * static_cast<std::uint64_t>(height) > body.size()) {
        *problem = "its header says " + std::to_string(width) + " x " + std::to_string(height) + " pixels of " +
                   std::to_string(bitCount) + " bits, more than its " + std::to_string(body.size()) + " bytes hold";
        return std::nullopt;
    }
    Node bitmap = Node::object();
    bitmap.addNumber("width", width);
    bitmap.addNumber("height", height);
    bitmap.addNumber("depth", bitCount);
    if (compression != 0) bitmap.addNumber("compression", compression);
    return bitmap;
}

}  // namespace skedlin::inspect
