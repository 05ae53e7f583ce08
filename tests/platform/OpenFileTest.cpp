// Pictures from outside the window's keys: a file handed from a later start
// to the running window, the FILE of a replay, the first work folder, a
// picture dropped on the window, and a request that waits for a message box.
#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <filesystem>

#include "image/LoadPicture.h"
#include "platform/PhoneMessageDialog.h"
#include "platform/PictureRequests.h"
#include "platform/PlatformTestSupport.h"

namespace fs = std::filesystem;

namespace {

// The picture as the editor shows it: centred in 176 x 180.
std::vector<uint8_t> Centred(const std::string& path) {
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    LoadPictureInto(path, *canvas, LoadRequest());
    const uint8_t* pixels = DibPixels(canvas.get());
    return std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes);
}

// Runs the program from folder, so that relative names are taken there.
class InFolder {
  public:
    explicit InFolder(const std::string& folder) : old_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(old_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

  private:
    fs::path old_;
};

class OpenFileTest : public ::testing::Test {
  protected:
    OpenFileTest() : copies_(dir_.Path()), pictures_(dir_.File("pictures")) {
        fs::create_directory(pictures_);
        first_ = WritePatternPicture(pictures_ + "/first.bmp", 40);
        second_ = WritePatternPicture(pictures_ + "/second one.bmp", 50);
    }
    // A replay in the copies' environment.
    ProgramResult Replay(const std::string& script, const std::vector<std::string>& after) {
        fs::create_directories(dir_.File("replay"));
        return ::Replay(dir_.File("replay"), script, copies_.Env(), after);
    }

    TempDir dir_;
    WindowCopies copies_;
    std::string pictures_;
    std::string first_;
    std::string second_;
};

TEST_F(OpenFileTest, ALaterStartHandsItsFileToTheRunningWindow) {
    ASSERT_TRUE(copies_.Start("running", {first_}));
    ASSERT_TRUE(copies_.WaitForOutput("running", "current_file " + first_ + "\n"))
        << copies_.Err("running");
    {
        // A name relative to the later start's folder arrives whole.
        const InFolder there(pictures_);
        ASSERT_TRUE(copies_.HandsOver("later", {"second one.bmp"}));
        EXPECT_EQ(copies_.Out("later"), "");
    }
    ASSERT_TRUE(copies_.WaitForOutput("running", "current_file " + second_ + "\n"));
    const std::string out = copies_.Out("running");
    EXPECT_EQ(Value(out, "work_folder"), pictures_);
    EXPECT_EQ(Value(out, "mode"), "normal");
    copies_.Stop("running");
}

TEST_F(OpenFileTest, TheRunningWindowAnswersWhileItsMessageIsUp) {
    // The running copy tells that its picture cannot be opened, and the
    // message stays up: a later start is still answered at once.
    ASSERT_TRUE(WriteWholeFile(dir_.File("broken.jpg"), {0xFF, 0xD8, 0x00}));
    ASSERT_TRUE(copies_.Start("running", {dir_.File("broken.jpg")}));
    // It listens before it starts its window, so it is the first copy.
    const std::string socket = copies_.RuntimeFolder() + "/fotakle.socket";
    WaitFor([&] { return fs::exists(fs::symlink_status(socket)); });
    ASSERT_TRUE(copies_.HandsOver("later", {first_}));
    int exitCode = -1;
    EXPECT_FALSE(copies_.Ended("running", &exitCode));
    copies_.Stop("running");
    EXPECT_EQ(copies_.Out("running"), "") << "nothing was dealt with while the message was up";
}

TEST_F(OpenFileTest, AReplayOpensItsFileBeforeTheScript) {
    const ProgramResult opened = Replay("print state\n", {second_});
    ASSERT_EQ(opened.exitCode, 0) << opened.err;
    EXPECT_EQ(Value(opened.out, "current_file"), second_);
    EXPECT_EQ(Value(opened.out, "work_folder"), pictures_);
    EXPECT_EQ(Value(opened.out, "photo_changed"), "0");

    // One that cannot be opened is reported as the window reports it.
    const ProgramResult missing = Replay("print state\n", {pictures_ + "/missing.jpg"});
    ASSERT_EQ(missing.exitCode, 0) << missing.err;
    EXPECT_EQ(missing.out.rfind("message: Fotakle: Cannot open this picture !\n", 0), 0u)
        << missing.out;
    EXPECT_EQ(Value(missing.out, "current_file"), "");
}

// Without a saved work folder the first one is the user's pictures folder
// where it exists, else the home folder.
TEST_F(OpenFileTest, TheFirstWorkFolderIsThePicturesFolder) {
    const std::string home = copies_.Home();
    const std::string userDirs = dir_.File("config/user-dirs.dirs");
    const std::string line = "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n";
    ASSERT_TRUE(WriteWholeFile(userDirs, std::vector<uint8_t>(line.begin(), line.end())));
    for (const bool made : {true, false}) {
        SCOPED_TRACE(made ? "the named folder" : "a named folder that is missing");
        fs::remove_all(home + "/Fotos");
        fs::remove(SettingsFile(dir_.Path()));
        if (made) {
            fs::create_directories(home + "/Fotos");
        }
        const ProgramResult run = Replay("print state\n", {});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Value(run.out, "work_folder"), made ? home + "/Fotos" : home);
    }
}

