// The decoration library that the build draws into the asset folder: its
// layout as the editor counts it, and every file as the editor loads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "image/LoadPicture.h"

namespace fs = std::filesystem;

namespace {

struct Category {
    const char* folder;
    int32_t width, height;
    bool colour;        // a colour file and a mask per item
    int needsTwoPages;  // items that no longer fit one chooser page
};

const Category kCategories[] = {
    {"Frame", 176, 180, true, 9},    {"Pattern12", 12, 12, false, 11},
    {"Pattern24", 24, 24, false, 7}, {"Picture", 60, 60, true, 7},
    {"Word", 176, 50, false, 4},     {"Colorful Word", 176, 50, true, 4},
};

fs::path CategoryPath(const Category& category) {
    return fs::path(FOTAKLE_ASSET_FOLDER) / category.folder;
}

// The theme folders in name order, leaving out names that begin with ".".
std::vector<std::string> Themes(const Category& category) {
    std::vector<std::string> themes;
    for (const fs::directory_entry& entry : fs::directory_iterator(CategoryPath(category))) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && name[0] != '.') {
            themes.push_back(name);
        }
    }
    std::sort(themes.begin(), themes.end());
    return themes;
}

// Items as the editor counts them: files ending in ".adm" whose names are
// the theme's plus one or two digits and the extension.
int CountItems(const fs::path& folder, const std::string& theme) {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const size_t extra = name.size() - std::min(name.size(), theme.size());
        count += !entry.is_directory() && (extra == 5 || extra == 6) && name.size() < 32 &&
                 name.compare(name.size() - 4, 4, ".adm") == 0;
    }
    return count;
}

struct Item {
    const Category* category;
    fs::path colour;  // the colour file, or the shape of a grey kind
    fs::path mask;    // empty for grey kinds
};

std::vector<Item> AllItems() {
    std::vector<Item> items;
    for (const Category& category : kCategories) {
        for (const std::string& theme : Themes(category)) {
            const fs::path folder = CategoryPath(category) / theme;
            const int count = CountItems(folder, theme);
            for (int n = 1; n <= count; ++n) {
                const std::string number = std::to_string(n);
                items.push_back(
                    {&category, folder / (theme + number + ".adm"),
                     category.colour ? folder / (theme + "mask" + number + ".adm") : fs::path()});
            }
        }
    }
    return items;
}

// The file loaded for the purpose, or null unless it comes at width x
// height, 8-bit for a mask and 24-bit else.
DibBlock Load(const fs::path& path, LoadPurpose purpose, int32_t width, int32_t height) {
    LoadResult loaded = LoadPicture(path.string(), {width, height, purpose});
    const DibImage* image = loaded.picture.get();
    const bool sized = image != nullptr && loaded.width == width && loaded.height == height &&
                       image->header.biWidth == width && image->header.biHeight == height &&
                       image->header.biBitCount == (purpose == LOAD_MASK ? 8 : 24);
    return sized ? std::move(loaded.picture) : nullptr;
}

// The level at (x, y) of an 8-bit mask, rows in memory order.
int LevelAt(const DibImage* mask, int32_t x, int32_t y) {
    return DibPixels(mask)[y * DibRowStride(mask->header.biWidth, 8) + x];
}

// The highest level within distance pixels of (x, y).
int NearestMax(const DibImage* mask, int32_t x, int32_t y, int32_t distance) {
    int highest = 0;
    for (int32_t j = std::max(0, y - distance);
         j <= std::min(mask->header.biHeight - 1, y + distance); ++j) {
        for (int32_t i = std::max(0, x - distance);
             i <= std::min(mask->header.biWidth - 1, x + distance); ++i) {
            highest = std::max(highest, LevelAt(mask, i, j));
        }
    }
    return highest;
}

}  // namespace

