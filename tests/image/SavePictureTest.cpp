#include "image/SavePicture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "PictureTestFiles.h"
#include "support/ImageTestSupport.h"
#include "support/TestSupport.h"

namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// The file without its 14-byte header, and the block it should equal.
std::vector<uint8_t> AfterFileHeader(const std::string& path) {
    std::vector<uint8_t> file = ReadWholeFile(path);
    return file.size() < 14 ? file : std::vector<uint8_t>(file.begin() + 14, file.end());
}
std::vector<uint8_t> BlockBytes(const DibImage* image) {
    const uint8_t* start = reinterpret_cast<const uint8_t*>(image);
    return std::vector<uint8_t>(start, start + DibBlockBytes(image->header));
}

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// Channels that change slowly and differently: blue grows and red falls to
// the right, green grows with the row in memory (bottom first). An 8-bit
// image gets the blue ramp plus the rows. Anything flipped, mirrored or
// channel-swapped is off by 30 or more on average.
DibBlock MakeSmoothImage(int32_t width, int32_t height, int32_t bits) {
    DibBlock image = DibCreate(width, height, bits);
    const int32_t stride = DibRowStride(width, bits);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = DibPixels(image.get()) + y * stride + x * bits / 8;
            p[0] = static_cast<uint8_t>(30 + 3 * x + (bits == 8 ? y : 0));
            if (bits == 24) {
                p[1] = static_cast<uint8_t>(20 + 4 * y);
                p[2] = static_cast<uint8_t>(220 - 2 * x);
            }
        }
    }
    return image;
}

// Decodes a JPEG file with libjpeg and returns the mean absolute error of
// each channel (blue, green, red; a mask's one level) against the image, or
// -1 for each when the size, the component count or the 72 dpi is wrong.
std::vector<double> MeanErrorsAfterDecoding(const std::string& path, const DibImage* image) {
    const LibjpegPicture decoded = DecodeWithLibjpeg(ReadWholeFile(path), false);
    const int width = image->header.biWidth, height = image->header.biHeight;
    const int channels = image->header.biBitCount / 8;
    if (!decoded.Whole() || decoded.width != width || decoded.height != height ||
        decoded.components != channels || decoded.densityUnit != 1 || decoded.xDensity != 72) {
        return std::vector<double>(channels, -1.0);
    }
    std::vector<double> sums(channels, 0.0);
    for (int top = 0; top < height; ++top) {
        const uint8_t* row =
            DibPixels(image) + (height - 1 - top) * DibRowStride(width, channels * 8);
        for (int i = 0; i < width * channels; ++i) {
            const int c = i % channels;
            sums[c] += std::abs(decoded.pixels[(top * width + i / channels) * 3 + c] - row[i]) /
                       double(width * height);
        }
    }
    return sums;
}

}  // namespace

TEST(SavePicture, BmpIsTheFileHeaderFollowedByTheBlock) {
    TempDir dir;
    DibBlock canvas = MakePatternImage(kCanvasWidth, kCanvasHeight);
    ASSERT_TRUE(SavePicture(dir.File("canvas.bmp"), *canvas).Ok());
    const std::vector<uint8_t> file = ReadWholeFile(dir.File("canvas.bmp"));
    ASSERT_EQ(file.size(), 95094u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32At(file, 2), 95094u);  // bfSize
    EXPECT_EQ(U32At(file, 6), 0u);      // both reserved fields
    EXPECT_EQ(U32At(file, 10), 54u);    // bfOffBits
    EXPECT_EQ(AfterFileHeader(dir.File("canvas.bmp")), BlockBytes(canvas.get()));

    // The 1024-byte palette of a mask goes with it: pixels at 14 + 40 + 1024.
    DibBlock mask = MakeSmoothImage(13, 7, 8);
    ASSERT_TRUE(SavePicture(dir.File("mask.Bmp"), *mask).Ok());
    EXPECT_EQ(U32At(ReadWholeFile(dir.File("mask.Bmp")), 10), 1078u);
    EXPECT_EQ(AfterFileHeader(dir.File("mask.Bmp")), BlockBytes(mask.get()));

    // 13 pixels pad to 40 bytes, padding written as the block holds it; the
    // JPEG options change nothing in a BMP.
    DibBlock image = MakeSmoothImage(13, 7, 24);
    ASSERT_TRUE(SavePicture(dir.File("odd.bmp"), *image, {40, true}).Ok());
    EXPECT_EQ(AfterFileHeader(dir.File("odd.bmp")), BlockBytes(image.get()));
}

