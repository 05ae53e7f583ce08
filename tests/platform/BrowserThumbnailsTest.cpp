// The Open browser's thumbnails made away from the window's thread: the
// worker's queue, which each request replaces; the window, which takes a
// key at once while a thumbnail is being made and shows the thumbnail in
// place of its placeholder once it is delivered; and a replay, whose
// screen waits for them.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "image/SavePicture.h"
#include "platform/PlatformTestSupport.h"
#include "platform/ThumbnailWorker.h"

namespace {

constexpr uint16_t kOpenCommand = 40016;

// Holds every thumbnail being made until it is opened, and notes which
// files were begun and whether any was begun on the test's own thread.
class Gate {
  public:
    DibBlock Make(const std::string& path) {
        std::unique_lock<std::mutex> lock(mutex_);
        begun_.push_back(path);
        onTestThread_ = onTestThread_ || std::this_thread::get_id() == testThread_;
        changed_.notify_all();
        // Bounded, so that a window that waits here fails the test rather
        // than hanging it.
        changed_.wait_for(lock, std::chrono::seconds(30), [this] { return open_; });
        lock.unlock();
        return MakeThumbnail(path);
    }
    void Open() {
        const std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    // False when fewer were begun within a bound that only a fault reaches.
    bool WaitForBegun(size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(30),
                                 [&] { return begun_.size() >= count; });
    }
    std::vector<std::string> Begun() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return begun_;
    }
    bool OnTestThread() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return onTestThread_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> begun_;
    bool open_ = false;
    bool onTestThread_ = false;
    const std::thread::id testThread_ = std::this_thread::get_id();
};

ThumbnailJob Job(const TempDir& dir, const std::string& name, int32_t index) {
    return {dir.File(name), 0, 0, index};
}

void WriteFlatPicture(const std::string& path, uint32_t colour) {
    WriteTwoColourPicture(path, colour, colour);
}

}  // namespace

TEST(ThumbnailWorker, ARequestReplacesTheQueueAndNothingIsMadeTwice) {
    TempDir dir;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
        WriteFlatPicture(dir.File(name), 0x336699);
    }
    Gate gate;
    int wakes = 0;  // only ever counted by the one worker thread
    std::vector<std::string> delivered;
    const ThumbnailSink sink = [&](const ThumbnailJob& job, DibBlock thumbnail) {
        EXPECT_TRUE(thumbnail);
        delivered.push_back(job.path);
    };
    {
        ThumbnailWorker worker(
            1, [&](const std::string& path) { return gate.Make(path); }, [&] { ++wakes; });
        worker.Request({Job(dir, "a.bmp", 0), Job(dir, "b.bmp", 1), Job(dir, "c.bmp", 2)}, sink);
        ASSERT_TRUE(gate.WaitForBegun(1));  // a.bmp is being made
        // The rows moved on: b and c are no longer wanted, a still is.
        worker.Request({Job(dir, "d.bmp", 3), Job(dir, "a.bmp", 0)}, sink);
        EXPECT_EQ(worker.Deliver(), 0);
        gate.Open();
        worker.WaitUntilIdle();
        EXPECT_GE(wakes, 1);
        // Made and not yet delivered: asking again begins nothing.
        worker.Request({Job(dir, "a.bmp", 0)}, sink);
        worker.WaitUntilIdle();
        EXPECT_EQ(worker.Deliver(), 2);

        // Without a sink, what is made is dropped.
        worker.Request({Job(dir, "b.bmp", 1)}, nullptr);
        worker.WaitUntilIdle();
        EXPECT_EQ(worker.Deliver(), 1);
    }
    EXPECT_EQ(gate.Begun(),
              (std::vector<std::string>{dir.File("a.bmp"), dir.File("d.bmp"), dir.File("b.bmp")}));
    EXPECT_EQ(delivered, (std::vector<std::string>{dir.File("a.bmp"), dir.File("d.bmp")}));
    EXPECT_FALSE(gate.OnTestThread());
}

