#include "image/PictureType.h"

#include <cstddef>
#include <cstring>

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when name ends in ending (given in lower case), in any letter case.
// Only the ending is looked at, so a name of any length is judged alike.
bool EndsWith(const std::string& name, const char* ending) {
    const size_t length = std::strlen(ending);
    if (name.size() < length) {
        return false;
    }
    const size_t start = name.size() - length;
    for (size_t i = 0; i < length; ++i) {
        if (LowerAscii(name[start + i]) != ending[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

PictureType PictureTypeFromName(const std::string& name) {
    if (EndsWith(name, ".jpg") || EndsWith(name, ".jpeg") || EndsWith(name, ".adm")) {
        return PICTURE_JPEG;
    }
    if (EndsWith(name, ".bmp")) {
        return PICTURE_BMP;
    }
    if (EndsWith(name, ".gif")) {
        return PICTURE_GIF;
    }
    if (EndsWith(name, ".png")) {
        return PICTURE_PNG;
    }
    if (EndsWith(name, ".webp")) {
        return PICTURE_WEBP;
    }
    return PICTURE_UNKNOWN;
}

bool IsSupportedPicture(const std::string& name) {
    return PictureTypeFromName(name) >= 0;
}