// Measured with libjpeg-turbo 2.1.5: mean absolute errors red 0.87, green
// 0.52, blue 1.05 for the colour picture, 0.16 for the mask. The bound
// leaves room for other library versions and catches a wrong orientation,
// channel order or row stride (the odd width pads every row). Columns
// alternating pure red and pure blue: sampling the colour once per two
// columns turns both into purple, so only full chroma keeps them.
TEST(SavePicture, JpegDecodesCloseToTheOriginalAndKeepsFullChromaWhenAsked) {
    TempDir dir;
    for (int bits : {24, 8}) {
        DibBlock image = MakeSmoothImage(61, 47, bits);
        ASSERT_TRUE(SavePicture(dir.File("smooth.jpg"), *image).Ok());
        for (double error : MeanErrorsAfterDecoding(dir.File("smooth.jpg"), image.get())) {
            EXPECT_TRUE(error >= 0.0 && error < 2.0) << bits << " bits: " << error;
        }
    }
    DibBlock stripes =
        MakePicture(32, 16, [](int32_t x, int32_t) { return x % 2 == 0 ? 0xFF0000u : 0x0000FFu; });
    // Every name but .bmp gives JPEG data.
    const std::string path = dir.File("stripes.adm");
    ASSERT_TRUE(SavePicture(path, *stripes, {98, true}).Ok());
    for (double error : MeanErrorsAfterDecoding(path, stripes.get())) {
        EXPECT_TRUE(error >= 0.0 && error < 4.0) << error;
    }
    ASSERT_TRUE(SavePicture(path, *stripes, {98, false}).Ok());
    const std::vector<double> halved = MeanErrorsAfterDecoding(path, stripes.get());
    EXPECT_GT(halved[0] + halved[2], 100.0);

    DibBlock mask = MakeSmoothImage(20, 10, 8);
    ASSERT_TRUE(SavePicture(dir.File("mask.adm"), *mask, {100, true}).Ok());
    EXPECT_LT(MeanErrorsAfterDecoding(dir.File("mask.adm"), mask.get())[0], 1.0);

    for (const char* name : {"bad.adm", "bad.bmp"}) {
        for (int quality : {0, 101}) {
            const SaveResult refused = SavePicture(dir.File(name), *mask, {quality, false});
            EXPECT_EQ(refused.error, SAVE_BAD_OPTIONS) << name << " " << quality;
            EXPECT_EQ(refused.systemError, 0);
        }
        EXPECT_FALSE(Exists(dir.File(name)));
    }
}

namespace {

std::string FileEntry(const std::vector<uint8_t>& bytes) {
    return "file:" + std::string(bytes.begin(), bytes.end());
}

// What a folder holds: each name with "file:" and the bytes, "link:" and the
// link's target, or "folder".
std::map<std::string, std::string> FolderContents(const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink()) {
            contents[name] = "link:" + std::filesystem::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            contents[name] = "folder";
        } else {
            contents[name] = FileEntry(ReadWholeFile(entry.path().string()));
        }
    }
    return contents;
}

// The first difference between two folder listings, or "".
std::string ListingDifference(const std::map<std::string, std::string>& expected,
                              const std::map<std::string, std::string>& actual) {
    for (const auto& [name, what] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end()) {
            return name + " is gone";
        }
        if (found->second != what) {
            return name + " changed";
        }
    }
    for (const auto& entry : actual) {
        if (expected.count(entry.first) == 0) {
            return entry.first + " appeared";
        }
    }
    return "";
}

// The scenarios below run both where the file system offers unnamed files
// and where it does not, so they report their first failure as text rather
// than through the test framework.
#define CHECK_OR_RETURN(condition, message) \
    if (!(condition)) {                     \
        return std::string(message);        \
    }

bool FailedWith(const SaveResult& result, int systemError) {
    return result.error == SAVE_CANNOT_WRITE && result.systemError == systemError;
}

