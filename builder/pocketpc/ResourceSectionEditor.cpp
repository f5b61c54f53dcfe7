#include "builder/pocketpc/ResourceSectionEditor.h"

#include <algorithm>

#include "formats/pe/PeLayout.h"

namespace skedlin {

namespace {
constexpr std::uint32_t kRawGrowthStep = 1024;
}

std::uint32_t rawGrowthFor(std::uint32_t usedSize, std::uint32_t rawSize, std::uint32_t length) {
    const std::int64_t needed = std::int64_t{usedSize} + length;
    if (needed <= rawSize) return 0;
    const std::int64_t growth = (needed - rawSize + kRawGrowthStep) / kRawGrowthStep * kRawGrowthStep;
    return static_cast<std::uint32_t>(growth);
}

ResourceTreeResult ResourceSectionEditor::load(std::span<const std::uint8_t> rawData, std::uint32_t virtualSize,
                                               std::uint32_t sectionRva) {
    if (virtualSize > rawData.size())
        return {ResourceTreeError::Truncated, "the resource section's used size is larger than its data in the file"};
    if (virtualSize % pe::kResourceBodyAlignment != 0)
        return {ResourceTreeError::NotInOrder, "the resource section's used size is not a multiple of 4"};
    if (ResourceTreeResult parsed = tree_.parse(rawData.first(virtualSize), sectionRva); !parsed.ok()) return parsed;
    sectionRva_ = sectionRva;
    usedSize_ = virtualSize;
    templateUsedSize_ = virtualSize;
    rawSize_ = static_cast<std::uint32_t>(rawData.size());
    bytesBeyondUse_.assign(rawData.begin() + virtualSize, rawData.end());
    return {};
}

bool ResourceSectionEditor::grow(std::uint32_t length) {
    if (std::uint64_t{usedSize_} + length > kMaxSectionSize) return false;
    rawSize_ += rawGrowthFor(usedSize_, rawSize_, length);
    usedSize_ += length;
    return true;
}

InsertResult ResourceSectionEditor::insert(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> body) {
    auto typeIt = tree_.types.find(type);
    if (typeIt == tree_.types.end()) return InsertResult::NoSuchType;
    auto& items = typeIt->second.items;
    if (items.empty()) return InsertResult::NoPlace;
    if (body.empty()) return InsertResult::EmptyBody;

    const std::uint64_t padded = (std::uint64_t{body.size()} + pe::kResourceBodyAlignment - 1) /
                                 pe::kResourceBodyAlignment * pe::kResourceBodyAlignment;
    const std::uint64_t total =
        padded + pe::kResourceDataEntrySize + pe::kResourceLanguageDirectorySize + pe::kResourceEntrySize;
    if (usedSize_ + total > kMaxSectionSize) return InsertResult::SectionTooLarge;

    // The pieces go in as in-place insertion puts them: body, data entry,
    // language directory, then the directory entry.
    grow(static_cast<std::uint32_t>(padded));
    grow(pe::kResourceDataEntrySize);
    grow(pe::kResourceLanguageDirectorySize);
    grow(pe::kResourceEntrySize);

    ResourceItem item;
    item.language = pe::kLanguageEnglishUs;
    item.body = std::move(body);
    item.padWithZeros();
    // multimap places an equal key after the existing ones: the new entry
    // follows every entry whose id is not greater.
    items.emplace(id, std::move(item));
    return InsertResult::Inserted;
}

ResourceItem* ResourceSectionEditor::find(std::uint16_t type, std::uint16_t id) {
    auto typeIt = tree_.types.find(type);
    if (typeIt == tree_.types.end()) return nullptr;
    auto it = typeIt->second.items.find(id);
    return it == typeIt->second.items.end() ? nullptr : &it->second;
}

bool ResourceSectionEditor::replaceBody(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> body) {
    ResourceItem* item = find(type, id);
    if (!item) return false;
    const std::uint64_t padded = (std::uint64_t{body.size()} + pe::kResourceBodyAlignment - 1) /
                                 pe::kResourceBodyAlignment * pe::kResourceBodyAlignment;
    const std::uint32_t oldPadded = item->paddedSize();
    if (padded > oldPadded) {
        if (!grow(static_cast<std::uint32_t>(padded - oldPadded))) return false;
    } else {
        usedSize_ -= static_cast<std::uint32_t>(oldPadded - padded);
    }
    item->body = std::move(body);
    item->padWithZeros();
    return true;
}

std::size_t ResourceSectionEditor::count(std::uint16_t type) const {
    auto typeIt = tree_.types.find(type);
    return typeIt == tree_.types.end() ? 0 : typeIt->second.items.size();
}

std::uint16_t ResourceSectionEditor::highestId(std::uint16_t type) const {
    auto typeIt = tree_.types.find(type);
    if (typeIt == tree_.types.end() || typeIt->second.items.empty()) return 0;
    return typeIt->second.items.rbegin()->first;
}

std::vector<std::uint8_t> ResourceSectionEditor::rawData() const {
    std::vector<std::uint8_t> out = tree_.serialize(sectionRva_, rawSize_);
    out.resize(rawSize_, 0);
    // Past the used part, in-place insertion never touches the template's own
    // bytes beyond the position the used part reaches.
    for (std::uint32_t at = usedSize_; at < rawSize_; ++at) {
        const std::uint32_t templateOffset = at - templateUsedSize_;
        if (at >= templateUsedSize_ && templateOffset < bytesBeyondUse_.size())
            out[at] = bytesBeyondUse_[templateOffset];
    }
    return out;
}

}  // namespace skedlin
