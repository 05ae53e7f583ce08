// QtShell: the editor's Shell on the desktop. Questions and messages are
// drawn on the phone screen (PhoneMessageDialog), owned by the phone window
// or by the dialog on top of it, so that the replace question stands over
// the Save-as dialog; title, bar, picture, the Open browser and the "Saved"
// title go to the window; the About box, the keys' help page, the Save-as
// and the Select Folder dialogs cover the phone screen;
// the browser's thumbnails are made by a ThumbnailWorker and delivered
// through the window's event loop.
#pragma once

#include <QRect>

#include <memory>

#include "app/Shell.h"
#include "platform/ThumbnailWorker.h"

class QObject;
class QWidget;
class PhoneWindow;

class QtShell : public Shell {
  public:
    // makeThumbnail makes each thumbnail on the worker's threads.
    explicit QtShell(PhoneWindow& window,
                     ThumbnailWorker::MakeFunction makeThumbnail = MakeThumbnail);
    ~QtShell() override;

    bool AskQuestion(const std::string& caption, const std::string& text) override;
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowAbout() override;
    void ShowKeys() override;
    void PictureSaved(const std::string& path) override;
    void TextFieldChanged() override;
    void SetTitle(const std::string& title) override;
    void ShowBar(BarId bar) override;
    void PresentScreen(const DibImage& screen) override;
    // Shown once however often it is asked for; the first "off" restores
    // the cursor.
    void SetWaitCursor(bool on) override;
    void PauseBetweenPasses() override;
    void Quit() override;
    void ShowBrowser(const OpenBrowser* browser) override;
    void RepaintBrowser() override;
    void RequestThumbnails(std::vector<ThumbnailJob> jobs, const ThumbnailSink& done) override;
    bool RunSaveAsDialog(SaveAsDialogRequest& request) override;
    // One Select Folder dialog at a time: a second call while one is open
    // returns false at once.
    bool RunSelectFolderDialog(std::string* folder) override;

    ThumbnailWorker& Thumbnails() { return *thumbnails_; }

  private:
    // The phone screen in global coordinates, for the dialogs covering it.
    QRect PhoneGlobalRect() const;
    // The owner of a message box: the dialog on top, else the window.
    QWidget* MessageOwner() const;

    PhoneWindow& window_;
    bool waitCursor_ = false;
    bool folderDialogOpen_ = false;
    // Takes the worker's wake-ups on the window's thread; it outlives the
    // worker, so no wake-up finds it gone.
    std::unique_ptr<QObject> delivery_;
    std::unique_ptr<ThumbnailWorker> thumbnails_;
};
