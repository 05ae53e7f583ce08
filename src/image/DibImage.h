// DibImage: every picture the program holds in memory.
//
// A DibImage is one zero-filled allocation laid out like a Windows
// device-independent bitmap: a 40-byte BITMAPINFOHEADER, then an optional
// 1024-byte palette, then the pixel rows bottom-up (the first row in memory is
// the bottom row of the picture), each padded to a multiple of 4 bytes.
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapinfoheader
//
// Pixel forms:
//  - 24 bits: blue, green, red per pixel, no palette, pixels at block + 40.
//  - 8 bits, mask form: one level per pixel, a 1024-byte palette that stays
//    zero, pixels at block + 1064. Made by the picture loader.
// The header always tells the truth about the block: DibPixels finds the rows
// of every block from its header alone.
//
// Contract: nothing here throws. Every constructor returns null when a size is
// out of range (a side <= 0 or above kMaxPictureSide) or memory runs out; no
// partial block is ever returned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "DibImage keeps the BMP header in memory in file order: a little-endian machine is required"
#endif

// The published 40-byte BITMAPINFOHEADER, little-endian, naturally aligned.
struct BitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "BITMAPINFOHEADER is 40 bytes");

// The block starts with its header; palette and rows follow in the same
// allocation. Always handled through a pointer to the block.
struct DibImage {
    BitmapInfoHeader header;
};

struct DibFree {
    void operator()(DibImage* image) const noexcept;
};
// The owner of a block. Empty means "no picture".
using DibBlock = std::unique_ptr<DibImage, DibFree>;

// The picture area of the phone screen and the canvas the editor works on.
constexpr int32_t kCanvasWidth = 176;
constexpr int32_t kCanvasHeight = 180;
constexpr int32_t kCanvasStride = 528;                                // DibRowStride(176, 24)
constexpr int32_t kCanvasPixelBytes = kCanvasStride * kCanvasHeight;  // 95,040
constexpr int32_t kDibHeaderBytes = 40;
constexpr int32_t kDibMaskPaletteBytes = 1024;
// Sizes travel as signed 16-bit values through the picture code.
constexpr int32_t kMaxPictureSide = 32767;
constexpr int32_t kDefaultDpi = 72;

// Bytes per row: the row's bit length rounded up to whole 32-bit words.
// Returns 0 for a width or depth that is not positive or a width above
// kMaxPictureSide.
int32_t DibRowStride(int32_t width, int32_t bitsPerPixel);

// Fills all eleven header fields; writes nothing else. biSizeImage is
// height x stride, the pels-per-metre fields dpi x 10000 / 254 truncated,
// biClrUsed 0 for 24 and 32 bits, otherwise 2 to the power of the depth.
void DibInitHeader(BitmapInfoHeader* header, int32_t width, int32_t height, int32_t bitsPerPixel,
                   int32_t xDpi, int32_t yDpi);

// True when width and height are each 1 .. kMaxPictureSide.
bool DibSizeValid(int32_t width, int32_t height);

// A new zero-filled (black) image with a 72 dpi header. bitsPerPixel is 24,
// or 8 for the mask form (with its zero palette). Null on a bad size, a
// depth other than 8 or 24, or when memory runs out.
DibBlock DibCreate(int32_t width, int32_t height, int32_t bitsPerPixel);

// The pixels of a 24-bit image or of an 8-bit mask-form image: behind the
// header and, for depths of 8 or fewer, behind the 1024-byte palette.
uint8_t* DibPixels(DibImage* image);
const uint8_t* DibPixels(const DibImage* image);

// Palette bytes a block of this header carries: 0 for 24 and 32 bits,
// otherwise 4 x 2 to the power of the depth.
int32_t DibPaletteBytes(const BitmapInfoHeader& header);

// Bytes of the whole block from the header to the end of the last row, as
// the BMP writer puts them behind the file header. 0 when the header's
// sizes are out of range.
size_t DibBlockBytes(const BitmapInfoHeader& header);

// A new 176 x 180 24-bit image holding a copy of the 95,040 pixel bytes of a
// canvas, or null when memory runs out.
DibBlock CanvasDuplicate(const uint8_t* pixels);

// One row of width pixels made 24-bit blue, green, red: 3 channels are
// copied as they are, 4 (blue, green, red, alpha) are laid over white,
// (c x a + 255 x (255 - a) + 127) / 255. The PNG and WebP readers hand
// out their rows this way.
void RowOverWhite(const uint8_t* source, int32_t channels, uint8_t* row, int32_t width);

// Copies the 95,040 pixel bytes of one canvas over another's; nothing else
// is touched. The two must not overlap.
void CanvasCopy(const uint8_t* from, uint8_t* to);
