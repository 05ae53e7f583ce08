// fotakle-batch: the editor's picture operations applied to files, for batch
// work and for checking results exactly. Links the core only, never Qt.
//
// Exit codes: 0 done, 1 the picture could not be read or written (one line on
// stderr says which), 2 bad command line (usage on stderr). A damaged picture
// (only part of it could be read) gives one warning line on stderr, and the
// command goes on with the part that was read.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <chrono>
#include <filesystem>
#include <system_error>

#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "effects/EdgeMap.h"
#include "effects/PaintEffect.h"
#include "effects/PaintRandom.h"
#include "history/Recipe.h"
#include "history/RenderHistory.h"
#include "image/DibImage.h"
#include "image/LoadPicture.h"
#include "image/Resample.h"
#include "image/SavePicture.h"

// The build passes the project's version in.
#ifndef FOTAKLE_VERSION
#error "FOTAKLE_VERSION must be defined by the build"
#endif

namespace {

const char kUsage[] =
    "Usage: fotakle-batch COMMAND ARGUMENTS\n"
    "\n"
    "  load [--box W H] [--mask] [--thumbnail] [--small] [--into] IN OUT.bmp\n"
    "      Load IN as the editor does and write the result as BMP. --box fits it to\n"
    "      W x H; --into decodes into a black 176 x 180 canvas (not with --mask).\n"
    "      Without a box, pictures of more than 100 megapixels are refused. Prints\n"
    "      the loader's width and height outputs as \"W H\".\n"
    "  resample W H IN OUT.bmp\n"
    "      Scale IN (at its own size) to W x H, interpolating when enlarging.\n"
    "  place X Y RRGGBB IN OUT.bmp\n"
    "      Place IN on a 176 x 180 canvas at X, Y (from the bottom-left), the\n"
    "      rest filled with the colour RRGGBB (hex red, green, blue).\n"
    "  save IN OUT\n"
    "      Load IN at its own size and save it: BMP for a .bmp name, PNG for a\n"
    "      .png name, else JPEG.\n"
    "  adjust brightness|contrast|hue|vividness LEVEL IN OUT.bmp\n"
    "      Adjust IN (at its own size) to LEVEL (-100 to 100; vividness is held\n"
    "      within 1 to 79, 10 leaves the picture as it is).\n"
    "  tones RRGGBB IN OUT.bmp\n"
    "      Recolour IN in tones of the colour RRGGBB.\n"
    "  paint oil|water|wax [--seed N] IN OUT.bmp\n"
    "      Repaint IN with a paint effect (all eight passes). The same seed gives\n"
    "      the same picture; without one the clock seeds it, as in the editor.\n"
    "  apply RECIPE.json IN OUT [--size screen|full|K] [--assets FOLDER]\n"
    "      Do the steps of an editor's recipe (all but its load) to IN and save\n"
    "      the picture: BMP for a .bmp name, else JPEG. screen (the default) is\n"
    "      176 x 180, full the largest whole factor of it that does not enlarge\n"
    "      IN, K that factor (1 to 35). Decorations come from the asset folder\n"
    "      beside the program unless --assets names one. Keeps no shared state:\n"
    "      many can run at once on distinct outputs.\n"
    "\n"
    "  --help     this text\n"
    "  --version  the version\n"
    "\n"
    "IN may be a JPEG, BMP, GIF, PNG or WebP picture. One that is damaged (cut\n"
    "short or corrupt) is used as far as it could be read, with a warning.\n";

int Usage(const char* problem) {
    if (problem != nullptr) {
        std::fprintf(stderr, "fotakle-batch: %s\n\n", problem);
    }
    std::fputs(kUsage, stderr);
    return 2;
}

int Failure(const std::string& message) {
    std::fprintf(stderr, "fotakle-batch: %s\n", message.c_str());
    return 1;
}

// A whole decimal number within [low, high].
bool ParseInt(const std::string& text, long low, long high, int32_t* value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    *value = static_cast<int32_t>(parsed);
    return true;
}

// Six hex digits, red first.
bool ParseColor(const std::string& text, uint8_t* blue, uint8_t* green, uint8_t* red) {
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    const unsigned long rgb = std::strtoul(text.c_str(), nullptr, 16);
    *red = static_cast<uint8_t>(rgb >> 16);
    *green = static_cast<uint8_t>(rgb >> 8);
    *blue = static_cast<uint8_t>(rgb);
    return true;
}

// One warning line for a picture of which only part could be read.
void WarnIfDamaged(const LoadResult& loaded, const std::string& path) {
    if (loaded.Ok() && loaded.damaged) {
        std::fprintf(stderr,
                     "fotakle-batch: warning: %s is damaged: only part of it could be read\n",
                     path.c_str());
    }
}

// The line that says why a picture could not be loaded.
int LoadFailure(const std::string& path, LoadError error) {
    switch (error) {
        case LOAD_UNKNOWN_TYPE:
            return Failure("cannot read " + path +
                           ": not a picture name (.bmp, .jpg, .jpeg, .adm, .gif, .png or .webp)");
        case LOAD_CANNOT_OPEN:
            return Failure("cannot open " + path);
        case LOAD_TOO_LARGE:
            return Failure("cannot load " + path + ": the picture has more than " +
                           std::to_string(kMaxLoadedPixels / 1000000) +
                           " megapixels, more than a picture loaded at its own size may have");
        default:
            return Failure("cannot decode " + path);
    }
}

// The line that says why a picture could not be written: the system's
// reason where there is one ("No space left on device").
int SaveFailure(const std::string& path, const SaveResult& result) {
    return Failure("cannot write " + path +
                   (result.systemError != 0 ? ": " + std::string(std::strerror(result.systemError))
                                            : std::string()));
}

// Loads a picture at its own size (no box), 24-bit; on failure says why and
// sets the exit status.
DibBlock LoadOwnSize(const std::string& path, int* status) {
    LoadResult loaded = LoadPicture(path, LoadRequest());
    if (!loaded.Ok()) {
        *status = LoadFailure(path, loaded.error);
    }
    WarnIfDamaged(loaded, path);
    return std::move(loaded.picture);
}

// Writes an image as BMP. An 8-bit mask gets a grey palette first, so that
// viewers show its levels.
int WriteBmp(DibImage* image, const std::string& path) {
    if (image->header.biBitCount == 8) {
        uint8_t* palette = reinterpret_cast<uint8_t*>(image) + kDibHeaderBytes;
        for (int i = 0; i < 256; ++i) {
            palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = static_cast<uint8_t>(i);
            palette[4 * i + 3] = 0;
        }
    }
    const SaveResult saved = SavePicture(path, *image);
    return saved.Ok() ? 0 : SaveFailure(path, saved);
}

int LoadCommand(const std::vector<std::string>& args) {
    int32_t width = 0;
    int32_t height = 0;
    bool asMask = false;
    bool thumbnail = false;
    bool smallSize = false;
    bool into = false;
    size_t i = 0;
    for (; i < args.size() && args[i].compare(0, 2, "--") == 0; ++i) {
        if (args[i] == "--box") {
            if (i + 2 >= args.size() || !ParseInt(args[i + 1], 0, kMaxPictureSide, &width) ||
                !ParseInt(args[i + 2], 0, kMaxPictureSide, &height)) {
                return Usage("--box needs a width and a height from 0 to 32767");
            }
            i += 2;
        } else if (args[i] == "--mask") {
            asMask = true;
        } else if (args[i] == "--thumbnail") {
            thumbnail = true;
        } else if (args[i] == "--small") {
            smallSize = true;
        } else if (args[i] == "--into") {
            into = true;
        } else {
            return Usage(("unknown option " + args[i]).c_str());
        }
    }
    if (args.size() - i != 2) {
        return Usage("load needs IN and OUT.bmp");
    }
    // The canvas holds colour; a mask is a picture of 8-bit levels.
    if (asMask && into) {
        return Usage("--mask and --into cannot go together: a mask is not a colour canvas");
    }
    const std::string& in = args[i];
    const std::string& out = args[i + 1];

    // A mask asked for as a thumbnail is a mask: the second, smaller request
    // only a mask makes cannot change what libjpeg delivers (it asks only when
    // even the smallest reduction is larger than the first request).
    const LoadPurpose purpose = asMask      ? (smallSize ? LOAD_SMALL_MASK : LOAD_MASK)
                                : thumbnail ? (smallSize ? LOAD_SMALL_THUMBNAIL : LOAD_THUMBNAIL)
                                            : LOAD_PHOTO;
    DibBlock result;
    LoadResult loaded;
    if (into) {
        result = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        if (!result) {
            return Failure("out of memory");
        }
        loaded = LoadPictureInto(in, *result, {0, 0, purpose});
    } else {
        loaded = LoadPicture(in, {width, height, purpose});
        result = std::move(loaded.picture);
    }
    if (!loaded.Ok()) {
        return LoadFailure(in, loaded.error);
    }
    WarnIfDamaged(loaded, in);
    std::printf("%d %d\n", loaded.width, loaded.height);
    return WriteBmp(result.get(), out);
}

int ResampleCommand(const std::vector<std::string>& args) {
    int32_t width = 0;
    int32_t height = 0;
    if (args.size() != 4 || !ParseInt(args[0], 1, kMaxPictureSide, &width) ||
        !ParseInt(args[1], 1, kMaxPictureSide, &height)) {
        return Usage("resample needs W H (1 to 32767) IN OUT.bmp");
    }
    int status = 0;
    DibBlock source = LoadOwnSize(args[2], &status);
    if (!source) {
        return status;
    }
    DibBlock target = DibCreate(width, height, 24);
    if (!target || !ResampleImage(DibPixels(source.get()), DibPixels(target.get()),
                                  NewPictureRequest(source->header.biWidth, source->header.biHeight,
                                                    width, height))) {
        return Failure("out of memory");
    }
    return WriteBmp(target.get(), args[3]);
}

int PlaceCommand(const std::vector<std::string>& args) {
    int32_t x = 0;
    int32_t y = 0;
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    if (args.size() != 5 || !ParseInt(args[0], -kMaxPictureSide, kMaxPictureSide, &x) ||
        !ParseInt(args[1], -kMaxPictureSide, kMaxPictureSide, &y) ||
        !ParseColor(args[2], &blue, &green, &red)) {
        return Usage("place needs X Y RRGGBB IN OUT.bmp");
    }
    int status = 0;
    DibBlock photo = LoadOwnSize(args[3], &status);
    if (!photo) {
        return status;
    }
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    if (!canvas) {
        return Failure("out of memory");
    }
    PlacePhotoOnCanvas(ViewOfPicture(canvas.get()),
                       {ReadViewOfPicture(photo.get()), x, y, blue, green, red});
    return WriteBmp(canvas.get(), args[4]);
}

int SaveCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return Usage("save needs IN and OUT");
    }
    int status = 0;
    DibBlock picture = LoadOwnSize(args[0], &status);
    if (!picture) {
        return status;
    }
    const SaveResult saved = SavePicture(args[1], *picture);
    return saved.Ok() ? 0 : SaveFailure(args[1], saved);
}

