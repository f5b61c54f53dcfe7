#include "templates/pocketpc/VersionResource.h"

#include <string>
#include <utility>

#include "formats/Bytes.h"

namespace skedlin::templates {

namespace {

constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedInfoStructVersion = 0x00010000;
constexpr std::uint16_t kMajor = 1, kMinor = 6, kPatch = 2, kBuild = 0;
constexpr std::uint32_t kFileFlagsMask = 0x3F;
constexpr std::uint32_t kFileOsWindows32 = 0x00000004;
constexpr std::uint32_t kFileTypeApplication = 0x00000001;
constexpr std::uint16_t kValueIsBinary = 0;
constexpr std::uint16_t kValueIsText = 1;
constexpr std::uint32_t kTranslationUsEnglishUnicode = 0x04B00409;  // language 0x0409, code page 1200
constexpr char kStringTableKey[] = "040904B0";

void padTo4(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0) out.push_back(0);
}

void appendUtf16(std::vector<std::uint8_t>& out, const std::string& ascii) {
    for (char c : ascii) bytes::ByteWriter(out).put16le(static_cast<std::uint16_t>(static_cast<unsigned char>(c)));
    bytes::ByteWriter(out).put16le(0);
}

// One block of the version resource: length, value length, type, key, value,
// children; every part starts on a 4-byte boundary of the resource.
std::vector<std::uint8_t> block(const std::string& key, std::uint16_t type, const std::vector<std::uint8_t>& value,
                                std::uint16_t valueLength, const std::vector<std::vector<std::uint8_t>>& children) {
    std::vector<std::uint8_t> out(6, 0);
    appendUtf16(out, key);
    padTo4(out);
    out.insert(out.end(), value.begin(), value.end());
    for (const auto& child : children) {
        padTo4(out);
        out.insert(out.end(), child.begin(), child.end());
    }
    bytes::ByteWriter(out).patch16le(0, static_cast<std::uint16_t>(out.size()));
    bytes::ByteWriter(out).patch16le(2, valueLength);
    bytes::ByteWriter(out).patch16le(4, type);
    return out;
}

std::vector<std::uint8_t> textValue(const std::string& key, const std::string& text) {
    std::vector<std::uint8_t> value;
    appendUtf16(value, text);
    return block(key, kValueIsText, value, static_cast<std::uint16_t>(text.size() + 1), {});
}

}  // namespace

std::vector<std::uint8_t> viewerVersionResource() {
    std::vector<std::uint8_t> fixed;
    bytes::ByteWriter(fixed).put32le(kFixedInfoSignature);
    bytes::ByteWriter(fixed).put32le(kFixedInfoStructVersion);
    for (int twice = 0; twice < 2; ++twice) {  // file version, then product version
        bytes::ByteWriter(fixed).put32le((std::uint32_t{kMajor} << 16) | kMinor);
        bytes::ByteWriter(fixed).put32le((std::uint32_t{kPatch} << 16) | kBuild);
    }
    bytes::ByteWriter(fixed).put32le(kFileFlagsMask);
    bytes::ByteWriter(fixed).put32le(0);  // flags: a release build
    bytes::ByteWriter(fixed).put32le(kFileOsWindows32);
    bytes::ByteWriter(fixed).put32le(kFileTypeApplication);
    bytes::ByteWriter(fixed).put32le(0);  // subtype
    bytes::ByteWriter(fixed).put32le(0);  // date, high
    bytes::ByteWriter(fixed).put32le(0);  // date, low

    const std::string version = std::to_string(kMajor) + "." + std::to_string(kMinor) + "." + std::to_string(kPatch);
    std::vector<std::uint8_t> strings = block(
        kStringTableKey, kValueIsText, {}, 0,
        {textValue("CompanyName", "Quenby Software"), textValue("FileDescription", "Skedlin calendar package viewer"),
         textValue("FileVersion", version), textValue("ProductName", "Skedlin"), textValue("ProductVersion", version)});
    std::vector<std::uint8_t> translation;
    bytes::ByteWriter(translation).put32le(kTranslationUsEnglishUnicode);
    std::vector<std::uint8_t> variables =
        block("VarFileInfo", kValueIsText, {}, 0, {block("Translation", kValueIsBinary, translation, 4, {})});

    return block("VS_VERSION_INFO", kValueIsBinary, fixed, static_cast<std::uint16_t>(fixed.size()),
                 {block("StringFileInfo", kValueIsText, {}, 0, {strings}), variables});
}

}  // namespace skedlin::templates
