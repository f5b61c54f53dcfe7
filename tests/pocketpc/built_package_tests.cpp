// A whole package read by the builder into the Pocket PC executable, which is
// then read back by the tests' own PE reader.

#include <gtest/gtest.h>

#include "pe_test_reader.h"
#include "test_templates.h"
#include "builder/PackageBuilder.h"
#include "builder/pocketpc/PocketPcExecutable.h"

namespace skedlin::test {
namespace {

constexpr std::uint16_t kBitmap = 2, kIcon = 3, kStrings = 6, kRawData = 10, kGroupIcon = 14;

const char kPackage[] = R"(<?xml version="1.0" encoding="ISO-8859-1" ?>
<!DOCTYPE calendar-package SYSTEM "@DTD@">
<calendar-package navigation="groups">
  <package-title>Season 2003</package-title>
  <app-name>Season</app-name>
  <app-launcher>
    <launcher-name>Season</launcher-name>
    <launcher-icon><bitmap>icon22.bmp</bitmap><bitmap>icon32.bmp</bitmap><bitmap>icon16.bmp</bitmap></launcher-icon>
  </app-launcher>
  <welcome>
    <description>Line one&#x0a;Line two</description>
    <author-info>Club</author-info>
    <image><bitmap>logo.bmp</bitmap></image>
  </welcome>
  <contacts>
    <contact id="7"><last-name>Doe</last-name><first-name>Jo</first-name><company>Acme</company>
      <phone-numbers><phone-number type="work">555</phone-number><phone-number type="mobile">777</phone-number></phone-numbers>
    </contact>
  </contacts>
  <groups>
    <group name="Home"><group-description>Home games</group-description>
      <events><event><event-title>Opening</event-title><event-note>Bring&#x0a;scarves</event-note>
        <date day="37868">06 Sep 2003</date>
        <time-range><start-time>19:30</start-time><end-time>21:00</end-time></time-range></event></events>
      <contact-ids><contact-id>7</contact-id></contact-ids>
    </group>
    <group name="Away"><group-description>Away games</group-description><events/></group>
  </groups>
</calendar-package>
)";

std::vector<std::uint8_t> textBytes(std::initializer_list<const char*> texts) {
    std::vector<std::uint8_t> out;
    for (const char* text : texts) {
        for (const char* c = text; *c; ++c) out.push_back(static_cast<std::uint8_t>(*c));
        out.push_back(0);
    }
    return out;
}

std::vector<std::uint16_t> words(const std::vector<std::uint8_t>& body) {
    std::vector<std::uint16_t> out;
    for (std::size_t at = 2; at + 1 < body.size(); at += 2) out.push_back(get16(body, at));
    EXPECT_EQ(get16(body, 0), out.size());
    return out;
}

TEST(BuiltPackage, EveryValueRecordAndBitmapReachesTheExecutable) {
    ScratchFolder folder;
    std::string xml = kPackage;
    xml.replace(xml.find("@DTD@"), 5, std::string(SKEDLIN_SOURCE_DIR) + "/model/CalendarPackage.dtd");
    folder.write("package.xml", std::vector<std::uint8_t>(xml.begin(), xml.end()));
    folder.write("icon22.bmp", makeBmp(22, 22, 8, [](int, int) { return 9u; }));
    const auto icon32 = makeBmp(32, 32, 8, [](int x, int) { return x == 0 ? 255u : 3u; });
    folder.write("icon32.bmp", icon32);
    folder.write("icon16.bmp", makeBmp(16, 16, 24, [](int, int) { return 0x102030u; }));
    const auto logo = makeBmp(40, 20, 8, [](int x, int y) { return static_cast<std::uint32_t>(x + y); });
    folder.write("logo.bmp", logo);

    builder::BuildOptions options;
    options.inputPath = folder.file("package.xml");
    options.outputBase = folder.file("Season");
    options.pocketPcTarget = true;
    builder::PackageBuilder build(options);
    const builder::BuildResult read = build.read();
    ASSERT_TRUE(read.ok()) << read.message();
    auto* exe = dynamic_cast<PocketPcExecutable*>(build.pocketPc());
    ASSERT_NE(exe, nullptr);
    const PeFile pe = built(*exe);
    EXPECT_EQ(pe.machine, 0x01C0);

    // Strings: the package's block, the group descriptions, the group names.
    EXPECT_EQ(pe.ids(kStrings), (std::vector<std::uint16_t>{1, 251, 313, 376}));
    const auto package = readStringTable(pe.find(kStrings, 251)->body);
    ASSERT_EQ(package.size(), 16u);
    for (std::size_t slot = 0; slot < 16; ++slot) {
        const std::u16string expected = slot == 0   ? u"Season 2003"
                                        : slot == 1 ? u"Line one\r\nLine two"
                                        : slot == 4 ? u"Club"
                                        : slot == 5 ? u"1"
                                                    : u"";
        EXPECT_EQ(package[slot], expected) << "string " << 4000 + slot;
    }
    const auto descriptions = readStringTable(pe.find(kStrings, 313)->body);
    EXPECT_EQ(descriptions[8], u"Home games");
    EXPECT_EQ(descriptions[9], u"Away games");
    const auto names = readStringTable(pe.find(kStrings, 376)->body);
    EXPECT_EQ(names[0], u"Home");
    EXPECT_EQ(names[1], u"Away");

    // Word lists 4000 to 4004, the contact record 6000 and the event record 7000.
    EXPECT_EQ(pe.ids(kRawData), (std::vector<std::uint16_t>{100, 4000, 4001, 4002, 4003, 4004, 6000, 7000}));
    EXPECT_EQ(words(pe.find(kRawData, 4000)->body), (std::vector<std::uint16_t>{7000, 7001}));
    EXPECT_EQ(words(pe.find(kRawData, 4001)->body), (std::vector<std::uint16_t>{1, 0}));
    EXPECT_EQ(words(pe.find(kRawData, 4002)->body), (std::vector<std::uint16_t>{0, 1}));
    EXPECT_EQ(words(pe.find(kRawData, 4003)->body), (std::vector<std::uint16_t>{1, 0}));
    EXPECT_EQ(words(pe.find(kRawData, 4004)->body), (std::vector<std::uint16_t>{6000}));

    std::vector<std::uint8_t> contact = textBytes({"Doe", "Jo", "", "Acme"});
    contact.push_back(1);  // a company or a work phone
    const auto rest = textBytes({"", "", "", "", "", "555", "", "", "", "777", "", "", "", "", ""});
    contact.insert(contact.end(), rest.begin(), rest.end());
    EXPECT_EQ(pe.find(kRawData, 6000)->body, contact);

    std::vector<std::uint8_t> event = {0xD3, 0x07, 9, 6, 19, 30, 21, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0};
    const auto eventTexts = textBytes({"Opening", "Bring\r\nscarves"});
    event.insert(event.end(), eventTexts.begin(), eventTexts.end());
    EXPECT_EQ(pe.find(kRawData, 7000)->body, event);

    // The logo without its file header; the two icons and their group entries.
    EXPECT_EQ(pe.find(kBitmap, 4000)->body, std::vector<std::uint8_t>(logo.begin() + 14, logo.end()));
    EXPECT_EQ(pe.ids(kIcon), (std::vector<std::uint16_t>{1, 2, 3, 4}));
    const auto& group = pe.find(kGroupIcon, 128)->body;
    EXPECT_EQ(get16(group, 6 + 12), 3);
    EXPECT_EQ(get16(group, 6 + 6), 8);
    EXPECT_EQ(get16(group, 20 + 12), 4);
    EXPECT_EQ(get16(group, 20 + 6), 24);
    EXPECT_EQ(get32(pe.find(kIcon, 3)->body, 4), 32u);
    EXPECT_EQ(get32(pe.find(kIcon, 4)->body, 4), 16u);
}

}  // namespace
}  // namespace skedlin::test