// Reads IN at its own size and allocates a picture of the same size for the
// result; reports and returns false when either fails.
bool LoadWithTarget(const std::string& path, DibBlock* source, DibBlock* target, int* status) {
    *source = LoadOwnSize(path, status);
    if (!*source) {
        return false;
    }
    *target = DibCreate((*source)->header.biWidth, (*source)->header.biHeight, 24);
    if (!*target) {
        *status = Failure("out of memory");
        return false;
    }
    return true;
}

int AdjustCommand(const std::vector<std::string>& args) {
    static const char* const kKinds[] = {"brightness", "contrast", "hue", "vividness"};
    int16_t kind = 0;
    for (int16_t i = 0; i < 4; ++i) {
        if (!args.empty() && args[0] == kKinds[i]) {
            kind = static_cast<int16_t>(i + 1);
        }
    }
    int32_t level = 0;
    if (args.size() != 4 || kind == 0 || !ParseInt(args[1], -100, 100, &level)) {
        return Usage(
            "adjust needs brightness|contrast|hue|vividness LEVEL (-100 to 100) IN OUT.bmp");
    }
    DibBlock source;
    DibBlock target;
    int status = 0;
    if (!LoadWithTarget(args[2], &source, &target, &status)) {
        return status;
    }
    AdjustTone(DibPixels(source.get()), DibPixels(target.get()), static_cast<AdjustKind>(kind),
               static_cast<int16_t>(level), source->header.biWidth, source->header.biHeight);
    return WriteBmp(target.get(), args[3]);
}

