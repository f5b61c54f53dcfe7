#include "builder/BitmapElementsReader.h"

#include <algorithm>

#include "builder/BitmapElementLoader.h"
#include "builder/ResourceIds.h"
#include "builder/palm/BitmapSelection.h"
#include "builder/palm/PalmBitmapFamily.h"
#include "formats/prc/PalmResourceTypes.h"

namespace skedlin::builder {

namespace {

constexpr std::string_view kBitmapElement = "bitmap";

// Launcher icons: 22 x 22, or 44 x 44 at double density. Pocket PC icons: 32 x 32 and 16 x 16.
constexpr int kLauncherIconSize = 22;
constexpr int kPocketPcLargeIconSize = 32;
constexpr int kPocketPcSmallIconSize = 16;
// The welcome logo: at most 160 x 80.
constexpr int kLogoMaxWidth = 160;
constexpr int kLogoMaxHeight = 80;

std::vector<xml::Element> bitmapElements(const xml::Element& image) {
    std::vector<xml::Element> elements;
    for (xml::Element child = image.firstChildElement(); child; child = child.nextSiblingElement())
        if (child.name() == kBitmapElement) elements.push_back(child);
    return elements;
}

bool isSizeRefusal(BmpError error) { return error == BmpError::TooWide || error == BmpError::TooTall; }

std::vector<palm::BitmapShape> shapesOf(const std::vector<LoadedBitmap>& bitmaps) {
    std::vector<palm::BitmapShape> shapes;
    for (const LoadedBitmap& bitmap : bitmaps)
        shapes.push_back({bitmap.image.width(), bitmap.image.height(), bitmap.image.bitCount()});
    return shapes;
}

// Builds the Palm family of an image. Strict (launcher icon): bitmaps too
// large even at double size, and bitmaps of any size but the exact one or
// twice it, are left out without error. `family` stays empty when no bitmap
// was kept.
BuildResult buildPalmFamily(PackageBuilder& builder, const xml::Element& image, std::uint32_t type, std::uint16_t id,
                            int maxWidth, int maxHeight, bool strict, std::optional<palm::PalmResource>& family) {
    family.reset();
    std::vector<LoadedBitmap> kept;
    const BitmapLimits limits{maxWidth, maxHeight, strict};
    for (const xml::Element& element : bitmapElements(image)) {
        LoadedBitmap loaded;
        if (const BmpLoadResult load = loadBitmapElement(element, builder.inputPath(), limits, loaded); !load.ok()) {
            if (strict && isSizeRefusal(load.code())) continue;
            return bitmapBuildFailure(load);
        }
        const palm::BitmapShape shape{loaded.image.width(), loaded.image.height(), loaded.image.bitCount()};
        if (strict && !palm::keptInStrictFamily(shape, maxWidth, maxHeight)) continue;
        if (loaded.invalidTransparentColour) {
            return BuildResult(kExitMissingFile, transparentColourMessage(*loaded.invalidTransparentColour,
                                                                          PackageBuilder::ansi(loaded.name)));
        }
        kept.push_back(std::move(loaded));
    }
    if (kept.empty()) return BuildResult::success();

    const std::vector<palm::BitmapShape> shapes = shapesOf(kept);
    const auto plan = palm::planFamily(shapes);
    if (!plan) {
        // Name the first bitmap, in document order, unrelated to the family's first (narrowest) one.
        const std::size_t narrowest = static_cast<std::size_t>(
            std::min_element(shapes.begin(), shapes.end(),
                             [](const palm::BitmapShape& a, const palm::BitmapShape& b) {
                                 return a.width != b.width ? a.width < b.width : a.bitCount < b.bitCount;
                             }) -
            shapes.begin());
        std::string offender;
        for (std::size_t i = 0; i < shapes.size() && offender.empty(); ++i) {
            const palm::BitmapShape pair[] = {shapes[narrowest], shapes[i]};
            if (!palm::planFamily(pair)) offender = kept[i].name;
        }
        return BuildResult(kExitBitmapSize, std::string(kMsgRelatedBitmaps) + PackageBuilder::ansi(offender));
    }

    palm::PalmBitmapFamily writer(type, id);
    for (const palm::FamilyEntry& entry : *plan) {
        if (!writer.addBitmap(kept[entry.index].image, entry.density)) {
            return BuildResult(kExitBitmapSize,
                               std::string(kMsgBitmapFamilyTooLarge) + PackageBuilder::ansi(kept[entry.index].name));
        }
    }
    family = writer.finish();
    return BuildResult::success();
}

// The bitmap the Pocket PC executable receives for an image; nullopt when none.
BuildResult choosePocketPcBitmap(PackageBuilder& builder, const xml::Element& image, int width, int height, bool exact,
                                 std::optional<LoadedBitmap>& chosen) {
    chosen.reset();
    std::vector<LoadedBitmap> candidates;
    const BitmapLimits limits{width, height, false};
    for (const xml::Element& element : bitmapElements(image)) {
        LoadedBitmap loaded;
        if (const BmpLoadResult load = loadBitmapElement(element, builder.inputPath(), limits, loaded); !load.ok()) {
            if (exact && isSizeRefusal(load.code())) continue;
            return bitmapBuildFailure(load);
        }
        candidates.push_back(std::move(loaded));
    }
    const std::vector<palm::BitmapShape> shapes = shapesOf(candidates);
    if (const auto index = palm::choosePocketPcBitmap(shapes, width, height, exact))
        chosen = std::move(candidates[*index]);
    return BuildResult::success();
}

}  // namespace

BuildResult readLauncherIcons(PackageBuilder& builder, const xml::Element& launcherIcon) {
    std::optional<palm::PalmResource> family;
    if (BuildResult result = buildPalmFamily(builder, launcherIcon, palm::kTypeAppIcon, palm::kLauncherIconId,
                                             kLauncherIconSize, kLauncherIconSize, true, family);
        !result.ok())
        return result;
    // With every bitmap left out the template's own icon stays: an empty
    // family would leave the application without any icon.
    if (family) builder.setLauncherIconFamily(std::move(*family));

    for (const int size : {kPocketPcLargeIconSize, kPocketPcSmallIconSize}) {
        std::optional<LoadedBitmap> chosen;
        if (BuildResult result = choosePocketPcBitmap(builder, launcherIcon, size, size, true, chosen); !result.ok())
            return result;
        if (chosen) builder.addPocketPcIcon(chosen->image);
    }
    return BuildResult::success();
}

BuildResult readWelcomeImage(PackageBuilder& builder, const xml::Element& image) {
    // A logo that fails to load ends the build with its code: whoever gave a
    // logo wants to know it is not in the package.
    std::optional<palm::PalmResource> family;
    if (BuildResult result = buildPalmFamily(builder, image, palm::kTypeBitmap, kLogoBitmapId, kLogoMaxWidth,
                                             kLogoMaxHeight, false, family);
        !result.ok())
        return result;
    if (family) builder.addLogoFamily(std::move(*family));

    std::optional<LoadedBitmap> chosen;
    if (BuildResult result = choosePocketPcBitmap(builder, image, kLogoMaxWidth, kLogoMaxHeight, false, chosen);
        !result.ok())
        return result;
    if (chosen) builder.addPocketPcLogo(chosen->pocketPcBitmap());
    return BuildResult::success();
}

}  // namespace skedlin::builder
