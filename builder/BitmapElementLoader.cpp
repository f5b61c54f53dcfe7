#include "builder/BitmapElementLoader.h"

#include "builder/BuilderMessages.h"
#include "formats/bmp/BmpLayout.h"
#include "model/Windows1252.h"

#include <cctype>

namespace skedlin::builder {

namespace {

constexpr std::string_view kDataAttribute = "data";
constexpr std::string_view kTransparentAttribute = "transparent-color";
constexpr std::string_view kDataFileName = "filename";

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

ExitCode bmpExitCode(BmpError error) {
    switch (error) {
    case BmpError::None: return kExitSuccess;
    case BmpError::Unreadable:
    case BmpError::Malformed: return kExitMissingFile;
    case BmpError::TooWide:
    case BmpError::TooTall: return kExitBitmapSize;
    case BmpError::UnsupportedColours: return kExitBitmapColorDepth;
    case BmpError::NotBitmap: return kExitBitmapFormat;
    }
    return kExitMissingFile;
}

BuildResult bitmapBuildFailure(const BmpLoadResult& failure) {
    return BuildResult(bmpExitCode(failure.code()), failure.message());
}

std::vector<std::uint8_t> LoadedBitmap::pocketPcBitmap() const {
    std::vector<std::uint8_t> file = filePath.empty() ? image.fileBytes() : image.sourceBytes();
    if (file.size() <= bmp::kFileHeaderSize) return {};
    file.erase(file.begin(), file.begin() + bmp::kFileHeaderSize);
    return file;
}

std::string resolveBitmapPath(std::string_view text, std::string_view inputPath) {
    std::string path(trimmed(text));
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.empty() || path.front() == '/') return path;
    const std::size_t lastSeparator = inputPath.find_last_of("/\\");
    if (lastSeparator == std::string_view::npos) return path;
    std::string folder(inputPath.substr(0, lastSeparator + 1));
    for (char& c : folder)
        if (c == '\\') c = '/';
    // ".\logo.bmp" names the file in the input's own folder.
    if (path.size() > 2 && path[0] == '.' && path[1] == '/') path.erase(0, 2);
    return folder + path;
}

std::optional<RgbColour> parseColourReference(std::string_view text) {
    text = trimmed(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = (value << 4) | digit;
    }
    return RgbColour{static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                     static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

BmpLoadResult loadBitmapElement(const xml::Element& element, std::string_view inputPath, const BitmapLimits& limits,
                                LoadedBitmap& loaded) {
    const std::string dataKind = element.attribute(kDataAttribute).value_or(std::string(kDataFileName));
    const bool inlineData = dataKind != kDataFileName;
    const std::string text = element.text();

    loaded = LoadedBitmap{};
    if (inlineData) {
        loaded.name = std::string(kMsgInline);
    } else {
        loaded.filePath = resolveBitmapPath(text, inputPath);
        loaded.name = loaded.filePath;
    }
    const std::string shownName = utf8ToWindows1252(loaded.name);
    const auto unreadable = [&]() {
        return inlineData ? std::string(kMsgInvalidInlineBitmap) : std::string(kMsgUnableToLoadBitmap) + shownName;
    };

    const BmpLoadResult result = inlineData ? loaded.image.loadInlineHex(text) : loaded.image.loadFile(loaded.filePath);
    switch (result.code()) {
    case BmpError::None: break;
    case BmpError::NotBitmap: return {result.code(), std::string(kMsgBitmapFormat) + shownName};
    default: return {result.code(), unreadable()};
    }

    if (const auto colourText = element.attribute(kTransparentAttribute)) {
        if (const auto colour = parseColourReference(*colourText))
            loaded.image.setTransparentColour(colour);
        else
            loaded.invalidTransparentColour = utf8ToWindows1252(*colourText);
    }

    const int factor = limits.doubleSizeAllowed ? 2 : 1;
    switch (const BmpError verdict = loaded.image.checkUsable(factor * limits.maxWidth, factor * limits.maxHeight)) {
    case BmpError::None: break;
    case BmpError::TooWide: return {verdict, std::string(kMsgBitmapTooWide) + shownName};
    case BmpError::TooTall: return {verdict, std::string(kMsgBitmapTooTall) + shownName};
    default: return {verdict, std::string(kMsgBitmapColors) + shownName};
    }
    return {};
}

}  // namespace skedlin::builder
