#include "platform/QtShell.h"

#include <QApplication>
#include <QThread>

#include "files/FilePaths.h"
#include "platform/AboutDialog.h"
#include "platform/PhoneMessageDialog.h"
#include "platform/PhoneWindow.h"
#include "platform/SaveAsDialog.h"
#include "platform/SelectFolderDialog.h"

namespace {

constexpr unsigned long kPassPauseMs = 100;

}  // namespace

QtShell::QtShell(PhoneWindow& window, ThumbnailWorker::MakeFunction makeThumbnail)
    : window_(window), delivery_(std::make_unique<QObject>()) {
    QObject* delivery = delivery_.get();
    thumbnails_ = std::make_unique<ThumbnailWorker>(
        ThumbnailWorker::DefaultThreads(), std::move(makeThumbnail), [this, delivery] {
            QMetaObject::invokeMethod(
                delivery, [this] { thumbnails_->Deliver(); }, Qt::QueuedConnection);
        });
}

QtShell::~QtShell() {
    SetWaitCursor(false);
    thumbnails_.reset();
}

bool QtShell::AskQuestion(const std::string& caption, const std::string& text) {
    PhoneMessageDialog box(MessageOwner(), PhoneGlobalRect(), window_.ScaleFactor(), true, caption,
                           text);
    return box.Run();
}

void QtShell::ShowMessage(const std::string& caption, const std::string& text) {
    PhoneMessageDialog box(MessageOwner(), PhoneGlobalRect(), window_.ScaleFactor(), false, caption,
                           text);
    box.Run();
}

void QtShell::ShowAbout() {
    AboutDialog dialog(&window_, PhoneGlobalRect(), window_.ScaleFactor());
    dialog.exec();
}

void QtShell::ShowKeys() {
    KeysPage page(&window_, PhoneGlobalRect(), window_.ScaleFactor());
    page.exec();
}

void QtShell::PictureSaved(const std::string& path) {
    std::string name;
    if (!FileTitleFromPath(path, &name, true)) {
        name = path;
    }
    window_.ShowSaved(name);
}

void QtShell::TextFieldChanged() {
    window_.TextFieldChanged();
}

void QtShell::SetTitle(const std::string& title) {
    window_.SetTitleText(title);
}

void QtShell::ShowBar(BarId bar) {
    window_.SetBar(bar);
}

void QtShell::PresentScreen(const DibImage& screen) {
    window_.SetScreen(screen);
}

void QtShell::SetWaitCursor(bool on) {
    if (on && !waitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    } else if (!on && waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

void QtShell::PauseBetweenPasses() {
    window_.PaintNow();
    QThread::msleep(kPassPauseMs);
}

void QtShell::Quit() {
    window_.Quit();
}

void QtShell::ShowBrowser(const OpenBrowser* browser) {
    window_.SetBrowser(browser);
}

void QtShell::RepaintBrowser() {
    window_.RepaintPictureArea();
}

void QtShell::RequestThumbnails(std::vector<ThumbnailJob> jobs, const ThumbnailSink& done) {
    thumbnails_->Request(std::move(jobs), done);
}

bool QtShell::RunSaveAsDialog(SaveAsDialogRequest& request) {
    SaveAsDialog dialog(&window_, PhoneGlobalRect(), window_.ScaleFactor(), request);
    return dialog.Run();
}

bool QtShell::RunSelectFolderDialog(std::string* folder) {
    if (folderDialogOpen_) {
        return false;
    }
    folderDialogOpen_ = true;
    SelectFolderDialog dialog(&window_, PhoneGlobalRect(), window_.ScaleFactor(), *folder);
    const bool chosen = dialog.Run(folder);
    folderDialogOpen_ = false;
    return chosen;
}

QRect QtShell::PhoneGlobalRect() const {
    const QRect phone = window_.PhoneRect();
    return QRect(window_.mapToGlobal(phone.topLeft()), phone.size());
}

QWidget* QtShell::MessageOwner() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : &window_;
}
