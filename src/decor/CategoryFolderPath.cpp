#include "decor/DecorAssets.h"

namespace {

// Numbered as DecorationKind; the folder names and the menu texts alike.
constexpr const char* kKindNames[kDecorationKinds] = {
    "Frame", "Pattern12", "Pattern24", "Picture", "Word", "Colorful Word",
};

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
    std::string path = assetFolder;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += name;
    path += '/';
    return path;
}