// A save among files that look like its temporary files, or lie where the
// old temporary file did: only the target changes, except for a leftover of
// a killed save of the same target, which goes.
std::string SaveAmongStrangers(const std::string& folder) {
    DibBlock canvas = MakePatternImage(kCanvasWidth, kCanvasHeight);
    const std::string target = folder + "/photo.bmp";
    const std::string own = folder + "/.photo.bmp.fotakle-";  // this target's pattern
    auto write = [&](const std::string& name, size_t size, uint8_t value) {
        return WriteWholeFile(folder + "/" + name, std::vector<uint8_t>(size, value));
    };
    CHECK_OR_RETURN(write("photo.bmp", 300000, 0xEE) && chmod(target.c_str(), 0640) == 0,
                    "cannot set up the target");
    CHECK_OR_RETURN(write("photo.bmp.xxx", 200000, 0x55) &&
                        write(".photo.bmp.fotakle-abc", 10, 1) &&      // too short
                        write(".photo.bmp.fotakle-abcdefg", 10, 2) &&  // too long
                        write(".photo.bmp.fotakle-ab_def", 10, 3) &&   // not a letter
                        write(".photo.bmp.fotakle-abcde\xC3\xA9", 10, 3) &&
                        write(".other.bmp.fotakle-abcdef", 10, 4) &&   // another target's
                        write(".photo.bmp.fotakle-Killed", 100, 5) &&  // a killed save's
                        write(".photo.bmp.fotakle-WrOnly", 100, 5) &&  // another, not readable
                        write(".photo.bmp.fotakle-Locked", 100, 6) &&  // a running save's
                        write("twin", 10, 7) && write("victim", 10, 8),
                    "cannot set up the strangers");
    CHECK_OR_RETURN(symlink("victim", (own + "Linked").c_str()) == 0 &&
                        mkdir((own + "Folder").c_str(), 0755) == 0 &&
                        link((folder + "/twin").c_str(), (own + "Linked2").c_str()) == 0,
                    "cannot set up links and folders");
    if (geteuid() == 0) {  // only root can make a file of another user
        CHECK_OR_RETURN(write(".photo.bmp.fotakle-Others", 10, 9) &&
                            chown((own + "Others").c_str(), 4242, 4242) == 0,
                        "cannot give a file away");
    }
    CHECK_OR_RETURN(chmod((own + "WrOnly").c_str(), 0200) == 0, "cannot change the mode");
    const int locked = open((own + "Locked").c_str(), O_RDONLY | O_CLOEXEC);
    CHECK_OR_RETURN(locked >= 0 && flock(locked, LOCK_EX) == 0, "cannot lock");
    std::map<std::string, std::string> expected = FolderContents(folder);
    expected.erase(".photo.bmp.fotakle-Killed");
    expected.erase(".photo.bmp.fotakle-WrOnly");

    const SaveResult saved = SavePicture(target, *canvas);
    close(locked);
    CHECK_OR_RETURN(saved.Ok(), "the save failed: " + std::string(strerror(saved.systemError)));
    CHECK_OR_RETURN(AfterFileHeader(target) == BlockBytes(canvas.get()), "wrong bytes saved");
    struct stat info;
    CHECK_OR_RETURN(stat(target.c_str(), &info) == 0 && (info.st_mode & 0777) == 0640,
                    "the permission bits changed");
    expected["photo.bmp"] = FileEntry(ReadWholeFile(target));
    return ListingDifference(expected, FolderContents(folder));
}

// Names of 255 bytes, one of them cut for the temporary name inside a
// two-byte character, save and leave nothing else behind.
std::string SaveUnderTheLongestNames(const std::string& folder) {
    DibBlock picture = MakePatternImage(9, 7);
    std::string accented = "ab";
    for (int i = 0; i < 124; ++i) {
        accented += "\xC3\xA9";
    }
    std::map<std::string, std::string> expected;
    for (const std::string& name : {std::string(251, 'n') + ".bmp", accented + "x.bmp"}) {
        CHECK_OR_RETURN(name.size() == 255, "the test's name is not 255 bytes");
        for (int round = 0; round < 2; ++round) {  // new, then replaced
            const SaveResult saved = SavePicture(folder + "/" + name, *picture);
            CHECK_OR_RETURN(saved.Ok(),
                            "a 255-byte name failed: " + std::string(strerror(saved.systemError)));
        }
        expected[name] = FileEntry(ReadWholeFile(folder + "/" + name));
        CHECK_OR_RETURN(AfterFileHeader(folder + "/" + name) == BlockBytes(picture.get()),
                        "wrong bytes saved");
    }
    return ListingDifference(expected, FolderContents(folder));
}

