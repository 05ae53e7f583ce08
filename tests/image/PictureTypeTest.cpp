#include "image/PictureType.h"

#include <gtest/gtest.h>

#include <string>

TEST(PictureType, EndingsInAnyCaseDecideTheType) {
    EXPECT_EQ(PictureTypeFromName("/photos/IMG_0001.JPG"), PICTURE_JPEG);
    EXPECT_EQ(PictureTypeFromName("holiday.jpeg"), PICTURE_JPEG);
    EXPECT_EQ(PictureTypeFromName("Frame/Gold/frame1.ADM"), PICTURE_JPEG);
    EXPECT_EQ(PictureTypeFromName("a.JpEg"), PICTURE_JPEG);
    EXPECT_EQ(PictureTypeFromName("scan.BMP"), PICTURE_BMP);
    EXPECT_EQ(PictureTypeFromName("anim.Gif"), PICTURE_GIF);
    EXPECT_EQ(PictureTypeFromName("Screenshot 2026-01-02.PNG"), PICTURE_PNG);
    EXPECT_EQ(PictureTypeFromName("sticker.WebP"), PICTURE_WEBP);
    // The ending alone counts: a bare ending with its dot is a name too.
    EXPECT_EQ(PictureTypeFromName(".jpg"), PICTURE_JPEG);
}

TEST(PictureType, OtherNamesAreUnknown) {
    for (const char* name : {"picture.tif", "jpg", "notes.jpg.txt", "", "a.jp", "photo.jpgx", "bmp",
                             "x.gi", "archive.jpeg.gz", "png", "a.pn", "b.web", "c.webp.part"}) {
        EXPECT_EQ(PictureTypeFromName(name), PICTURE_UNKNOWN) << '"' << name << '"';
        EXPECT_FALSE(IsSupportedPicture(name)) << '"' << name << '"';
    }
    for (const char* name : {"a.bmp", "b.JPG", "c.jpeg", "d.adm", "e.GIF", "f.Png", "g.WEBP"}) {
        EXPECT_TRUE(IsSupportedPicture(name)) << name;
    }
}

TEST(PictureType, LongNamesAreJudgedByTheirEnding) {
    const std::string folder(400, 'x');
    EXPECT_EQ(PictureTypeFromName(folder + "/photo.jpg"), PICTURE_JPEG);
    EXPECT_EQ(PictureTypeFromName(folder + ".gif"), PICTURE_GIF);
    EXPECT_EQ(PictureTypeFromName(folder), PICTURE_UNKNOWN);
}
