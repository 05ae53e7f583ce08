#include "support/TestSupport.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "image/LoadPicture.h"
#include "support/ImageTestSupport.h"

std::string TestDataPath(const std::string& relative) {
    return std::string(FOTAKLE_TEST_DATA) + "/" + relative;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fotakle-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempDir::~TempDir() {
    if (!path_.empty()) {
        std::error_code ignored;
        // Tests may leave read-only folders behind; make them writable first.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
}

std::string TempDir::File(const std::string& name) const {
    return path_ + "/" + name;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

DibBlock MakePatternImage(int32_t width, int32_t height) {
    return MakePicture(width, height, [](int32_t x, int32_t y) {
        return static_cast<uint32_t>(((x * 13 + y) & 255) << 16 | ((x * 5 + y * 11) & 255) << 8 |
                                     ((x * 7 + y * 3) & 255));
    });
}

uint32_t PixelAt(const DibImage* image, int32_t x, int32_t y) {
    const int32_t stride = DibRowStride(image->header.biWidth, 24);
    const uint8_t* p = DibPixels(image) + y * stride + x * 3;
    return (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

DibBlock LoadBmp(const std::string& path) {
    return LoadPicture(path, LoadRequest()).picture;
}

std::string FirstDifference(const DibImage* expected, const DibImage* actual) {
    if (expected == nullptr || actual == nullptr) {
        return "a picture is missing";
    }
    if (actual->header.biWidth != expected->header.biWidth ||
        actual->header.biHeight != expected->header.biHeight) {
        return "the pictures differ in size";
    }
    for (int32_t y = 0; y < expected->header.biHeight; ++y) {
        for (int32_t x = 0; x < expected->header.biWidth; ++x) {
            if (PixelAt(expected, x, y) != PixelAt(actual, x, y)) {
                std::ostringstream text;
                text << "pixel (" << x << ", " << y << ") is " << std::hex << PixelAt(actual, x, y)
                     << ", expected " << PixelAt(expected, x, y);
                return text.str();
            }
        }
    }
    return "";
}