// A chain of links leads to the file written, in its own folder; a dangling
// link's target is made; a loop is refused.
std::string SaveThroughLinks(const std::string& folder) {
    DibBlock picture = MakePatternImage(9, 7);
    const std::string links = folder + "/links", real = folder + "/real";
    CHECK_OR_RETURN(mkdir(links.c_str(), 0755) == 0 && mkdir(real.c_str(), 0755) == 0 &&
                        WriteWholeFile(real + "/picture.jpg", {'o', 'l', 'd'}) &&
                        chmod((real + "/picture.jpg").c_str(), 0600) == 0 &&
                        symlink("b", (links + "/a").c_str()) == 0 &&
                        symlink((real + "/picture.jpg").c_str(), (links + "/b").c_str()) == 0 &&
                        symlink("../real/new.bmp", (links + "/new.bmp").c_str()) == 0 &&
                        symlink("loop2", (links + "/loop1.bmp").c_str()) == 0 &&
                        symlink("loop1.bmp", (links + "/loop2").c_str()) == 0,
                    "cannot set up the links");
    std::map<std::string, std::string> linksBefore = FolderContents(links);

    SaveResult saved = SavePicture(links + "/a", *picture);
    CHECK_OR_RETURN(saved.Ok(), "the save through two links failed");
    const std::vector<uint8_t> jpeg = ReadWholeFile(real + "/picture.jpg");
    CHECK_OR_RETURN(jpeg.size() > 100 && jpeg[0] == 0xFF && jpeg[1] == 0xD8,
                    "the linked file does not hold the JPEG");
    struct stat info;
    CHECK_OR_RETURN(
        stat((real + "/picture.jpg").c_str(), &info) == 0 && (info.st_mode & 0777) == 0600,
        "the linked file's permission bits changed");
    saved = SavePicture(links + "/new.bmp", *picture);
    CHECK_OR_RETURN(saved.Ok(), "the save through a dangling link failed");
    CHECK_OR_RETURN(AfterFileHeader(real + "/new.bmp") == BlockBytes(picture.get()),
                    "the dangling link's target does not hold the picture");
    saved = SavePicture(links + "/loop1.bmp", *picture);
    CHECK_OR_RETURN(FailedWith(saved, ELOOP), "a loop of links was not refused with ELOOP");

    std::string difference = ListingDifference(linksBefore, FolderContents(links));
    CHECK_OR_RETURN(difference.empty(), "links folder: " + difference);
    const std::map<std::string, std::string> realExpected = {
        {"picture.jpg", FileEntry(jpeg)}, {"new.bmp", FileEntry(ReadWholeFile(real + "/new.bmp"))}};
    difference = ListingDifference(realExpected, FolderContents(real));
    CHECK_OR_RETURN(difference.empty(), "real folder: " + difference);
    return "";
}

// Installs a seccomp filter under which opening with O_TMPFILE fails with
// EOPNOTSUPP, as on a file system without unnamed files. False when the
// filter cannot be had or does not bite.
bool RefuseUnnamedFiles(const std::string& folder) {
    const uint32_t unnamedBit = static_cast<uint32_t>(O_TMPFILE & ~O_DIRECTORY);
    sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, unnamedBit, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog filter{static_cast<unsigned short>(sizeof program / sizeof program[0]), program};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) != 0) {
        return false;
    }
    return open(folder.c_str(), O_TMPFILE | O_WRONLY, 0600) < 0 && errno == EOPNOTSUPP;
}

