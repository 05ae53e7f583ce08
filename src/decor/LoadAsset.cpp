#include "decor/DecorAssets.h"
#include "image/LoadPicture.h"

namespace {

// One row of the asset table: which file of which kind, in which form, at
// which size, and how the loader is asked for it.
struct AssetRow {
    int16_t kind;
    bool mask;  // the "mask" file of the item
    bool grey;  // 8-bit mask form
    int32_t width;
    int32_t height;
    bool thumbnail;
    bool smallSize;
};

// Numbered as AssetUse.
constexpr AssetRow kAssetRows[] = {
    {DECOR_FRAME, false, false, 176, 180, true, false},
    {DECOR_FRAME, false, false, 44, 45, true, true},
    {DECOR_FRAME, true, true, 176, 180, false, false},
    {DECOR_PATTERN12, false, true, 12, 12, false, false},
    {DECOR_PATTERN24, false, true, 24, 24, false, false},
    {DECOR_PICTURE, false, false, 60, 60, false, false},
    {DECOR_PICTURE, true, true, 60, 60, false, false},
    {DECOR_WORD, false, true, 176, 50, false, false},
    {DECOR_COLORFUL_WORD, false, false, 176, 50, false, false},
    {DECOR_COLORFUL_WORD, true, true, 176, 50, false, false},
};
constexpr int16_t kAssetUses = sizeof(kAssetRows) / sizeof(kAssetRows[0]);

}  // namespace

DibBlock LoadAsset(const std::string& assetFolder, const ThemeTable& themes, AssetUse use,
                   int16_t item) {
    if (use < 0 || use >= kAssetUses) {
        return nullptr;
    }
    const AssetRow& row = kAssetRows[use];
    const std::string path = AssetPath(assetFolder, themes, row.kind, item, row.mask);
    if (path.empty()) {
        return nullptr;
    }
    const LoadPurpose purpose = row.grey ? (row.smallSize ? LOAD_SMALL_MASK : LOAD_MASK)
                                : row.thumbnail
                                    ? (row.smallSize ? LOAD_SMALL_THUMBNAIL : LOAD_THUMBNAIL)
                                    : LOAD_PHOTO;
    DibBlock picture = LoadPicture(path, {row.width, row.height, purpose}).picture;
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
