#include "image/PictureType.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

// The ending alone decides, in any case: a bare ending with its dot is a
// name too, and a long name is judged by its ending.
TEST(PictureType, TheEndingInAnyCaseDecidesTheType) {
    const std::string folder(400, 'x');
    const std::pair<std::string, PictureType> cases[] = {
        // clang-format off
        {"/photos/IMG_0001.JPG", PICTURE_JPEG}, {"holiday.jpeg", PICTURE_JPEG},
        {"Frame/Gold/frame1.ADM", PICTURE_JPEG}, {"d.adm", PICTURE_JPEG}, {"a.JpEg", PICTURE_JPEG},
        {"scan.BMP", PICTURE_BMP}, {"anim.Gif", PICTURE_GIF}, {"sticker.WebP", PICTURE_WEBP},
        {"Screenshot 2026-01-02.PNG", PICTURE_PNG}, {".jpg", PICTURE_JPEG},
        {folder + "/photo.jpg", PICTURE_JPEG}, {folder + ".gif", PICTURE_GIF},
        {folder, PICTURE_UNKNOWN}, {"picture.tif", PICTURE_UNKNOWN}, {"jpg", PICTURE_UNKNOWN},
        {"notes.jpg.txt", PICTURE_UNKNOWN}, {"", PICTURE_UNKNOWN}, {"a.jp", PICTURE_UNKNOWN},
        {"photo.jpgx", PICTURE_UNKNOWN}, {"bmp", PICTURE_UNKNOWN}, {"x.gi", PICTURE_UNKNOWN},
        {"archive.jpeg.gz", PICTURE_UNKNOWN}, {"png", PICTURE_UNKNOWN}, {"a.pn", PICTURE_UNKNOWN},
        {"b.web", PICTURE_UNKNOWN}, {"c.webp.part", PICTURE_UNKNOWN},
        // clang-format on
    };
    for (const auto& [name, type] : cases) {
        EXPECT_EQ(PictureTypeFromName(name), type) << '"' << name << '"';
        EXPECT_EQ(IsSupportedPicture(name), type != PICTURE_UNKNOWN) << '"' << name << '"';
    }
}
