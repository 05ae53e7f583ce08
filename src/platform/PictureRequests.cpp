#include "platform/PictureRequests.h"

#include <utility>

#include "app/Editor.h"

namespace {

constexpr int kRetryMs = 100;

}  // namespace

PictureRequests::PictureRequests(Editor& editor, QObject* parent)
    : QObject(parent), editor_(editor) {
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &PictureRequests::Offer);
}

void PictureRequests::Open(const std::string& path) {
    if (path.empty()) {
        return;
    }
    waiting_ = path;
    Offer();
}

// The request is taken out before the editor sees it: while the editor asks
// its save question, a newer request may arrive and must then wait in turn.
void PictureRequests::Offer() {
    if (waiting_.empty()) {
        retry_.stop();
        return;
    }
    std::string path = std::move(waiting_);
    waiting_.clear();
    if (editor_.OpenRequestedPicture(path) == OPEN_REQUEST_WAIT) {
        waiting_ = std::move(path);
        if (!retry_.isActive()) {
            retry_.start();
        }
        return;
    }
    if (waiting_.empty()) {
        retry_.stop();
    }
    emit Handled();
}
