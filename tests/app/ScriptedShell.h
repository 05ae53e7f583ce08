// ScriptedShell: a Shell for scenario tests. It records what the editor asks
// of the window and answers questions and the two file dialogs from queues
// filled by the test; a question or dialog without a queued answer fails the
// test. MemorySettings: a settings store in memory.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Settings.h"
#include "app/Shell.h"

class ScriptedShell : public Shell {
  public:
    struct Box {
        std::string caption;
        std::string text;
    };

    bool AskQuestion(const std::string& caption, const std::string& text) override;
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowAbout() override;
    void ShowKeys() override { ++keyPages; }
    void TextFieldChanged() override { ++textFieldChanges; }
    void SetTitle(const std::string& title) override { titles.push_back(title); }
    void ShowBar(BarId bar) override { bars.push_back(bar); }
    void PresentScreen(const DibImage& screen) override;
    void SetWaitCursor(bool on) override { waitCursor.push_back(on); }
    void PauseBetweenPasses() override { screensAtPauses.push_back(screens); }
    void Quit() override { quit = true; }
    void ShowBrowser(const OpenBrowser* browser) override;
    void RepaintBrowser() override { ++browserRepaints; }
    // Makes the thumbnails at once, as the default does, unless
    // deferThumbnails is set: then the jobs wait for FinishThumbnails, as
    // they wait for a worker thread in the window.
    void RequestThumbnails(std::vector<ThumbnailJob> jobs, const ThumbnailSink& done) override;
    // Makes the waiting jobs and hands each to the last sink; how many.
    int FinishThumbnails();
    // Each queued answer is one press of OK (or Cancel); an OK the editor
    // refuses keeps the dialog open for the next answer.
    bool RunSaveAsDialog(SaveAsDialogRequest& request) override;
    bool RunSelectFolderDialog(std::string* folder) override;

    struct SaveAsAnswer {
        bool cancel = false;
        std::string name;
        PictureType format = PICTURE_JPEG;
        int jpegQuality = 0;  // the quality field set to this first; 0 leaves it
        int32_t factor = 1;   // the size chosen: 1 is Screen
        bool keepEdits = false;
    };
    static SaveAsAnswer SaveAs(const std::string& name, PictureType format, int jpegQuality = 0,
                               int32_t factor = 1, bool keepEdits = false) {
        return {false, name, format, jpegQuality, factor, keepEdits};
    }
    static SaveAsAnswer CancelSaveAs() { return {true, {}, PICTURE_JPEG, 0, 1, false}; }

    // Runs inside every modal call, as keys typed while it is up would.
    std::function<void()> whileModal;

    std::deque<bool> answers;  // for the next questions, Yes = true
    std::deque<SaveAsAnswer> saveAsAnswers;
    std::deque<std::optional<std::string>> folderAnswers;  // nullopt: Cancel
    std::vector<SaveAsDialogRequest> saveAsDialogs;        // as each was opened
    std::vector<std::string> folderDialogs;                // the folder each opened on
    const OpenBrowser* browser = nullptr;                  // the one shown
    std::vector<bool> browserShown;                        // every ShowBrowser, shown or not
    int browserRepaints = 0;
    bool deferThumbnails = false;
    std::vector<ThumbnailJob> thumbnailJobs;  // the last request's, while deferred
    ThumbnailSink thumbnailSink;              // the last request's
    std::vector<size_t> thumbnailRequests;    // the number of jobs of every request
    std::vector<std::string> titles;
    std::vector<BarId> bars;
    std::vector<Box> questions;
    std::vector<Box> messages;
    int aboutBoxes = 0;
    int keyPages = 0;
    int textFieldChanges = 0;
    int screens = 0;
    std::vector<uint8_t> lastScreen;   // pixel rows of the last screen presented
    std::vector<int> screensAtPauses;  // screens presented when each pause began
    std::vector<bool> waitCursor;      // every change, in order
    bool quit = false;
};

class MemorySettings : public SettingsStore {
  public:
    bool Read(const std::string& section, const std::string& name, std::string* value) override;
    void Write(const std::string& section, const std::string& name,
               const std::string& value) override {
        values[{section, name}] = value;
    }

    std::map<std::pair<std::string, std::string>, std::string> values;
};