int TonesCommand(const std::vector<std::string>& args) {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    if (args.size() != 3 || !ParseColor(args[0], &blue, &green, &red)) {
        return Usage("tones needs RRGGBB IN OUT.bmp");
    }
    DibBlock source;
    DibBlock target;
    int status = 0;
    if (!LoadWithTarget(args[1], &source, &target, &status)) {
        return status;
    }
    ApplyColorTone(DibPixels(source.get()), DibPixels(target.get()), blue, green, red,
                   source->header.biWidth, source->header.biHeight);
    return WriteBmp(target.get(), args[2]);
}

int PaintCommand(std::vector<std::string> args) {
    EffectKind kind = EFFECT_NONE;
    if (!args.empty()) {
        kind = args[0] == "oil"     ? EFFECT_OIL
               : args[0] == "water" ? EFFECT_WATER
               : args[0] == "wax"   ? EFFECT_WAX
                                    : EFFECT_NONE;
    }
    uint64_t seed =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    if (args.size() >= 3 && args[1] == "--seed") {
        errno = 0;
        char* end = nullptr;
        const unsigned long long parsed = std::strtoull(args[2].c_str(), &end, 10);
        if (args[2].empty() || args[2][0] == '-' || errno != 0 || *end != '\0') {
            return Usage("--seed needs a whole number");
        }
        seed = parsed;
        args.erase(args.begin() + 1, args.begin() + 3);
    }
    if (kind == EFFECT_NONE || args.size() != 3) {
        return Usage("paint needs oil|water|wax [--seed N] IN OUT.bmp");
    }
    DibBlock source;
    DibBlock target;
    int status = 0;
    if (!LoadWithTarget(args[1], &source, &target, &status)) {
        return status;
    }
    const int32_t width = source->header.biWidth;
    const int32_t height = source->header.biHeight;
    EdgeMap edges = NewEdgeMap(width, height);
    if (!edges) {
        return Failure("out of memory");
    }
    SeededPaintRandom random(seed);
    PaintCanvas canvas;
    canvas.source = DibPixels(source.get());
    canvas.destination = DibPixels(target.get());
    canvas.edgeMap = edges.levels.get();
    canvas.width = width;
    canvas.height = height;
    PreparePaint(canvas);
    for (int32_t number = 0; number < kPaintPassCount; ++number) {
        PaintEffectPass(kind, canvas, PaintPassThreshold(number), random);
    }
    return WriteBmp(target.get(), args[2]);
}

