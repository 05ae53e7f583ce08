#include "ScriptedShell.h"

#include <gtest/gtest.h>

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

bool MemorySettings::Read(const std::string& section, const std::string& name, std::string* value) {
    const auto found = values.find({section, name});
    if (found == values.end()) {
        return false;
    }
    *value = found->second;
    return true;
}
