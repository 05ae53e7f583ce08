#include "ScriptedShell.h"

#include <gtest/gtest.h>

#include <utility>

bool ScriptedShell::AskQuestion(const std::string& caption, const std::string& text) {
    questions.push_back({caption, text});
    if (whileModal) {
        whileModal();
    }
    if (answers.empty()) {
        ADD_FAILURE() << "unanswered question: " << caption << ": " << text;
        return false;
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void ScriptedShell::ShowMessage(const std::string& caption, const std::string& text) {
    messages.push_back({caption, text});
    if (whileModal) {
        whileModal();
    }
}

void ScriptedShell::ShowAbout() {
    ++aboutBoxes;
    if (whileModal) {
        whileModal();
    }
}

void ScriptedShell::PresentScreen(const DibImage& screen) {
    ++screens;
    const uint8_t* pixels = DibPixels(&screen);
    lastScreen.assign(pixels, pixels + kCanvasPixelBytes);
}

void ScriptedShell::RequestThumbnails(std::vector<ThumbnailJob> jobs, const ThumbnailSink& done) {
    thumbnailRequests.push_back(jobs.size());
    thumbnailSink = done;
    if (!deferThumbnails) {
        Shell::RequestThumbnails(std::move(jobs), done);
        return;
    }
    thumbnailJobs = std::move(jobs);
}

int ScriptedShell::FinishThumbnails() {
    const std::vector<ThumbnailJob> jobs = std::move(thumbnailJobs);
    thumbnailJobs.clear();
    for (const ThumbnailJob& job : jobs) {
        DibBlock thumbnail = MakeThumbnail(job.path);
        if (thumbnailSink) {
            thumbnailSink(job, std::move(thumbnail));
        }
    }
    return static_cast<int>(jobs.size());
}

void ScriptedShell::ShowBrowser(const OpenBrowser* shown) {
    browser = shown;
    browserShown.push_back(shown != nullptr);
}

bool ScriptedShell::RunSaveAsDialog(SaveAsDialogRequest& request) {
    saveAsDialogs.push_back(request);
    saveAsDialogs.back().accept = nullptr;  // its captures end with the call
    if (whileModal) {
        whileModal();
    }
    for (;;) {
        if (saveAsAnswers.empty()) {
            ADD_FAILURE() << "unanswered Save-as dialog on " << request.proposedName;
            return false;
        }
        const SaveAsAnswer answer = saveAsAnswers.front();
        saveAsAnswers.pop_front();
        if (answer.cancel) {
            return false;
        }
        if (answer.jpegQuality != 0) {
            request.jpegQuality = answer.jpegQuality;
        }
        request.factor = answer.factor;
        request.keepEdits = answer.keepEdits;
        if (request.accept(answer.name, answer.format)) {
            return true;
        }
    }
}

bool ScriptedShell::RunSelectFolderDialog(std::string* folder) {
    folderDialogs.push_back(*folder);
    if (whileModal) {
        whileModal();
    }
    if (folderAnswers.empty()) {
        ADD_FAILURE() << "unanswered Select Folder dialog on " << *folder;
        return false;
    }
    const std::optional<std::string> answer = folderAnswers.front();
    folderAnswers.pop_front();
    if (!answer) {
        return false;
    }
    *folder = *answer;
    return true;
}

bool MemorySettings::Read(const std::string& section, const std::string& name, std::string* value) {
    const auto found = values.find({section, name});
    if (found == values.end()) {
        return false;
    }
    *value = found->second;
    return true;
}