// The asset folder as the editor finds it from its program folder: beside
// the program, else in ../share/fotakle/.
std::string DefaultAssetFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return "FotakleFolder/";
    }
    const std::filesystem::path folder = program.parent_path();
    const std::filesystem::path beside = folder / "FotakleFolder";
    if (std::filesystem::is_directory(beside, error)) {
        return beside.string() + "/";
    }
    const std::filesystem::path installed =
        folder.parent_path() / "share" / "fotakle" / "FotakleFolder";
    return (std::filesystem::is_directory(installed, error) ? installed : beside).string() + "/";
}

// What a refused recipe says, on one line.
std::string RecipeProblem(const std::string& path, const RecipeResult& recipe) {
    std::string where = path + ": ";
    if (recipe.step >= 0) {
        where += "step " + std::to_string(recipe.step) + ": ";
    }
    switch (recipe.error) {
        case RECIPE_CANNOT_READ:
            return "cannot read " + path;
        case RECIPE_TOO_LARGE:
            return where + "too large for a recipe";
        case RECIPE_NOT_JSON:
            return where + "not JSON";
        case RECIPE_NOT_A_RECIPE:
            return where + "not a recipe (no \"fotakle_recipe\": 1 with \"steps\")";
        case RECIPE_UNKNOWN_STEP:
            return where + "unknown step \"" + recipe.detail + "\"";
        case RECIPE_BAD_FIELD:
            return where + "\"" + recipe.detail +
                   "\" is missing, of the wrong type or out of range";
        case RECIPE_BAD_ORDER:
            return where + "a recipe begins with its one load step";
        case RECIPE_OK:
            break;
    }
    return where + "refused";
}