// The window with its editor and the requests' wiring, as the program has it.
class WindowFileTest : public ::testing::Test {
  protected:
    WindowFileTest() : requests_(w_.editor) {
        QObject::connect(&w_.window, &PhoneWindow::PictureDropped, &requests_,
                         &PictureRequests::Open);
        QObject::connect(&requests_, &PictureRequests::Handled, [this] { ++handled_; });
        EXPECT_TRUE(WriteWholeFile(dir_.File("notes.txt"), {'x'}));
        EXPECT_TRUE(WriteWholeFile(dir_.File("broken.jpg"), {0xFF, 0xD8, 0x00}));
    }

    std::vector<uint8_t> Photo() const {
        const uint8_t* pixels = DibPixels(w_.State().displayPhoto.get());
        return std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes);
    }

    TempDir dir_;
    WorkFolderSettings settings_{dir_.Path()};
    EditorWindow w_{&settings_};
    PictureRequests requests_;
    int handled_ = 0;
    std::string picture_ = WritePatternPicture(dir_.File("picture.bmp"), 40);
    std::string other_ = WritePatternPicture(dir_.File("other.bmp"), 60);
};

TEST_F(WindowFileTest, ADroppedPictureOpensAndAnythingElseIsRefused) {
    const auto url = [this](const char* name) {
        return QUrl::fromLocalFile(QString::fromStdString(dir_.File(name)));
    };
    struct Case {
        const char* name;
        QList<QUrl> urls;
        bool opens;
    };
    // The refused drops come first: nothing has opened before the last.
    const Case cases[] = {
        {"not a picture first", {url("notes.txt"), url("picture.bmp")}, false},
        {"a remote picture", {QUrl("https://example.org/picture.bmp")}, false},
        {"no files", {}, false},
        {"a picture, then another", {url("picture.bmp"), url("other.bmp")}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QMimeData data;
        data.setUrls(c.urls);
        data.setText(QStringLiteral("picture.bmp"));
        QDragEnterEvent enter(QPoint(30, 30), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&w_.window, &enter);
        EXPECT_EQ(enter.isAccepted(), c.opens);
        QDropEvent drop(QPointF(30, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w_.window, &drop);
        QApplication::processEvents();
        EXPECT_EQ(w_.State().currentFile, c.opens ? picture_ : "");
        EXPECT_EQ(handled_, c.opens ? 1 : 0);
    }
    EXPECT_EQ(Photo(), Centred(picture_));
    EXPECT_EQ(w_.State().workFolder, dir_.Path());
}

TEST_F(WindowFileTest, ARequestWaitsWhileAMessageIsUp) {
    // The message about a broken picture is up when the next request comes.
    bool waitedWhileUp = false;
    std::string fileWhileUp = "(not reached)";
    WhenModal(
        &w_.window, [](QWidget* w) { return qobject_cast<PhoneMessageDialog*>(w) != nullptr; },
        [&](QWidget* box) {
            requests_.Open(other_);
            waitedWhileUp = requests_.Waiting();
            fileWhileUp = w_.State().currentFile;
            static_cast<PhoneMessageDialog*>(box)->accept();
        });
    requests_.Open(dir_.File("broken.jpg"));
    EXPECT_TRUE(waitedWhileUp);
    EXPECT_EQ(fileWhileUp, "");
    EXPECT_EQ(handled_, 1);
    for (int i = 0; i < 6000 && requests_.Waiting(); ++i) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EXPECT_FALSE(requests_.Waiting());
    EXPECT_EQ(handled_, 2);
    EXPECT_EQ(w_.State().currentFile, other_);
    EXPECT_EQ(Photo(), Centred(other_));
}

}  // namespace
