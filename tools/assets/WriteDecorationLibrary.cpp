// Writes the decoration library into the asset folder: one folder per
// category, one per theme, and in it the numbered item files the editor
// counts and loads, <Theme><n>.adm, with <Theme>mask<n>.adm beside them for
// the kinds that carry colour. Each has a large copy drawn at four times the
// size, <Theme><n>@4x.adm and <Theme>mask<n>@4x.adm, which pictures rendered
// larger than the screen use; the editor's item count passes over them. The
// files are JPEG data.
//
// Every file is read back through the program's own loader at the size and
// in the form the editor asks for, and compared with the drawing: a mask
// must stay at 16 or below where the art leaves the photo alone and at 240
// or above where it covers it, since the blending treats those levels as
// "nothing" and "all". A file that fails that makes the run fail.
#include <QDir>
#include <QFontInfo>
#include <QRgba64>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "AssetTool.h"
#include "DecorationArt.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"

namespace {

// High enough that no mask level moves by more than a few steps through the
// compression (5 at most in this library); colour keeps one chroma sample
// per pixel, so small art keeps its edges.
constexpr int kJpegQuality = 97;
// The large copies are seen only in pictures rendered larger, where their
// levels pass through a resampler anyway.
constexpr int kLargeJpegQuality = 97;
constexpr int kTransparentAtMost = 16;
constexpr int kOpaqueAtLeast = 240;
constexpr int kMaxThemes = 10;
constexpr int kMaxThemeName = 31;

// Under a frame's opening the colour file is seen only in the chooser's
// preview and where a moved photo leaves the screen uncovered: a quiet grey.
const QColor kFrameOpening(196, 200, 206);
// Pictures and colourful words sit on black in their previews, like the
// shapes of the Word chooser; their outermost edge is dark, so the art's
// outline meets the black without a seam.
const QColor kPreviewGround(0, 0, 0);

struct Category {
    const char* folder;
    int width;
    int height;
    bool colour;    // a colour file and a mask; else one grey shape file
    QColor ground;  // of the colour file, where the art covers nothing
    std::vector<DecorationTheme> (*draw)();
};

std::vector<DecorationTheme> DrawPattern12Themes() {
    return DrawPatternThemes(12);
}
std::vector<DecorationTheme> DrawPattern24Themes() {
    return DrawPatternThemes(24);
}

const Category kCategories[] = {
    {"Frame", 176, 180, true, kFrameOpening, DrawFrameThemes},
    {"Pattern12", 12, 12, false, {}, DrawPattern12Themes},
    {"Pattern24", 24, 24, false, {}, DrawPattern24Themes},
    {"Picture", 60, 60, true, kPreviewGround, DrawPictureThemes},
    {"Word", 176, 50, false, {}, DrawWordThemes},
    {"Colorful Word", 176, 50, true, kPreviewGround, DrawColorfulWordThemes},
};

bool ThemeNameUsable(const char* name) {
    const size_t length = std::strlen(name);
    if (length == 0 || length > static_cast<size_t>(kMaxThemeName)) {
        return false;
    }
    // Letters only: item numbers follow the name directly, and the editor
    // tells items from masks by the name's length.
    return std::all_of(name, name + length,
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

// The art's coverage, 0 .. 255.
QImage MaskOf(const QImage& art) {
    QImage mask(art.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < art.height(); ++y) {
        const QRgba64* from = reinterpret_cast<const QRgba64*>(art.constScanLine(y));
        uchar* to = mask.scanLine(y);
        for (int x = 0; x < art.width(); ++x) {
            to[x] = static_cast<uchar>((from[x].alpha() * 255u + 32767u) / 65535u);
        }
    }
    return mask;
}

// The art's own colour where it covers a quarter of a pixel or more, the
// ground where it covers nothing, and a mix of the two in between. The blend
// mixes this colour with the photo by the mask, so pixels the art covers
// well carry its full colour, not one already mixed with the ground. Where
// the art barely covers a pixel the mask lets little of the colour through
// (at most a sixteenth of the difference, in the faint tail of a soft
// shadow), while the preview, which shows the colour file as it stands,
// fades smoothly into the ground instead of showing hard edges.
QImage ColourOf(const QImage& art, const QColor& ground) {
    constexpr double kFullColourFrom = 64.0 * 257.0;  // alpha of 64 of 255
    QImage colour(art.size(), QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y) {
        const QRgba64* from = reinterpret_cast<const QRgba64*>(art.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(colour.scanLine(y));
        for (int x = 0; x < art.width(); ++x) {
            const QRgba64 pixel = from[x].unpremultiplied();
            const double weight = std::min(1.0, pixel.alpha() / kFullColourFrom);
            auto mix = [&](quint16 channel, int groundChannel) {
                return static_cast<int>(
                    std::lround(weight * channel / 257.0 + (1.0 - weight) * groundChannel));
            };
            to[x] = qRgb(mix(pixel.red(), ground.red()), mix(pixel.green(), ground.green()),
                         mix(pixel.blue(), ground.blue()));
        }
    }
    return colour;
}

bool Fail(const QString& path, const char* why) {
    std::fprintf(stderr, "fotakle-assets: %s: %s\n", qPrintable(path), why);
    return false;
}

// Loads the file back as the editor does: grey or colour at the given size.
// A large copy is decoded whole into a colour canvas of its size, as the
// renderer reads it, and a grey one then keeps its blue channel.
DibBlock LoadBack(const QString& path, bool asMask, int width, int height, bool large) {
    if (large) {
        DibBlock canvas = DibCreate(width, height, 24);
        if (!canvas || !LoadPictureInto(path.toStdString(), *canvas, LoadRequest()).Ok()) {
            return nullptr;
        }
        if (!asMask) {
            return canvas;
        }
        DibBlock levels = DibCreate(width, height, 8);
        if (!levels) {
            return nullptr;
        }
        for (int y = 0; y < height; ++y) {
            const uint8_t* from = DibPixels(canvas.get()) + y * DibRowStride(width, 24);
            uint8_t* to = DibPixels(levels.get()) + y * DibRowStride(width, 8);
            for (int x = 0; x < width; ++x) {
                to[x] = from[3 * x];
            }
        }
        return levels;
    }
    LoadResult loaded =
        LoadPicture(path.toStdString(), {width, height, asMask ? LOAD_MASK : LOAD_PHOTO});
    if (!loaded.Ok() || loaded.width != width || loaded.height != height) {
        return nullptr;
    }
    return std::move(loaded.picture);
}

// Writes a mask or grey shape and checks its levels after the round trip.
bool WriteGreyFile(const QString& path, const QImage& levels, bool large) {
    const DibBlock dib = GreyDibFromImage(levels);
    const int quality = large ? kLargeJpegQuality : kJpegQuality;
    if (!dib || !SavePicture(path.toStdString(), *dib, {quality, true}).Ok()) {
        return Fail(path, "cannot write");
    }
    const DibBlock loaded = LoadBack(path, true, levels.width(), levels.height(), large);
    if (!loaded) {
        return Fail(path, "does not load back at its size");
    }
    const int32_t stride = DibRowStride(levels.width(), 8);
    for (int y = 0; y < levels.height(); ++y) {
        // DibImage rows run bottom-up.
        const uint8_t* got = DibPixels(loaded.get()) + (levels.height() - 1 - y) * stride;
        const uchar* want = levels.constScanLine(y);
        for (int x = 0; x < levels.width(); ++x) {
            if ((want[x] == 0 && got[x] > kTransparentAtMost) ||
                (want[x] == 255 && got[x] < kOpaqueAtLeast)) {
                return Fail(path, "levels spoilt by the compression");
            }
        }
    }
    return true;
}

bool WriteColourFile(const QString& path, const QImage& colour, bool large) {
    const DibBlock dib = ColorDibFromImage(colour);
    const int quality = large ? kLargeJpegQuality : kJpegQuality;
    if (!dib || !SavePicture(path.toStdString(), *dib, {quality, true}).Ok()) {
        return Fail(path, "cannot write");
    }
    if (!LoadBack(path, false, colour.width(), colour.height(), large)) {
        return Fail(path, "does not load back at its size");
    }
    return true;
}

// The item's files at one of its two sizes: "<Theme><n><ending>" and, for
// the kinds with colour, "<Theme>mask<n><ending>".
bool WriteItemFiles(const QString& themeFolder, const QString& name, const QString& number,
                    const Category& category, const QImage& art, bool large) {
    const QString ending = large ? QStringLiteral("@4x.adm") : QStringLiteral(".adm");
    const int scale = large ? kLargeArtFactor : 1;
    const QString itemPath = themeFolder + "/" + name + number + ending;
    if (art.width() != category.width * scale || art.height() != category.height * scale ||
        art.format() != QImage::Format_RGBA64_Premultiplied) {
        return Fail(itemPath, "drawn at the wrong size");
    }
    if (!category.colour) {
        return WriteGreyFile(itemPath, MaskOf(art), large);
    }
    return WriteColourFile(itemPath, ColourOf(art, category.ground), large) &&
           WriteGreyFile(themeFolder + "/" + name + "mask" + number + ending, MaskOf(art), large);
}

bool WriteTheme(const QString& categoryFolder, const Category& category,
                const DecorationTheme& theme) {
    const QString name = QString::fromLatin1(theme.name);
    const QString themeFolder = categoryFolder + "/" + name;
    if (!ThemeNameUsable(theme.name) || theme.items.empty()) {
        return Fail(themeFolder, "theme needs a name of letters only and at least one item");
    }
    if (!QDir().mkpath(themeFolder)) {
        return Fail(themeFolder, "cannot create");
    }
    for (size_t i = 0; i < theme.items.size(); ++i) {
        const DrawnArt& art = theme.items[i];
        const QString number = QString::number(i + 1);
        if (!WriteItemFiles(themeFolder, name, number, category, art.phone, false) ||
            !WriteItemFiles(themeFolder, name, number, category, art.large, true)) {
            return false;
        }
    }
    return true;
}

// The lettering needs the real DejaVu faces; another font would change
// every word, so a system without them gets a clear message instead.
bool LetteringFontsPresent() {
    for (bool serif : {false, true}) {
        const QFontInfo info(LetteringFont(serif));
        const QString wanted =
            serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans");
        if (info.family() != wanted || !info.bold()) {
            std::fprintf(
                stderr, "fotakle-assets: the font %s Bold is missing (install fonts-dejavu-core)\n",
                qPrintable(wanted));
            return false;
        }
    }
    return true;
}

}  // namespace

bool WriteDecorationLibrary(const QString& folder) {
    if (!LetteringFontsPresent()) {
        return false;
    }
    for (const Category& category : kCategories) {
        const QString categoryFolder = folder + "/" + QString::fromLatin1(category.folder);
        // The categories are the tool's own output: each run replaces them
        // whole, so a theme renamed in the source leaves no stale folder.
        if (!QDir(categoryFolder).removeRecursively() || !QDir().mkpath(categoryFolder)) {
            return Fail(categoryFolder, "cannot replace");
        }
        const std::vector<DecorationTheme> themes = category.draw();
        if (themes.size() > static_cast<size_t>(kMaxThemes)) {
            return Fail(categoryFolder, "more themes than the editor lists");
        }
        for (const DecorationTheme& theme : themes) {
            if (!WriteTheme(categoryFolder, category, theme)) {
                return false;
            }
        }
    }
    return true;
}
