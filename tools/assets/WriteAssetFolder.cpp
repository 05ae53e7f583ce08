// The asset folder beside the executable. Each family of assets is drawn and
// written by its own function: the start-up picture, then the decorations.
#include <QDir>

#include <cstdio>

#include "AssetTool.h"

namespace {

// BackPict.ADM: JPEG data under the folder's own extension (SavePicture
// writes JPEG for every name that does not end in .bmp).
bool WriteStartupPicture(const QString& folder) {
    const DibBlock picture = ColorDibFromImage(DrawStartupPicture());
    return SaveDib(folder + "/BackPict.ADM", picture.get());
}

}  // namespace

bool WriteAssetFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "fotakle-assets: cannot create %s\n", qPrintable(folder));
        return false;
    }
    return WriteStartupPicture(folder) && WriteDecorationLibrary(folder);
}