// Each theme holds exactly its numbered items, their masks and the large
// copies of both (which are no items of their own).
TEST(DecorationLibrary, EveryCategoryHasThemesOfNumberedItemsAndOneNeedsASecondPage) {
    for (const Category& category : kCategories) {
        SCOPED_TRACE(category.folder);
        const std::vector<std::string> themes = Themes(category);
        EXPECT_GE(themes.size(), 2u);
        EXPECT_LE(themes.size(), 10u);  // the editor lists ten
        int most = 0;
        for (const std::string& theme : themes) {
            SCOPED_TRACE(theme);
            // Letters only, so the number after the name is never mistaken
            // for part of it, and short enough for the theme table.
            EXPECT_TRUE(theme.size() <= 31 &&
                        std::all_of(theme.begin(), theme.end(),
                                    [](unsigned char c) { return std::isalpha(c) != 0; }));
            const fs::path folder = CategoryPath(category) / theme;
            const int count = CountItems(folder, theme);
            EXPECT_GE(count, 1);
            most = std::max(most, count);
            std::set<std::string> expected;
            for (int n = 1; n <= count; ++n) {
                for (const char* ending : {".adm", "@4x.adm"}) {
                    expected.insert(theme + std::to_string(n) + ending);
                    if (category.colour) {
                        expected.insert(theme + "mask" + std::to_string(n) + ending);
                    }
                }
            }
            std::set<std::string> found;
            for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
                found.insert(entry.path().filename().string());
            }
            EXPECT_EQ(found, expected);
        }
        EXPECT_GE(most, category.needsTwoPages);
    }
}

// Each file loads at its size in its form, its large copy (for full-size
// renders) is four times the size, and the Frame chooser shows each frame
// reduced to a quarter. Frames leave the middle to the photo and close the
// picture's edge; the other kinds keep a margin of nothing, so no art is cut
// off by its box. Outside the art a mask stays at 16 or below, the lowest
// level any blend lets through.
TEST(DecorationLibrary, EveryItemLoadsAtItsSizeWithAMaskCoveringItsArtAlone) {
    const std::vector<Item> items = AllItems();
    EXPECT_GT(items.size(), 60u);
    for (const Item& item : items) {
        const Category& category = *item.category;
        const bool frame = &category == &kCategories[0];
        const fs::path& shape = category.colour ? item.mask : item.colour;
        SCOPED_TRACE(shape.string());
        for (const fs::path& path : {item.colour, item.mask}) {
            fs::path large = path;
            large.replace_filename(path.stem().string() + "@4x.adm");
            const LoadResult big = ReadPictureSize(large.string());
            EXPECT_TRUE(path.empty() || (big.Ok() && big.width == 4 * category.width &&
                                         big.height == 4 * category.height))
                << large;
        }
        EXPECT_TRUE(!category.colour ||
                    Load(item.colour, LOAD_PHOTO, category.width, category.height));
        EXPECT_TRUE(!frame || Load(item.colour, LOAD_SMALL_THUMBNAIL, 44, 45));
        DibBlock mask = Load(shape, LOAD_MASK, category.width, category.height);
        ASSERT_TRUE(mask);
        const int32_t w = mask->header.biWidth, h = mask->header.biHeight;
        // Solid art, with soft edges only where it ends: every level above
        // 16 lies within three pixels of a level of 128 or more, so there
        // are no faint smudges or compression ripples round the art.
        int edgeLowest = 255, edgeHighest = 0, solid = 0, stray = 0;
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                const int level = LevelAt(mask.get(), x, y);
                if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                    edgeLowest = std::min(edgeLowest, level);
                    edgeHighest = std::max(edgeHighest, level);
                }
                solid += level >= 240;
                stray += level > 16 && NearestMax(mask.get(), x, y, 3) < 128;
            }
        }
        if (frame) {
            EXPECT_GE(edgeLowest, 240);
            EXPECT_LE(NearestMax(mask.get(), w / 2, h / 2, 24), 16);
            continue;
        }
        if (&category != &kCategories[1] && &category != &kCategories[2]) {
            EXPECT_LE(edgeHighest, 16);
        }
        EXPECT_GE(solid, w * h / 20);
        EXPECT_EQ(stray, 0);
    }
}
