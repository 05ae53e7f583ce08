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

DibBlock Load(const fs::path& path, bool asMask, int32_t width, int32_t height,
              bool preview = false) {
    const LoadPurpose purpose = asMask    ? (preview ? LOAD_SMALL_MASK : LOAD_MASK)
                                : preview ? LOAD_SMALL_THUMBNAIL
                                          : LOAD_PHOTO;
    LoadResult loaded = LoadPicture(path.string(), {width, height, purpose});
    DibBlock image = std::move(loaded.picture);
    if (!image || loaded.width != width || loaded.height != height ||
        image->header.biWidth != width || image->header.biHeight != height ||
        image->header.biBitCount != (asMask ? 8 : 24)) {
        return nullptr;
    }
    return image;
}

// The levels of a mask, top row first.
class Levels {
  public:
    explicit Levels(const DibImage* mask)
        : width_(mask->header.biWidth), height_(mask->header.biHeight) {
        const int32_t stride = DibRowStride(width_, 8);
        for (int32_t y = height_ - 1; y >= 0; --y) {
            const uint8_t* row = DibPixels(mask) + y * stride;
            levels_.insert(levels_.end(), row, row + width_);
        }
    }
    int At(int32_t x, int32_t y) const { return levels_[y * width_ + x]; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // The highest level within distance pixels of (x, y).
    int NearestMax(int32_t x, int32_t y, int32_t distance) const {
        int highest = 0;
        for (int32_t j = std::max(0, y - distance); j <= std::min(height_ - 1, y + distance); ++j) {
            for (int32_t i = std::max(0, x - distance); i <= std::min(width_ - 1, x + distance);
                 ++i) {
                highest = std::max(highest, At(i, j));
            }
        }
        return highest;
    }

  private:
    int32_t width_, height_;
    std::vector<uint8_t> levels_;
};

}  // namespace

TEST(DecorationLibrary, EveryCategoryHasThemesAndOneThatNeedsASecondPage) {
    for (const Category& category : kCategories) {
        SCOPED_TRACE(category.folder);
        const std::vector<std::string> themes = Themes(category);
        EXPECT_GE(themes.size(), 2u);
        EXPECT_LE(themes.size(), 10u);  // the editor lists ten
        int most = 0;
        for (const std::string& theme : themes) {
            // Letters only, so the number after the name is never mistaken
            // for part of it, and short enough for the theme table.
            EXPECT_TRUE(theme.size() <= 31 &&
                        std::all_of(theme.begin(), theme.end(),
                                    [](unsigned char c) { return std::isalpha(c) != 0; }))
                << theme;
            most = std::max(most, CountItems(CategoryPath(category) / theme, theme));
        }
        EXPECT_GE(most, category.needsTwoPages);
    }
}

TEST(DecorationLibrary, ThemesHoldExactlyTheNumberedItemsAndTheirMasks) {
    for (const Category& category : kCategories) {
        for (const std::string& theme : Themes(category)) {
            SCOPED_TRACE(std::string(category.folder) + "/" + theme);
            const fs::path folder = CategoryPath(category) / theme;
            const int count = CountItems(folder, theme);
            EXPECT_GE(count, 1);
            std::set<std::string> expected;
            for (int n = 1; n <= count; ++n) {
                // Each file and its large copy, which is no item of its own.
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
    }
}

// Each file loads at its size in its form, and its large copy (for
// full-size renders) at four times the size; the Frame chooser shows each
// frame reduced to a quarter.
TEST(DecorationLibrary, EveryFileLoadsAtItsSizeInItsForm) {
    const std::vector<Item> items = AllItems();
    EXPECT_GT(items.size(), 60u);
    for (const Item& item : items) {
        const Category& category = *item.category;
        for (const fs::path& path : {item.colour, item.mask}) {
            if (path.empty()) {
                continue;
            }
            SCOPED_TRACE(path.string());
            const bool grey = path == item.mask || !category.colour;
            fs::path large = path;
            large.replace_filename(path.stem().string() + "@4x.adm");
            EXPECT_TRUE(Load(path, grey, category.width, category.height));
            const LoadResult big = ReadPictureSize(large.string());
            EXPECT_TRUE(big.Ok() && big.width == 4 * category.width &&
                        big.height == 4 * category.height);
        }
        if (&category == &kCategories[0]) {
            EXPECT_TRUE(Load(item.colour, false, 44, 45, true)) << item.colour;
        }
    }
}

// Frames leave the middle to the photo and close the picture's edge; the
// other kinds keep a margin of nothing, so no art is cut off by its box.
// Outside the art a mask stays at 16 or below, the lowest level any blend
// lets through.
TEST(DecorationLibrary, MasksCoverWhatTheyShouldAndNothingElse) {
    for (const Item& item : AllItems()) {
        const Category& category = *item.category;
        const bool frame = &category == &kCategories[0];
        const fs::path& path = category.colour ? item.mask : item.colour;
        SCOPED_TRACE(path.string());
        DibBlock mask = Load(path, true, category.width, category.height);
        ASSERT_TRUE(mask);
        const Levels levels(mask.get());
        const int32_t w = levels.Width(), h = levels.Height();
        // Solid art, with soft edges only where it ends: every level above
        // 16 lies within three pixels of a level of 128 or more, so there
        // are no faint smudges or compression ripples round the art.
        int edgeLowest = 255, edgeHighest = 0, solid = 0, stray = 0;
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                const int level = levels.At(x, y);
                if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                    edgeLowest = std::min(edgeLowest, level);
                    edgeHighest = std::max(edgeHighest, level);
                }
                solid += level >= 240;
                stray += level > 16 && levels.NearestMax(x, y, 3) < 128;
            }
        }
        if (frame) {
            EXPECT_GE(edgeLowest, 240);
            EXPECT_LE(levels.NearestMax(w / 2, h / 2, 24), 16);
            continue;
        }
        if (&category != &kCategories[1] && &category != &kCategories[2]) {
            EXPECT_LE(edgeHighest, 16);
        }
        EXPECT_GE(solid, w * h / 20);
        EXPECT_EQ(stray, 0);
    }
}