// Runs a scenario in a fresh folder in this process, and once more in a
// child process whose file system refuses unnamed files; both reports.
std::pair<std::string, std::string> RunBothWays(std::string (*scenario)(const std::string&)) {
    TempDir here;
    const std::string withUnnamed = scenario(here.Path());
    TempDir there;
    int channel[2];
    if (pipe(channel) != 0) {
        return {withUnnamed, "no pipe"};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const std::string report = RefuseUnnamedFiles(there.Path())
                                       ? scenario(there.Path())
                                       : "unnamed files could not be refused";
        const ssize_t written = write(channel[1], report.data(), report.size());
        _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    close(channel[1]);
    std::string withoutUnnamed;
    char buffer[256];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) {
        withoutUnnamed.append(buffer, static_cast<size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        withoutUnnamed += " (the child failed)";
    }
    return {withUnnamed, withoutUnnamed};
}

// Each failure names the system call's reason and leaves the folder as it
// was: the old target, and no temporary file of any kind.
std::string FailuresLeaveTheFolderAsItWas(const std::string& dir) {
    DibBlock canvas = MakePatternImage(kCanvasWidth, kCanvasHeight);
    DibBlock small = MakePatternImage(8, 8);  // fits the stream buffer: fails at the flush
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    for (const std::string name : {"old.bmp", "old.jpg"}) {
        const std::string target = dir + "/" + name;
        const std::string folder = dir + "/folder" + name;
        CHECK_OR_RETURN(WriteWholeFile(target, old) && mkdir(folder.c_str(), 0755) == 0 &&
                            WriteWholeFile(folder + "/inside", old),
                        "cannot set up " + name);
        const std::map<std::string, std::string> before = FolderContents(dir);
        // Writes past a lowered file size limit fail (EFBIG) as on a full disk.
        rlimit saved, lowered;
        getrlimit(RLIMIT_FSIZE, &saved);
        lowered = {100, saved.rlim_max};
        const auto previous = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &lowered);
        const SaveResult big = SavePicture(target, *canvas);
        const SaveResult small8 = SavePicture(target, *small);
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previous);
        CHECK_OR_RETURN(FailedWith(big, EFBIG) && FailedWith(small8, EFBIG),
                        name + ": a write past the size limit did not fail with EFBIG");
        // The rename fails when the target is a folder.
        const SaveResult onFolder = SavePicture(folder, *canvas);
        CHECK_OR_RETURN(FailedWith(onFolder, EISDIR),
                        name + ": a save over a folder did not fail with EISDIR");
        const std::string difference = ListingDifference(before, FolderContents(dir));
        CHECK_OR_RETURN(difference.empty(), name + ": " + difference);
        CHECK_OR_RETURN(FolderContents(folder).size() == 1, name + ": the folder changed");
    }
    // No temporary file can be made: a read-only folder (permissions do not
    // stop root), a place under /proc, a folder that is not there.
    for (const char* place : {"/proc/self/photo.bmp", "/nonexistent/photo.bmp"}) {
        const SaveResult refused = SavePicture(place, *canvas);
        CHECK_OR_RETURN(refused.error == SAVE_CANNOT_WRITE && refused.systemError != 0,
                        std::string(place) + " was not refused with a reason");
    }
    const SaveResult unnamed = SavePicture("", *canvas);
    CHECK_OR_RETURN(FailedWith(unnamed, 0), "an empty name was not refused without a system error");
    if (geteuid() != 0) {
        const std::map<std::string, std::string> before = FolderContents(dir);
        CHECK_OR_RETURN(chmod(dir.c_str(), 0555) == 0, "cannot make the folder read-only");
        const SaveResult readOnly = SavePicture(dir + "/old.bmp", *canvas);
        chmod(dir.c_str(), 0755);
        CHECK_OR_RETURN(FailedWith(readOnly, EACCES),
                        "a read-only folder was not refused with EACCES");
        const std::string difference = ListingDifference(before, FolderContents(dir));
        CHECK_OR_RETURN(difference.empty(), "read-only folder: " + difference);
    }
    return "";
}

}  // namespace

// Each scenario where the file system offers unnamed files and where it
// does not.
TEST(SavePicture, TouchesNothingButTheTargetWhereverItSavesAndWhateverFails) {
    const std::pair<const char*, std::string (*)(const std::string&)> scenarios[] = {
        {"among strangers and a killed save's leftover", SaveAmongStrangers},
        {"names of 255 bytes", SaveUnderTheLongestNames},
        {"through symbolic links", SaveThroughLinks},
        {"failures", FailuresLeaveTheFolderAsItWas}};
    for (const auto& [name, scenario] : scenarios) {
        const auto [withUnnamed, withoutUnnamed] = RunBothWays(scenario);
        EXPECT_EQ(withUnnamed, "") << name;
        EXPECT_EQ(withoutUnnamed, "") << name << ", without unnamed files";
    }
}

TEST(SavePicture, RefusesHeadersItCannotWrite) {
    TempDir dir;
    DibBlock image = MakePatternImage(8, 8);
    const BitmapInfoHeader good = image->header;
    void (*const spoilers[])(BitmapInfoHeader&) = {
        [](BitmapInfoHeader& h) { h.biWidth = 0; },
        [](BitmapInfoHeader& h) { h.biHeight = -8; },  // top-down rows
        [](BitmapInfoHeader& h) { h.biWidth = 32768; },
        [](BitmapInfoHeader& h) { h.biBitCount = 32; },
        [](BitmapInfoHeader& h) { h.biBitCount = 1; },
        [](BitmapInfoHeader& h) { h.biSize = 108; },
        [](BitmapInfoHeader& h) { h.biCompression = 1; },
    };
    for (auto spoil : spoilers) {
        image->header = good;
        spoil(image->header);
        for (const char* name : {"bad.bmp", "bad.jpg"}) {
            const SaveResult refused = SavePicture(dir.File(name), *image);
            EXPECT_EQ(refused.error, SAVE_UNSUPPORTED_PICTURE) << name;
            EXPECT_EQ(refused.systemError, 0) << name;
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}
