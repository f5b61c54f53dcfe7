#pragma once
// Loading one `bitmap` element of a package: where its file is, or its inline
// data, its transparent colour, and the checks against the size an image may
// have, each failure with its exit code and message.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "builder/BuilderMessages.h"
#include "formats/bmp/BmpImage.h"
#include "model/XmlDocument.h"

namespace skedlin::builder {

// The family of one image must fit in one Palm resource.
inline constexpr std::string_view kMsgBitmapFamilyTooLarge =
    "The bitmaps of one image are too large together for the handheld - ";

struct LoadedBitmap {
    BmpImage image;
    std::string name;      // for messages: the resolved path, or "inline"
    std::string filePath;  // empty for inline data
    // A `transparent-color` that is not a hexadecimal number (Windows-1252).
    // It is refused where the colour would be used, so that a bitmap an
    // image leaves out for its size is left out whatever the attribute says.
    std::optional<std::string> invalidTransparentColour;

    // The bitmap as the Pocket PC executable takes it: the bytes after the
    // file header, as the file holds them, or for inline data in the plain
    // bottom-up form of BmpImage::fileBytes.
    std::vector<std::uint8_t> pocketPcBitmap() const;
};

struct BitmapLimits {
    int maxWidth = 0;
    int maxHeight = 0;
    bool doubleSizeAllowed = false;
};

// Where a bitmap path written in a package read from inputPath points. Both
// "\" and "/" separate folders. A relative path (".\logo.bmp", "logo.bmp",
// "art\logo.bmp", "..\logo.bmp") is taken from the folder of the input file;
// an absolute path is used as it is.
std::string resolveBitmapPath(std::string_view text, std::string_view inputPath);

// A `transparent-color` value: a colour reference written in hexadecimal
// ("0x00FF8000"), red in bits 0 to 7, green in 8 to 15, blue in 16 to 23.
// nullopt when the text is not such a number.
std::optional<RgbColour> parseColourReference(std::string_view text);

// The builder exit code of a bitmap error: 4 unreadable or malformed, 5 too
// wide or too tall, 6 unsupported colours, 7 not a bitmap; 0 for None.
ExitCode bmpExitCode(BmpError error);

// Loads and checks one `bitmap` element into `loaded`. On failure the code
// says what is wrong with the bitmap and the message is the user-facing text
// (Windows-1252). A missing `data` attribute counts as "filename".
BmpLoadResult loadBitmapElement(const xml::Element& element, std::string_view inputPath, const BitmapLimits& limits,
                                LoadedBitmap& loaded);

// A failed load as the build reports it: the exit code of bmpExitCode with the same message.
BuildResult bitmapBuildFailure(const BmpLoadResult& failure);

}  // namespace skedlin::builder
