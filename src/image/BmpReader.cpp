// BmpReader: opens a BMP file and hands out its rows bottom row first.
// A short file: rows or parts of rows past the end of the file come out black
// and ReadRow returns false for them; the rows before them are exact.
#include "image/BmpReader.h"

#include <stdio.h>

#include <cstring>
#include <new>

BmpReader::~BmpReader() {
    Close();
}

bool BmpReader::Open(const std::string& path, int32_t* width, int32_t* height,
                     int32_t* bitsPerPixel) {
    Close();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    return OpenStream(file, width, height, bitsPerPixel);
}

bool BmpReader::OpenMemory(const uint8_t* data, size_t size, int32_t* width, int32_t* height,
                           int32_t* bitsPerPixel) {
    Close();
    // fmemopen refuses an empty buffer on some C libraries; nothing so short
    // is a BMP anyway.
    if (data == nullptr || size == 0) {
        return false;
    }
    // Opened for reading only: the bytes are never written through it.
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file == nullptr) {
        return false;
    }
    return OpenStream(file, width, height, bitsPerPixel);
}

bool BmpReader::OpenStream(std::FILE* file, int32_t* width, int32_t* height,
                           int32_t* bitsPerPixel) {
    file_ = file;
    if (fseeko(file_, 0, SEEK_END) != 0) {
        Close();
        return false;
    }
    fileSize_ = ftello(file_);
    if (fileSize_ < 0 || fseeko(file_, 0, SEEK_SET) != 0 ||
        !ReadBmpHeader(file_, fileSize_, &header_) ||
        !ReadBmpColorTable(file_, header_, &palette_)) {
        Close();
        return false;
    }
    // The header bounds a row to kMaxPictureSide x 32 bits (128 KiB).
    stored_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(header_.rowBytes)]);
    if (!stored_) {
        Close();
        return false;
    }
    position_ = -1;  // unknown: the first row read seeks
    nextRow_ = 0;
    if (width != nullptr) {
        *width = header_.width;
    }
    if (height != nullptr) {
        *height = header_.height;
    }
    if (bitsPerPixel != nullptr) {
        *bitsPerPixel = header_.bitsPerPixel;
    }
    return true;
}

bool BmpReader::ReadRow(uint8_t* row) {
    if (file_ == nullptr) {
        return false;
    }
    const size_t pixelBytes = static_cast<size_t>(header_.width) * 3;
    if (nextRow_ >= header_.height) {
        std::memset(row, 0, pixelBytes);
        return false;
    }
    // Bottom-up files store the bottom row first; top-down ones store it last.
    const int64_t stored = header_.topDown ? header_.height - 1 - nextRow_ : nextRow_;
    ++nextRow_;
    const int64_t offset = header_.rowsOffset + stored * header_.rowBytes;
    const size_t rowBytes = static_cast<size_t>(header_.rowBytes);

    size_t got = 0;
    if (offset < fileSize_) {
        if (offset == position_ || fseeko(file_, offset, SEEK_SET) == 0) {
            got = std::fread(stored_.get(), 1, rowBytes, file_);
            position_ = offset + static_cast<int64_t>(got);
        } else {
            position_ = -1;
        }
    }
    if (got == 0) {
        std::memset(row, 0, pixelBytes);
        return false;
    }
    if (got < rowBytes) {
        std::memset(stored_.get() + got, 0, rowBytes - got);
    }
    ExpandBmpRow(stored_.get(), header_, palette_, row);

    // Pixels whose bits are not all in the file are black: index 0 or a zero
    // bit field need not be black. Missing padding alone loses nothing.
    const int64_t wholePixels = static_cast<int64_t>(got) * 8 / header_.bitsPerPixel;
    if (wholePixels < header_.width) {
        std::memset(row + 3 * wholePixels, 0, pixelBytes - static_cast<size_t>(3 * wholePixels));
        return false;
    }
    return true;
}

void BmpReader::Close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    stored_.reset();
    header_ = BmpHeader{};
    palette_ = BmpPalette{};
    fileSize_ = 0;
    position_ = -1;
    nextRow_ = 0;
}
