#include "history/RenderHistory.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "decor/ComposeScreen.h"
#include "decor/DecorAssets.h"
#include "decor/Lettering.h"
#include "effects/EdgeMap.h"
#include "effects/PaintEffect.h"
#include "image/CanvasView.h"
#include "image/JpegCodec.h"
#include "image/LoadPicture.h"
#include "image/PictureType.h"
#include "image/Resample.h"

namespace {

// The picture being made and the photo's offset on the screen, in screen
// pixels as the steps give them.
struct RenderState {
    const RenderOptions& options;
    int32_t factor;
    DibBlock photo;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
};

int32_t CanvasWidthAt(int32_t factor) {
    return kCanvasWidth * factor;
}

int32_t CanvasHeightAt(int32_t factor) {
    return kCanvasHeight * factor;
}

DibBlock NewCanvas(const RenderState& state) {
    return DibCreate(CanvasWidthAt(state.factor), CanvasHeightAt(state.factor), 24);
}

uint8_t Channel(int16_t value) {
    return static_cast<uint8_t>(value);
}

RenderError Load(RenderState& state, const EditStep& step) {
    const std::string& path = state.options.source.empty() ? step.source : state.options.source;
    if (path.empty()) {
        return RENDER_CANNOT_LOAD;
    }
    DibBlock canvas = NewCanvas(state);
    if (!canvas) {
        return RENDER_OUT_OF_MEMORY;
    }
    if (!LoadPictureInto(path, *canvas, LoadRequest()).Ok()) {
        return RENDER_CANNOT_LOAD;
    }
    state.photo = std::move(canvas);
    state.offsetX = 0;
    state.offsetY = 0;
    return RENDER_OK;
}

// A picture laid over the whole photo at the step's place, the rest in the
// step's fill: how "Done" ends Rescale and the adjust modes.
void PlaceOverPhoto(RenderState& state, const DibImage& picture, const EditStep& step) {
    PhotoPlacement placement;
    placement.photo = ReadViewOfPicture(&picture);
    placement.x = step.x * state.factor;
    placement.y = step.y * state.factor;
    placement.fillBlue = Channel(step.color.blue);
    placement.fillGreen = Channel(step.color.green);
    placement.fillRed = Channel(step.color.red);
    PlacePhotoOnCanvas(ViewOfPicture(state.photo.get()), placement);
    state.offsetX = 0;
    state.offsetY = 0;
}

RenderError Rescale(RenderState& state, const EditStep& step) {
    const int32_t width = (step.percent * CanvasWidthAt(state.factor) + 50) / 100;
    const int32_t height = (step.percent * CanvasHeightAt(state.factor) + 50) / 100;
    const DibBlock scaled = RescalePicture(ReadViewOfPicture(state.photo.get()), width, height);
    if (!scaled) {
        return RENDER_OUT_OF_MEMORY;
    }
    PlaceOverPhoto(state, *scaled, step);
    return RENDER_OK;
}

RenderError Adjust(RenderState& state, const EditStep& step) {
    const DibBlock adjusted = NewCanvas(state);
    if (!adjusted) {
        return RENDER_OUT_OF_MEMORY;
    }
    AdjustTone(DibPixels(state.photo.get()), DibPixels(adjusted.get()), step.adjust,
               static_cast<int16_t>(step.level), CanvasWidthAt(state.factor),
               CanvasHeightAt(state.factor));
    PlaceOverPhoto(state, *adjusted, step);
    return RENDER_OK;
}

RenderError Tones(RenderState& state, const EditStep& step) {
    DibBlock toned = NewCanvas(state);
    if (!toned) {
        return RENDER_OUT_OF_MEMORY;
    }
    ApplyColorTone(DibPixels(state.photo.get()), DibPixels(toned.get()), step.color.blue,
                   step.color.green, step.color.red, CanvasWidthAt(state.factor),
                   CanvasHeightAt(state.factor));
    state.photo = std::move(toned);
    return RENDER_OK;
}

RenderError Paint(RenderState& state, const EditStep& step) {
    DibBlock painted = NewCanvas(state);
    EdgeMap edges = NewEdgeMap(kCanvasWidth, kCanvasHeight);
    if (!painted || !edges) {
        return RENDER_OUT_OF_MEMORY;
    }
    PaintCanvas canvas;
    canvas.source = DibPixels(state.photo.get());
    canvas.destination = DibPixels(painted.get());
    canvas.edgeMap = edges.levels.get();
    canvas.width = kCanvasWidth;
    canvas.height = kCanvasHeight;
    canvas.scale = state.factor;
    if (!PreparePaint(canvas)) {
        return RENDER_OUT_OF_MEMORY;
    }
    SeededPaintRandom random = SeededPaintRandom::FromState(step.seed);
    for (int32_t pass = 0; pass < kPaintPassCount; ++pass) {
        PaintEffectPass(step.effect, canvas, PaintPassThreshold(pass), random);
    }
    state.photo = std::move(painted);
    return RENDER_OK;
}

RenderError Frame(RenderState& state, const EditStep& step) {
    const std::string& assets = state.options.assetFolder;
    // The mask first: its colour form is the larger passing need.
    DibBlock mask = LoadAssetScaled(assets, step.item, ASSET_FRAME_MASK, state.factor);
    if (!mask) {
        return RENDER_NO_DECORATION;
    }
    DibBlock colour = LoadAssetScaled(assets, step.item, ASSET_FRAME, state.factor);
    if (!colour) {
        return RENDER_NO_DECORATION;
    }
    DibBlock framed = NewCanvas(state);
    if (!framed) {
        return RENDER_OUT_OF_MEMORY;
    }
    FrameComposition composition;
    composition.photo = ReadViewOfPicture(state.photo.get());
    composition.offsetX = state.offsetX * state.factor;
    composition.offsetY = state.offsetY * state.factor;
    composition.frame = ReadViewOfPicture(colour.get());
    composition.mask = ReadViewOfPicture(mask.get());
    ComposeFrameOn(composition, ViewOfPicture(framed.get()));
    state.photo = std::move(framed);
    state.offsetX = 0;
    state.offsetY = 0;
    return RENDER_OK;
}

// The object's pictures at the render's factor: a typed word drawn again
// from its line, as the editor drew it at the screen's size; an asset item
// read from the asset folder (shapes are their own mask, the coloured kinds
// have a mask file). False when they cannot be had.
bool ObjectPictures(const RenderState& state, const EditStep& step, FloatingObject* object) {
    if (!step.text.empty()) {
        LetteringResult lettering = RenderLettering(step.text, step.item.kind, state.factor);
        object->mask = std::move(lettering.mask);
        object->colour = std::move(lettering.colour);
        return lettering.Ok();
    }
    const std::string& assets = state.options.assetFolder;
    const int16_t shapeUse = PlacedAssetUse(step.item.kind, false);
    const int16_t maskUse = PlacedAssetUse(step.item.kind, true);
    if (maskUse < 0) {
        object->mask =
            LoadAssetScaled(assets, step.item, static_cast<AssetUse>(shapeUse), state.factor);
        return static_cast<bool>(object->mask);
    }
    object->mask = LoadAssetScaled(assets, step.item, static_cast<AssetUse>(maskUse), state.factor);
    object->colour =
        LoadAssetScaled(assets, step.item, static_cast<AssetUse>(shapeUse), state.factor);
    return object->mask && object->colour;
}

RenderError Object(RenderState& state, const EditStep& step) {
    FloatingObject object;
    object.type = ObjectTypeOfKind(step.item.kind);
    if (!ObjectPictures(state, step, &object)) {
        return RENDER_NO_DECORATION;
    }
    object.width = static_cast<int16_t>(object.mask->header.biWidth);
    object.height = static_cast<int16_t>(object.mask->header.biHeight);
    ObjectStamp stamp;
    stamp.x = step.x * state.factor;
    stamp.y = step.y * state.factor;
    stamp.color = step.color;
    StampFloatingObject(object, stamp, ViewOfPicture(state.photo.get()));
    return RENDER_OK;
}

RenderError Apply(RenderState& state, const EditStep& step) {
    switch (step.kind) {
        case STEP_LOAD:
            return Load(state, step);
        case STEP_MOVE:
            state.offsetX = step.x;
            state.offsetY = step.y;
            return RENDER_OK;
        case STEP_RESCALE:
            return Rescale(state, step);
        case STEP_ADJUST:
            return Adjust(state, step);
        case STEP_TONES:
            return Tones(state, step);
        case STEP_EFFECT:
            return Paint(state, step);
        case STEP_FRAME:
            return Frame(state, step);
        case STEP_OBJECT:
            return Object(state, step);
        case STEP_DELETE:
            return RENDER_OK;
        case STEP_RECOVER:
            state.offsetX = 0;
            state.offsetY = 0;
            return RENDER_OK;
    }
    return RENDER_BAD_STEPS;
}

}  // namespace

