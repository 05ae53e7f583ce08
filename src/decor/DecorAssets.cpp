// The asset folder's layout: category and item paths, the themes of a
// category and the items of a theme, and the loading of each item in the
// form and at the size the program draws it.
#include "decor/DecorAssets.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "files/FilePaths.h"
#include "image/LoadPicture.h"
#include "image/Resample.h"

namespace {

// Numbered as DecorationKind; the folder names and the menu texts alike.
constexpr const char* kKindNames[kDecorationKinds] = {
    "Frame", "Pattern12", "Pattern24", "Picture", "Word", "Colorful Word",
};

// Characters, not bytes: a UTF-8 name counts its code points, so a theme
// named in another script gets the same room as a Latin one.
int32_t CharacterCount(const std::string& name) {
    int32_t count = 0;
    for (const char c : name) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

constexpr char kItemExtension[] = ".adm";
constexpr size_t kItemExtensionLength = sizeof(kItemExtension) - 1;

// True for themeName + n + ".adm" with n from 1 to 99 written as "%d" would
// write it: the only names the loader ever asks for. A test of the length
// alone would also count unrelated files that happen to be as long (in
// theme Sun, "Moon.adm" or "cover.adm"), and those uncounted item numbers
// would then fail to load.
bool IsItemName(const std::string& name, const std::string& themeName) {
    const size_t prefix = themeName.size();
    if (name.size() < prefix + 1 + kItemExtensionLength ||
        name.size() > prefix + 2 + kItemExtensionLength ||
        name.compare(0, prefix, themeName) != 0 ||
        name.compare(name.size() - kItemExtensionLength, kItemExtensionLength, kItemExtension) !=
            0) {
        return false;
    }
    const size_t digitsEnd = name.size() - kItemExtensionLength;
    if (name[prefix] < '1' || name[prefix] > '9') {
        return false;  // no item 0 and no leading zero
    }
    for (size_t i = prefix + 1; i < digitsEnd; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

const char* DecorationKindName(int16_t kind) {
    if (kind < 0 || kind >= kDecorationKinds) {
        return nullptr;
    }
    return kKindNames[kind];
}

std::string CategoryFolderPath(const std::string& assetFolder, int16_t kind) {
    const char* name = DecorationKindName(kind);
    if (name == nullptr) {
        return std::string();
    }
    return WithTrailingSlash(assetFolder) + name + "/";
}

std::string AssetPath(const std::string& assetFolder, const ThemeTable& themes, int16_t kind,
                      int16_t item, bool mask) {
    if (kind < 0 || kind >= kDecorationKinds || item < 1) {
        return std::string();
    }
    const int16_t theme = themes.selectedTheme[kind];
    if (theme < 0 || theme >= kThemesPerKind || theme >= themes.themeCount[kind]) {
        return std::string();
    }
    const std::string& name = themes.themeName[kind * kThemesPerKind + theme];
    if (name.empty()) {
        return std::string();
    }
    return CategoryFolderPath(assetFolder, kind) + name + "/" + name + (mask ? "mask" : "") +
           std::to_string(item) + ".adm";
}

bool ListThemes(const std::string& categoryFolder, std::vector<std::string>* names) {
    names->clear();
    std::error_code error;
    std::filesystem::directory_iterator entry(categoryFolder, error);
    if (error) {
        return false;
    }
    // Every eligible name first: the first ten in name order are wanted, not
    // the first ten the file system happens to deliver.
    for (; entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (error) {
            break;  // keep what was read before the failure
        }
        std::error_code typeError;
        if (!entry->is_directory(typeError)) {
            continue;
        }
        std::string name = entry->path().filename().string();
        if (name.empty() || name[0] == '.' || CharacterCount(name) > kMaxThemeNameLength) {
            continue;
        }
        names->push_back(std::move(name));
    }
    std::sort(names->begin(), names->end());
    if (names->size() > static_cast<size_t>(kThemesPerKind)) {
        names->resize(kThemesPerKind);
    }
    return true;
}

std::string ThemeName(const std::string& categoryFolder, int16_t index) {
    std::vector<std::string> names;
    if (!ListThemes(categoryFolder, &names) || index < 0 ||
        static_cast<size_t>(index) >= names.size()) {
        return std::string();
    }
    return names[index];
}

int16_t CountItems(const std::string& themeFolder, const std::string& themeName) {
    if (themeName.empty()) {
        return 0;
    }
    std::error_code error;
    std::filesystem::directory_iterator entry(themeFolder, error);
    if (error) {
        return 0;
    }
    int16_t count = 0;
    for (; entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (error) {
            break;
        }
        std::error_code typeError;
        if (entry->is_regular_file(typeError) &&
            IsItemName(entry->path().filename().string(), themeName)) {
            ++count;  // at most 99 distinct names exist
        }
    }
    return count;
}

namespace {

// One row of the asset table: which file of which kind, in which form, at
// which size, and how the loader is asked for it.
struct AssetRow {
    int16_t kind;
    bool mask;  // the "mask" file of the item
    bool grey;  // 8-bit mask form
    int32_t width;
    int32_t height;
    LoadPurpose purpose;
};

// Numbered as AssetUse.
constexpr AssetRow kAssetRows[] = {
    {DECOR_FRAME, false, false, 176, 180, LOAD_THUMBNAIL},
    {DECOR_FRAME, false, false, 44, 45, LOAD_SMALL_THUMBNAIL},
    {DECOR_FRAME, true, true, 176, 180, LOAD_MASK},
    {DECOR_PATTERN12, false, true, 12, 12, LOAD_MASK},
    {DECOR_PATTERN24, false, true, 24, 24, LOAD_MASK},
    {DECOR_PICTURE, false, false, 60, 60, LOAD_PHOTO},
    {DECOR_PICTURE, true, true, 60, 60, LOAD_MASK},
    {DECOR_WORD, false, true, 176, 50, LOAD_MASK},
    {DECOR_COLORFUL_WORD, false, false, 176, 50, LOAD_PHOTO},
    {DECOR_COLORFUL_WORD, true, true, 176, 50, LOAD_MASK},
};
constexpr int16_t kAssetUses = sizeof(kAssetRows) / sizeof(kAssetRows[0]);

}  // namespace

DibBlock LoadAsset(const std::string& assetFolder, const ThemeTable& themes, AssetUse use,
                   int16_t item) {
    if (use < 0 || use >= kAssetUses) {
        return nullptr;
    }
    const AssetRow& row = kAssetRows[use];
    return LoadAssetFile(AssetPath(assetFolder, themes, row.kind, item, row.mask), use);
}

DibBlock LoadAssetFile(const std::string& path, AssetUse use) {
    if (use < 0 || use >= kAssetUses || path.empty()) {
        return nullptr;
    }
    const AssetRow& row = kAssetRows[use];
    DibBlock picture = LoadPicture(path, {row.width, row.height, row.purpose}).picture;
    if (!picture || picture->header.biWidth != row.width ||
        picture->header.biHeight != row.height ||
        picture->header.biBitCount != (row.grey ? 8 : 24)) {
        return nullptr;
    }
    return picture;
}

DibBlock LoadGreyBySize(const std::string& assetFolder, const ThemeTable& themes, int16_t size,
                        int16_t item) {
    switch (size) {
        case 12:
            return LoadAsset(assetFolder, themes, ASSET_PATTERN12, item);
        case 24:
            return LoadAsset(assetFolder, themes, ASSET_PATTERN24, item);
        case 60:
            return LoadAsset(assetFolder, themes, ASSET_PICTURE_MASK, item);
        default:
            return nullptr;
    }
}

std::string AssetItemPath(const std::string& assetFolder, const DecorationItem& item, bool mask) {
    if (item.kind < 0 || item.kind >= kDecorationKinds || item.theme.empty() || item.number < 1) {
        return std::string();
    }
    return CategoryFolderPath(assetFolder, item.kind) + item.theme + "/" + item.theme +
           (mask ? "mask" : "") + std::to_string(item.number) + ".adm";
}

int16_t PlacedAssetUse(int16_t kind, bool mask) {
    switch (kind) {
        case DECOR_FRAME:
            return mask ? ASSET_FRAME_MASK : ASSET_FRAME;
        case DECOR_PATTERN12:
            return mask ? -1 : ASSET_PATTERN12;
        case DECOR_PATTERN24:
            return mask ? -1 : ASSET_PATTERN24;
        case DECOR_PICTURE:
            return mask ? ASSET_PICTURE_MASK : ASSET_PICTURE;
        case DECOR_WORD:
            return mask ? -1 : ASSET_WORD;
        case DECOR_COLORFUL_WORD:
            return mask ? ASSET_COLORFUL_WORD_MASK : ASSET_COLORFUL_WORD;
        default:
            return -1;
    }
}

std::string LargeAssetPath(const std::string& path) {
    if (path.size() < kItemExtensionLength ||
        path.compare(path.size() - kItemExtensionLength, kItemExtensionLength, kItemExtension) !=
            0) {
        return std::string();
    }
    return path.substr(0, path.size() - kItemExtensionLength) + "@4x" + kItemExtension;
}

namespace {

// An 8-bit mask-form picture as grey colour, or a colour picture's blue
// channel as an 8-bit mask-form picture: the resamplers work on colour.
DibBlock ConvertDepth(const DibImage& picture, int32_t bitsPerPixel) {
    const int32_t width = picture.header.biWidth;
    const int32_t height = picture.header.biHeight;
    DibBlock converted = DibCreate(width, height, bitsPerPixel);
    if (!converted) {
        return nullptr;
    }
    const int32_t fromBytes = picture.header.biBitCount / 8;
    const int32_t toBytes = bitsPerPixel / 8;
    const size_t fromStride = static_cast<size_t>(DibRowStride(width, picture.header.biBitCount));
    const size_t toStride = static_cast<size_t>(DibRowStride(width, bitsPerPixel));
    for (size_t y = 0; y < static_cast<size_t>(height); ++y) {
        const uint8_t* from = DibPixels(&picture) + y * fromStride;
        uint8_t* to = DibPixels(converted.get()) + y * toStride;
        for (int32_t x = 0; x < width; ++x, from += fromBytes, to += toBytes) {
            for (int32_t c = 0; c < toBytes; ++c) {
                to[c] = from[0];
            }
        }
    }
    return converted;
}

}  // namespace

DibBlock LoadAssetScaled(const std::string& assetFolder, const DecorationItem& item, AssetUse use,
                         int32_t factor) {
    if (use < 0 || use >= kAssetUses) {
        return nullptr;
    }
    const AssetRow& row = kAssetRows[use];
    if (factor < 1 || factor > kMaxPictureSide / std::max(row.width, row.height) ||
        item.kind != row.kind) {
        return nullptr;
    }
    const std::string path = AssetItemPath(assetFolder, item, row.mask);
    if (factor == 1) {
        return LoadAssetFile(path, use);
    }
    // The large copy is decoded into a colour picture of its drawn size;
    // without one the file comes in at its own size, in colour.
    DibBlock colour;
    const std::string large = LargeAssetPath(path);
    if (!large.empty() && FileExists(large)) {
        colour = DibCreate(row.width * kLargeAssetFactor, row.height * kLargeAssetFactor, 24);
        if (!colour || !LoadPictureInto(large, *colour, LoadRequest()).Ok()) {
            return nullptr;
        }
    } else {
        DibBlock small = LoadAssetFile(path, use);
        if (!small) {
            return nullptr;
        }
        colour = row.grey ? ConvertDepth(*small, 24) : std::move(small);
        if (!colour) {
            return nullptr;
        }
    }
    const int32_t width = row.width * factor;
    const int32_t height = row.height * factor;
    if (colour->header.biWidth != width || colour->header.biHeight != height) {
        colour = RescalePicture(ReadViewOfPicture(colour.get()), width, height);
        if (!colour) {
            return nullptr;
        }
    }
    return row.grey ? ConvertDepth(*colour, 8) : std::move(colour);
}
