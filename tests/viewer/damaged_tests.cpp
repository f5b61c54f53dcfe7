// Damaged and crafted packages: every table and record cut short, counts
// that disagree, texts without their zero byte, bitmaps pointing past their
// end. The core must report them, never read past a resource.

#include "viewer_test_support.h"

namespace skedlin::testing {
namespace {

// Each resource is served from a heap block of exactly its size, so that
// AddressSanitizer catches a read one byte past it.
class ExactPackage {
public:
    explicit ExactPackage(ViewerPackage& source) : source_(source) {}
    skv_host host() {
        skv_host h = source_.host();
        h.user = this;
        h.get_resource = [](void* user, std::uint32_t type, std::uint16_t id,
                            std::uint32_t* size) -> const std::uint8_t* {
            auto* self = static_cast<ExactPackage*>(user);
            auto it = self->source_.resources.find({type, id});
            if (it == self->source_.resources.end()) return nullptr;
            auto& block = self->blocks_[{type, id}];
            if (!block) {
                block.reset(new std::uint8_t[it->second.size() ? it->second.size() : 1]);
                std::copy(it->second.begin(), it->second.end(), block.get());
            }
            *size = static_cast<std::uint32_t>(it->second.size());
            return block.get();
        };
        h.text_width = [](void* user, std::uint8_t font, const char* text, std::uint16_t length) -> std::uint16_t {
            // Read every byte the core claims is text.
            unsigned sum = 0;
            for (std::uint16_t i = 0; i < length; ++i) sum += static_cast<unsigned char>(text[i]);
            (void)sum;
            (void)user;
            return static_cast<std::uint16_t>(length * fontCharWidth(font));
        };
        return h;
    }

private:
    ViewerPackage& source_;
    std::map<std::pair<std::uint32_t, std::uint16_t>, std::unique_ptr<std::uint8_t[]>> blocks_;
};

// Opens the package and goes through every screen, every row and the copy;
// returns the first damage reported (SKV_OK if none).
skv_status exercise(ViewerPackage& package) {
    ExactPackage exact(package);
    const skv_host host = exact.host();
    std::uint32_t size = 0;
    skv_status status = skv_measure(&host, &size);
    if (status) return status;
    std::vector<std::uint32_t> memory(size / 4 + 1);
    skv_context* ctx = nullptr;
    status = skv_open(memory.data(), size, &host, 1, &ctx);
    if (status) return status;
    skv_command(ctx, SKV_CMD_BROWSE);
    for (int group = 0; group < 8 && !skv_error(ctx, nullptr, nullptr); ++group) {
        skv_command(ctx, SKV_CMD_BROWSE);
        skv_tap(ctx, 10, static_cast<std::int16_t>(20 + group * 24));
        for (std::uint16_t list : {SKV_CMD_SHOW_EVENTS, SKV_CMD_SHOW_CONTACTS}) {
            skv_command(ctx, list);
            for (int row = 0; row < 12; ++row) {
                skv_tap(ctx, 60, static_cast<std::int16_t>(34 + row * 11));
                skv_key(ctx, SKV_KEY_PAGE_DOWN);
                skv_command(ctx, SKV_CMD_BACK);
            }
        }
    }
    skv_command(ctx, SKV_CMD_COPY);
    skv_command(ctx, SKV_CMD_SELECT_ALL);
    skv_copy_summary summary;
    if (skv_copy_prepare(ctx, &summary) == SKV_OK) {
        skv_record record;
        while (skv_copy_next(ctx, &record)) {}
    }
    return skv_error(ctx, nullptr, nullptr);
}

class DamagedExample : public ::testing::Test {
protected:
    void SetUp() override { package = examplePackage(); }
    ViewerPackage package;
};

TEST_F(DamagedExample, IntactPackageHasNoDamage) { EXPECT_EQ(exercise(package), SKV_OK); }

TEST_F(DamagedExample, EveryResourceCutAtEveryLengthIsReportedOrHarmless) {
    // Cutting a resource anywhere either still reads (a table entry or a
    // text that ends on its zero byte) or is reported; nothing is read past it.
    const auto keys = package.resources;
    int reported = 0;
    for (const auto& [key, bytes] : keys) {
        for (std::size_t length = 0; length < bytes.size(); length += 1 + bytes.size() / 40) {
            ViewerPackage cut = package;
            cut.resources[key].resize(length);
            if (exercise(cut) != SKV_OK) ++reported;
        }
    }
    EXPECT_GT(reported, 50);
}

TEST_F(DamagedExample, MissingTablesAndRecordsAreNamedInTheError) {
    struct Case {
        const char* type;
        std::uint16_t id;
        skv_status status;
    } cases[] = {{"tSTR", 4000, SKV_ERR_MISSING}, {"tSTR", 4005, SKV_ERR_MISSING}, {"tSTL", 4000, SKV_ERR_MISSING},
                 {"wrdl", 4002, SKV_ERR_MISSING}, {"Nevt", 7001, SKV_ERR_MISSING}, {"Ncnt", 6003, SKV_ERR_MISSING}};
    for (const Case& c : cases) {
        ViewerPackage damaged = package;
        damaged.remove(c.type, c.id);
        ExactPackage exact(damaged);
        const skv_host host = exact.host();
        std::uint32_t size = 0;
        const skv_status measured = skv_measure(&host, &size);
        if (measured != SKV_OK) {
            EXPECT_EQ(measured, c.status) << c.type << c.id;
            continue;
        }
        EXPECT_EQ(exercise(damaged), c.status) << c.type << c.id;
        // The error screen names the resource for the alert.
        Viewer viewer(damaged);
        viewer.command(SKV_CMD_BROWSE);
        viewer.tapText("Keynotes & Plenary");
        viewer.command(SKV_CMD_COPY);
        viewer.command(SKV_CMD_SELECT_ALL);
        skv_copy_summary summary;
        skv_copy_prepare(viewer.ctx, &summary);
        std::uint32_t type = 0;
        std::uint16_t id = 0;
        EXPECT_EQ(skv_error(viewer.ctx, &type, &id), c.status);
        EXPECT_EQ(type, typeCode(c.type));
        EXPECT_EQ(id, c.id);
        EXPECT_TRUE(viewer.showsSentence(std::string("Resource ") + c.type + " " + std::to_string(c.id)));
        EXPECT_EQ(viewer.command(SKV_CMD_BACK), SKV_ACTION_EXIT);
    }
}

Bytes words(std::initializer_list<std::uint16_t> values) {
    Bytes b;
    for (std::uint16_t v : values) {
        b.push_back(static_cast<std::uint8_t>(v >> 8));
        b.push_back(static_cast<std::uint8_t>(v));
    }
    return b;
}

TEST_F(DamagedExample, TablesThatDisagreeAreRefusedAtOpen) {
    struct Case {
        const char* what;
        std::uint16_t id;
        Bytes body;
        skv_status status;
    } cases[] = {
        {"fewer event counts than groups", 4001, words({3, 3, 3, 3}), SKV_ERR_COUNT},
        {"count larger than the list", 4003, words({4, 2, 1, 1}), SKV_ERR_TRUNCATED},
        {"first events with a gap", 4000, words({4, 7000, 7003, 7007, 7009}), SKV_ERR_COUNT},
        {"contacts past the index list", 4002, words({4, 0, 2, 3, 5}), SKV_ERR_COUNT},
        {"contact id outside the contacts", 4004, words({5, 6003, 6001, 6004, 6002, 7000}), SKV_ERR_RANGE},
    };
    for (const Case& c : cases) {
        ViewerPackage damaged = package;
        damaged.add("wrdl", c.id, c.body);
        const skv_host host = damaged.host();
        std::uint32_t size = 0;
        EXPECT_EQ(skv_measure(&host, &size), c.status) << c.what;
    }
    ViewerPackage navigation = package;
    navigation.add("tSTR", 4005, Bytes{'7', 0});
    const skv_host host = navigation.host();
    std::uint32_t size = 0;
    EXPECT_EQ(skv_measure(&host, &size), SKV_ERR_RANGE);
}

TEST_F(DamagedExample, TextsWithoutTheirZeroByte) {
    for (const auto& [type, id] : std::vector<std::pair<std::string, std::uint16_t>>{
             {"tSTR", 4000}, {"tSTR", 4001}, {"tSTL", 4000}, {"Nevt", 7000}, {"Ncnt", 6000}, {"tSTR", 5000}}) {
        ViewerPackage damaged = package;
        Bytes& body = *damaged.find(type, id);
        for (auto& byte : body)
            if (byte == 0 && &byte >= &body[type == "Nevt" ? 8 : type == "Ncnt" ? 9 : type == "tSTL" ? 3 : 0])
                byte = 'x';
        EXPECT_EQ(exercise(damaged), SKV_ERR_TEXT) << type << id;
    }
}

// ---- Bitmap families ----

Bytes bitmapV2(std::uint16_t width, std::uint16_t height, std::uint16_t rowBytes, std::uint8_t depth,
               std::uint16_t next, std::size_t pixelBytes) {
    Bytes b = words({width, height, rowBytes, 0});
    b.push_back(depth);
    b.push_back(2);
    const Bytes tail = words({next, 0, 0});
    b.insert(b.end(), tail.begin(), tail.end());
    b.resize(b.size() + pixelBytes, 0xAA);
    return b;
}

TEST(BitmapFamilies, ChoosesTheBitmapOfTheDensityAndChecksEveryOffset) {
    // A 1-bit 16x8 bitmap, the high-density marker, a 32x16 version 3 one.
    Bytes family = bitmapV2(16, 8, 2, 1, (16 + 16) / 4, 16);
    const Bytes marker = {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 1, 0, 0, 0, 0, 0, 0};
    family.insert(family.end(), marker.begin(), marker.end());
    Bytes high = words({32, 16, 4, 0});
    const Bytes v3 = {1, 3, 24, 0, 0, 0, 0, 144, 0, 0, 0, 0, 0, 0, 0, 0};
    high.insert(high.end(), v3.begin(), v3.end());
    high.resize(high.size() + 64, 0x55);
    family.insert(family.end(), high.begin(), high.end());

    skv_bitmap chosen;
    ASSERT_EQ(skv_bitmap_choose(family.data(), static_cast<std::uint32_t>(family.size()), 1, &chosen), SKV_OK);
    EXPECT_EQ(chosen.width, 16);
    EXPECT_EQ(chosen.header, 0u);
    EXPECT_EQ(chosen.bits, 16u);
    ASSERT_EQ(skv_bitmap_choose(family.data(), static_cast<std::uint32_t>(family.size()), 2, &chosen), SKV_OK);
    EXPECT_EQ(chosen.width, 32);
    EXPECT_EQ(chosen.density, 144);
    EXPECT_EQ(chosen.header, 48u);

    // Every cut of the family is refused, never read past.
    for (std::size_t length = 0; length < family.size(); ++length) {
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[length + 1]);
        std::copy(family.begin(), family.begin() + static_cast<long>(length), exact.get());
        EXPECT_EQ(skv_bitmap_choose(exact.get(), static_cast<std::uint32_t>(length), 2, &chosen), SKV_ERR_BITMAP)
            << length;
    }
}

TEST(BitmapFamilies, OffsetsPastTheEndAndImpossibleHeadersAreRefused) {
    skv_bitmap chosen;
    const Bytes cases[] = {
        bitmapV2(16, 8, 2, 1, 200, 16),  // next bitmap past the end
        bitmapV2(16, 9, 2, 1, 0, 16),    // rows past the end
        bitmapV2(16, 8, 1, 1, 0, 16),    // rows narrower than the width
        bitmapV2(16, 8, 2, 3, 0, 16),    // no such depth
        bitmapV2(0, 8, 2, 1, 0, 16),     // empty
    };
    for (const Bytes& family : cases)
        EXPECT_EQ(skv_bitmap_choose(family.data(), static_cast<std::uint32_t>(family.size()), 1, &chosen),
                  SKV_ERR_BITMAP);
    // An 8-bit bitmap whose colour table runs past the end.
    Bytes coloured = bitmapV2(2, 1, 2, 8, 0, 0);
    coloured[6] = 0x40;
    const Bytes table = words({200, 0});
    coloured.insert(coloured.end(), table.begin(), table.end());
    EXPECT_EQ(skv_bitmap_choose(coloured.data(), static_cast<std::uint32_t>(coloured.size()), 1, &chosen),
              SKV_ERR_BITMAP);
}

TEST_F(DamagedExample, DamagedLogoShowsTheErrorScreen) {
    Bytes& logo = *package.find("Tbmp", 4000);
    logo[10] = 0x7F;  // next bitmap far past the end
    logo[11] = 0xFF;
    Viewer viewer(package);
    ASSERT_TRUE(viewer.ok());
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_ERROR);
    std::uint32_t type = 0;
    EXPECT_EQ(skv_error(viewer.ctx, &type, nullptr), SKV_ERR_BITMAP);
    EXPECT_EQ(type, SKV_TYPE_BITMAP);
    EXPECT_EQ(viewer.title(), "Damaged Package");
    EXPECT_EQ(skv_tap(viewer.ctx, 20, 150), SKV_ACTION_ERROR);
}

TEST_F(DamagedExample, ContextTooSmallOrMisalignedIsRefused) {
    const skv_host host = package.host();
    std::uint32_t size = 0;
    ASSERT_EQ(skv_measure(&host, &size), SKV_OK);
    std::vector<std::uint32_t> memory(size / 4 + 2);
    skv_context* ctx = nullptr;
    EXPECT_EQ(skv_open(memory.data(), size - 1, &host, 1, &ctx), SKV_ERR_SPACE);
    EXPECT_EQ(skv_open(reinterpret_cast<std::uint8_t*>(memory.data()) + 1, size, &host, 1, &ctx), SKV_ERR_SPACE);
    EXPECT_EQ(skv_open(memory.data(), size, &host, 3, &ctx), SKV_ERR_RANGE);
    EXPECT_EQ(ctx, nullptr);
}

}  // namespace
}  // namespace skedlin::testing
