#include "app/Strings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

namespace {

struct StringEntry {
    uint16_t id;
    const char* text;
};

// Sorted by id, so that a lookup can halve its way to the entry.
constexpr StringEntry kStrings[] = {
    {10003, "About Fotakle"},
    {10008, "Smartphone"},
    {10009, "File already exist !\nDo you want to replace it ?"},
    {10010, "OK"},
    {10011, "Cancel"},
    {10012, "MainSection"},
    {10013, "WorkFolder"},
    {10014, "No Files !"},
    {10015, "Failed to save file !"},
    {10016, "Fotakle"},
    {10017, "FotakleFolder"},
    {10020, "Do you want to merge the frame object ?"},
    {10021, "Do you want to merge the moveable object ?"},
    {10026, ".adm"},
    {10027, "Do you want to save this image ?"},
    {10028, "Frame"},
    {10029, "Pattern12"},
    {10030, "Pattern24"},
    {10031, "Picture"},
    {10032, "Word"},
    {10033, "Colorful Word"},
    {10034, "Change Folder"},
    {10035, "Rescale Image"},
    {10036, "Adjust Brightness"},
    {10037, "Adjust Contrast"},
    {10038, "Adjust Hue"},
    {10039, "Adjust Vividness"},
    {10047, "Add"},
    {10048, "Cannot open this picture !"},
    {40059, "File"},
    {40060, "Object"},
    {40061, "Continue"},
    {40065, "Done"},
    {40066, "Action"},
};

constexpr size_t kRotatingBuffers = 4;

}  // namespace

bool LoadResString(uint32_t id, std::string* text) {
    const auto key = static_cast<uint16_t>(id & 0xFFFFu);
    const auto* end = std::end(kStrings);
    const auto* found = std::lower_bound(
        std::begin(kStrings), end, key,
        [](const StringEntry& entry, uint16_t wanted) { return entry.id < wanted; });
    const bool exists = found != end && found->id == key;
    if (text != nullptr) {
        if (exists) {
            *text = found->text;
        } else {
            text->clear();
        }
    }
    return exists;
}

const std::string& ResString(uint32_t id) {
    // The four results are the lookup's own: a caller may hold one while
    // making up to three more lookups. Each thread has its own set.
    thread_local std::array<std::string, kRotatingBuffers> buffers;
    thread_local size_t next = 0;
    next = (next + 1) % kRotatingBuffers;
    LoadResString(id, &buffers[next]);
    return buffers[next];
}
