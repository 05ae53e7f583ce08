// Helpers shared by the test programs: temporary folders, whole-file reads
// and writes, and small picture builders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/DibImage.h"

// The checked-in test pictures (tests/data).
std::string TestDataPath(const std::string& relative);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    // Path of a file inside the folder.
    std::string File(const std::string& name) const;

  private:
    std::string path_;
};

std::vector<uint8_t> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A 24-bit image whose pixel (x, y) (y counted from the first row in memory)
// is blue = (x * 7 + y * 3) & 255, green = (x * 5 + y * 11) & 255,
// red = (x * 13 + y) & 255: every pixel distinct enough to catch shifted or
// swapped rows and channels.
DibBlock MakePatternImage(int32_t width, int32_t height);

// A picture file loaded at its own size (no box), or null.
DibBlock LoadBmp(const std::string& path);

// The first pixel where two 24-bit pictures of the same size differ, as
// "pixel (x, y) is RRGGBB, expected RRGGBB"; "" when they are equal.
std::string FirstDifference(const DibImage* expected, const DibImage* actual);

// The pixel at column x, row y (first row in memory is 0) of a 24-bit image,
// packed as 0xRRGGBB.
uint32_t PixelAt(const DibImage* image, int32_t x, int32_t y);
