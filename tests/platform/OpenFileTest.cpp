// Pictures from outside the window's keys: a file handed from a later start
// to the running window, the FILE of a replay, the first work folder, a
// picture dropped on the window, and a request that waits for a message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <time.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>

#include "app/Editor.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"
#include "platform/ModalHelpers.h"
#include "platform/PhoneMessageDialog.h"
#include "platform/PhoneWindow.h"
#include "platform/PictureRequests.h"
#include "platform/QtShell.h"
#include "platform/RunProgram.h"
#include "platform/TestApplication.h"
#include "platform/WindowCopies.h"
#include "platform/WorkFolderSettings.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// The value of the last "name value" line of a printed state.
std::string Value(const std::string& out, const std::string& name) {
    std::istringstream lines(out);
    std::string line;
    std::string value = "(missing)";
    while (std::getline(lines, line)) {
        if (line == name) {
            value.clear();
        } else if (line.compare(0, name.size() + 1, name + " ") == 0) {
            value = line.substr(name.size() + 1);
        }
    }
    return value;
}

std::string WritePicture(const std::string& path, int32_t width) {
    const DibBlock picture = MakePatternImage(width, 30);
    EXPECT_TRUE(SavePicture(path, *picture).Ok());
    return path;
}

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
        first_ = WritePicture(pictures_ + "/first.bmp", 40);
        second_ = WritePicture(pictures_ + "/second one.bmp", 50);
    }
    // A replay of script with these arguments after it, in the copies'
    // environment.
    ProgramResult Replay(const std::string& script, const std::vector<std::string>& after) {
        const std::string path = dir_.File("script.txt");
        EXPECT_TRUE(WriteWholeFile(path, std::vector<uint8_t>(script.begin(), script.end())));
        std::vector<std::string> args = {FotaklePath(), "--replay", path};
        args.insert(args.end(), after.begin(), after.end());
        const std::string folder = dir_.File("replay");
        fs::create_directories(folder);
        ProgramResult result = RunProgram(args, copies_.Env(), folder);
        EXPECT_TRUE(result.ended);
        return result;
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
        ASSERT_TRUE(copies_.Start("later", {"second one.bmp"}));
        int exitCode = -1;
        ASSERT_TRUE(copies_.WaitForEnd("later", &exitCode));
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(copies_.Err("later"), "");
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
    const timespec pause = {0, 10 * 1000 * 1000};
    const std::string socket = copies_.RuntimeFolder() + "/fotakle.socket";
    for (int i = 0; i < 6000 && !fs::exists(fs::symlink_status(socket)); ++i) {
        nanosleep(&pause, nullptr);
    }
    ASSERT_TRUE(copies_.Start("later", {first_}));
    int exitCode = -1;
    ASSERT_TRUE(copies_.WaitForEnd("later", &exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(copies_.Err("later"), "");
    EXPECT_FALSE(copies_.Ended("running", &exitCode));
    copies_.Stop("running");
    EXPECT_EQ(copies_.Out("running"), "") << "nothing was dealt with while the message was up";
}

TEST_F(OpenFileTest, AReplayOpensItsFileBeforeTheScript) {
    const std::string photo = dir_.File("photo.bmp");
    const ProgramResult opened = Replay("print state\nphoto " + photo + "\n", {second_});
    ASSERT_EQ(opened.exitCode, 0) << opened.err;
    EXPECT_EQ(Value(opened.out, "current_file"), second_);
    EXPECT_EQ(Value(opened.out, "work_folder"), pictures_);
    EXPECT_EQ(Value(opened.out, "photo_changed"), "0");
    const DibBlock saved = LoadBmp(photo);
    ASSERT_TRUE(saved);
    EXPECT_EQ(
        std::vector<uint8_t>(DibPixels(saved.get()), DibPixels(saved.get()) + kCanvasPixelBytes),
        Centred(second_));

    // One that cannot be opened is reported as the window reports it.
    const ProgramResult missing = Replay("print state\n", {pictures_ + "/missing.jpg"});
    ASSERT_EQ(missing.exitCode, 0) << missing.err;
    EXPECT_EQ(missing.out.rfind("message: Fotakle: Cannot open this picture !\n", 0), 0u)
        << missing.out;
    EXPECT_EQ(Value(missing.out, "current_file"), "");
}

TEST_F(OpenFileTest, TheFirstWorkFolderIsThePicturesFolder) {
    const std::string home = copies_.Home();
    const std::string config = dir_.File("config");
    const std::string userDirs = config + "/user-dirs.dirs";
    const std::string settings = config + "/Norvale Systems Inc./fotakle.ini";
    fs::create_directories(config + "/Norvale Systems Inc.");
    struct Case {
        const char* name;
        const char* userDirsLine;  // "": no user-dirs.dirs
        const char* made;          // the folder made in the home folder, "" none
        const char* setting;       // the saved work folder in the home folder, "" none
        std::string expected;
    };
    const Case cases[] = {
        {"the named folder", "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n", "Fotos", "", home + "/Fotos"},
        {"Pictures", "", "Pictures", "", home + "/Pictures"},
        {"no pictures folder", "", "", "", home},
        {"a named folder that is missing", "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n", "", "", home},
        {"a saved folder that is missing", "", "Pictures", "gone", home + "/Pictures"},
        {"a saved folder", "", "Pictures", "kept", home + "/kept"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(home);
        fs::create_directories(home + "/kept");
        fs::remove(userDirs);
        fs::remove(settings);
        if (c.userDirsLine[0] != '\0') {
            ASSERT_TRUE(WriteWholeFile(
                userDirs, std::vector<uint8_t>(c.userDirsLine,
                                               c.userDirsLine + std::strlen(c.userDirsLine))));
        }
        if (c.made[0] != '\0') {
            fs::create_directories(home + "/" + c.made);
        }
        if (c.setting[0] != '\0') {
            const std::string ini = "[MainSection]\nWorkFolder=" + home + "/" + c.setting + "\n";
            ASSERT_TRUE(WriteWholeFile(settings, std::vector<uint8_t>(ini.begin(), ini.end())));
        }
        const ProgramResult run = Replay("print state\n", {});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Value(run.out, "work_folder"), c.expected);
    }
}

// The window with its editor and the requests' wiring, as the program has it.
class WindowFileTest : public ::testing::Test {
  protected:
    WindowFileTest()
        : application_(TestApplication()),
          settings_(dir_.Path()),
          shell_(window_),
          editor_(shell_, &settings_, FOTAKLE_PROGRAM_FOLDER),
          requests_(editor_) {
        window_.AttachEditor(&editor_);
        QObject::connect(&window_, &PhoneWindow::PictureDropped, &requests_,
                         &PictureRequests::Open);
        QObject::connect(&requests_, &PictureRequests::Handled, [this] { ++handled_; });
        editor_.Start();
        window_.show();
        QApplication::processEvents();
        picture_ = WritePicture(dir_.File("picture.bmp"), 40);
        other_ = WritePicture(dir_.File("other.bmp"), 60);
        EXPECT_TRUE(WriteWholeFile(dir_.File("notes.txt"), {'x'}));
        EXPECT_TRUE(WriteWholeFile(dir_.File("broken.jpg"), {0xFF, 0xD8, 0x00}));
    }
    ~WindowFileTest() override { window_.AttachEditor(nullptr); }

    std::vector<uint8_t> Photo() const {
        const uint8_t* pixels = DibPixels(editor_.State().displayPhoto.get());
        return std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes);
    }

    QApplication& application_;
    TempDir dir_;
    WorkFolderSettings settings_;
    PhoneWindow window_;
    QtShell shell_;
    Editor editor_;
    PictureRequests requests_;
    int handled_ = 0;
    std::string picture_;
    std::string other_;
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
        QApplication::sendEvent(&window_, &enter);
        EXPECT_EQ(enter.isAccepted(), c.opens);
        QDropEvent drop(QPointF(30, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window_, &drop);
        QApplication::processEvents();
        EXPECT_EQ(editor_.State().currentFile, c.opens ? picture_ : "");
        EXPECT_EQ(handled_, c.opens ? 1 : 0);
    }
    EXPECT_EQ(Photo(), Centred(picture_));
    EXPECT_EQ(editor_.State().workFolder, dir_.Path());
}

TEST_F(WindowFileTest, ARequestWaitsWhileAMessageIsUp) {
    // The message about a broken picture is up when the next request comes.
    bool waitedWhileUp = false;
    std::string fileWhileUp = "(not reached)";
    WhenModal(
        &window_, [](QWidget* w) { return qobject_cast<PhoneMessageDialog*>(w) != nullptr; },
        [&](QWidget* box) {
            requests_.Open(other_);
            waitedWhileUp = requests_.Waiting();
            fileWhileUp = editor_.State().currentFile;
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
    EXPECT_EQ(editor_.State().currentFile, other_);
    EXPECT_EQ(Photo(), Centred(other_));
}

}  // namespace
