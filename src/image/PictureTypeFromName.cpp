#include "image/PictureType.h"

#include <cstddef>
#include <cstring>

namespace {

// The reversed copy of the name, terminator included, as the original
// platform's path buffer held it. Only the end of a name decides its type, so
// a longer name is tested on its last 259 characters.
constexpr size_t kReversedCapacity = 260;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWith(const char* reversed, const char* ending) {
    return std::strncmp(reversed, ending, std::strlen(ending)) == 0;
}

}  // namespace

PictureType PictureTypeFromName(const std::string& name) {
    char reversed[kReversedCapacity];
    const size_t length = name.size() < kReversedCapacity - 1 ? name.size() : kReversedCapacity - 1;
    for (size_t i = 0; i < length; ++i) {
        reversed[i] = LowerAscii(name[name.size() - 1 - i]);
    }
    reversed[length] = '\0';
    // Compared in this order, first match wins.
    if (StartsWith(reversed, "gpj.") || StartsWith(reversed, "gepj.") ||
        StartsWith(reversed, "mda.")) {
        return PICTURE_JPEG;
    }
    if (StartsWith(reversed, "pmb.")) {
        return PICTURE_BMP;
    }
    if (StartsWith(reversed, "fig.")) {
        return PICTURE_GIF;
    }
    return PICTURE_UNKNOWN;
}

bool IsSupportedPicture(const std::string& name) {
    return PictureTypeFromName(name) >= 0;
}