int ApplyCommand(std::vector<std::string> args) {
    std::string size = "screen";
    std::string assets;
    for (size_t i = 0; i < args.size();) {
        if ((args[i] == "--size" || args[i] == "--assets") && i + 1 < args.size()) {
            (args[i] == "--size" ? size : assets) = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        } else if (args[i].compare(0, 2, "--") == 0) {
            return Usage(("unknown option " + args[i]).c_str());
        } else {
            ++i;
        }
    }
    int32_t factor = 1;
    if (size != "screen" && size != "full" && !ParseInt(size, 1, MaxRenderFactor(), &factor)) {
        return Usage("--size needs screen, full or a factor from 1 to 35");
    }
    if (args.size() != 3) {
        return Usage("apply needs RECIPE.json IN OUT");
    }
    const std::string& in = args[1];
    const std::string& out = args[2];
    const RecipeResult recipe = ReadRecipeFile(args[0]);
    if (!recipe.Ok()) {
        return Failure(RecipeProblem(args[0], recipe));
    }
    if (size == "full") {
        const LoadResult source = ReadPictureSize(in);
        if (!source.Ok()) {
            return Failure("cannot decode " + in);
        }
        factor = FullSizeFactor(source.width, source.height);
    }
    RenderOptions options;
    options.source = in;
    options.assetFolder = assets.empty() ? DefaultAssetFolder() : assets;
    options.factor = factor;
    const RenderResult rendered = RenderHistory(recipe.steps, options);
    switch (rendered.error) {
        case RENDER_OK:
            break;
        case RENDER_CANNOT_LOAD:
            return Failure("cannot decode " + in);
        case RENDER_NO_DECORATION:
            return Failure(
                "step " + std::to_string(rendered.step) + ": the decoration " +
                DecorationFileName(recipe.steps[static_cast<size_t>(rendered.step)].item) +
                " is not in " + options.assetFolder);
        case RENDER_OUT_OF_MEMORY:
            return Failure("out of memory");
        default:
            return Failure("cannot render " + args[0]);
    }
    if (!SavePicture(out, *rendered.picture).Ok()) {
        return Failure("cannot write " + out);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage(nullptr);
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--version") {
        std::puts("fotakle-batch " FOTAKLE_VERSION);
        return 0;
    }
    if (command == "load") {
        return LoadCommand(args);
    }
    if (command == "resample") {
        return ResampleCommand(args);
    }
    if (command == "place") {
        return PlaceCommand(args);
    }
    if (command == "save") {
        return SaveCommand(args);
    }
    if (command == "adjust") {
        return AdjustCommand(args);
    }
    if (command == "tones") {
        return TonesCommand(args);
    }
    if (command == "paint") {
        return PaintCommand(args);
    }
    if (command == "apply") {
        return ApplyCommand(args);
    }
    return Usage(("unknown command " + command).c_str());
}
