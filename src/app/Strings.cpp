#include "app/Strings.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace {

struct StringEntry {
    uint16_t id;
    std::string_view text;
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
    {10049, "Save"},
    {10050, "Save File"},
    {10051, "Border"},
    {10052, "Floating"},
    {10053, "This picture is damaged: only part of it could be shown."},
    {10054, "A file name cannot contain / or control characters."},
    {10055, "Undo"},
    {10056, "Redo"},
    {10057, "Keys"},
    {10058, "Type your own..."},
    {40059, "File"},
    {40060, "Object"},
    {40061, "Continue"},
    {40065, "Done"},
    {40066, "Action"},
};

constexpr bool SortedById() {
    for (size_t i = 1; i < std::size(kStrings); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(SortedById(), "the string table must stay sorted by id, without repeats");

}  // namespace

std::string_view ResString(uint32_t id) {
    const auto key = static_cast<uint16_t>(id & 0xFFFFu);
    const auto* end = std::end(kStrings);
    const auto* found = std::lower_bound(
        std::begin(kStrings), end, key,
        [](const StringEntry& entry, uint16_t wanted) { return entry.id < wanted; });
    if (found == end || found->id != key) {
        return {};
    }
    return found->text;
}