// While a thumbnail is being made, a key moves the selection at once and
// the rows show placeholders; once the worker is done the thumbnails are
// delivered through the event loop and painted in their place.
TEST(BrowserThumbnails, AKeyIsTakenAtOnceAndThePlaceholdersGiveWayToTheThumbnails) {
    TempDir dir;
    const uint32_t colours[] = {0xC03020, 0x20C030, 0x3020C0, 0xC0C020, 0x20C0C0};
    for (int i = 0; i < 5; ++i) {
        WriteFlatPicture(dir.File(std::string(1, static_cast<char>('a' + i)) + ".bmp"), colours[i]);
    }
    WorkFolderSettings settings(dir.Path());
    Gate gate;
    EditorWindow w(&settings, 2, [&gate](const std::string& path) { return gate.Make(path); });
    PhoneWindow& window = w.window;
    Editor& editor = w.editor;
    const auto pixel = [&](int x, int y) { return w.Grab().pixel(w.At(x, y)) & 0xffffff; };

    editor.Command(kOpenCommand);
    const OpenBrowser* browser = editor.Browser();
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(gate.WaitForBegun(1));

    ClickKey(&window, Qt::Key_Down);
    EXPECT_EQ(browser->Selection(), 1);
    QApplication::processEvents();
    for (const BrowserRowLayout& row : browser->Layout().rows) {
        SCOPED_TRACE(row.index);
        ASSERT_TRUE(row.thumbnailPending);
        const ThumbnailPlacement& place = row.placement;
        EXPECT_EQ(pixel(place.x + place.width / 2, place.y + place.height / 2), 0xc0c0c0u);
    }

    gate.Open();
    w.shell.Thumbnails().WaitUntilIdle();
    QApplication::processEvents();
    EXPECT_FALSE(browser->ThumbnailsPending());
    const ThumbnailPlacement place = browser->Layout().rows.at(1).placement;
    EXPECT_EQ(pixel(place.x + place.width / 2, place.y + place.height / 2), colours[1]);
    // The three rows on screen and the two below them, each once, none on
    // the window's thread.
    EXPECT_EQ(gate.Begun().size(), 5u);
    EXPECT_FALSE(gate.OnTestThread());
}

// A replay's screen shows every thumbnail of the rows on screen, however
// long they take to be made.
TEST(BrowserThumbnails, AReplayScreenWaitsForTheThumbnails) {
    TempDir dir;
    const std::string pictures = dir.File("Pictures");
    ASSERT_TRUE(std::filesystem::create_directory(pictures));
    ASSERT_TRUE(SavePicture(pictures + "/a.jpg", *MakePatternImage(320, 240)).Ok());
    WriteFlatPicture(pictures + "/b.bmp", 0x20C030);

    const std::string screen = dir.File("browser.bmp");
    const ProgramResult run = Replay(
        dir.Path(), "folder " + pictures + "\ncommand 40016\nkey soft1\nscreen " + screen + "\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    const DibBlock shot = LoadBmp(screen);
    ASSERT_TRUE(shot);

    // The same browser, its thumbnails made here: the screen shows them
    // pixel for pixel.
    OpenBrowser browser(pictures, "");
    for (const ThumbnailJob& job : browser.ThumbnailJobs()) {
        browser.PutThumbnail(job, MakeThumbnail(job.path));
    }
    const BrowserLayout layout = browser.Layout();
    ASSERT_EQ(layout.rows.size(), 2u);
    for (const BrowserRowLayout& row : layout.rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(row.thumbnail, nullptr);
        const ThumbnailPlacement& place = row.placement;
        const int32_t height = row.thumbnail->header.biHeight;
        int wrong = 0;
        for (int32_t j = 0; j < place.height; ++j) {
            for (int32_t i = 0; i < place.width; ++i) {
                const uint32_t expected =
                    PixelAt(row.thumbnail, place.sourceX + i, height - 1 - (place.sourceY + j));
                wrong +=
                    PixelAt(shot.get(), place.x + i, kCanvasHeight - 1 - (place.y + j)) != expected
                        ? 1
                        : 0;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}