RenderResult RenderHistory(const std::vector<EditStep>& steps, const RenderOptions& options) {
    RenderResult result;
    if (options.factor < 1 || options.factor > MaxRenderFactor()) {
        result.error = RENDER_BAD_FACTOR;
        return result;
    }
    const std::vector<int32_t> order = EffectiveSteps(steps);
    if (order.empty()) {
        result.error = RENDER_BAD_STEPS;
        return result;
    }
    RenderState state{options, options.factor, nullptr};
    for (const int32_t index : order) {
        const RenderError error = Apply(state, steps[static_cast<size_t>(index)]);
        if (error != RENDER_OK) {
            result.error = error;
            result.step = index;
            return result;
        }
    }
    result.picture = std::move(state.photo);
    result.error = RENDER_OK;
    return result;
}

int32_t MaxRenderFactor() {
    int32_t factor = 1;
    while (static_cast<int64_t>(CanvasWidthAt(factor + 1)) * CanvasHeightAt(factor + 1) <=
           kMaxRenderPixels) {
        ++factor;
    }
    return factor;
}

int32_t FullSizeFactor(int32_t width, int32_t height) {
    const int32_t factor = std::min(width / kCanvasWidth, height / kCanvasHeight);
    return std::clamp(factor, 1, MaxRenderFactor());
}
