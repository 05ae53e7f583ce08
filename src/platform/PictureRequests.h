// PictureRequests: the pictures handed to the editor from outside its own
// keys (the command line, a later start of the program, a drop on the
// window). The editor takes one at once unless one of its questions,
// messages or dialogs is up; the request then waits and is offered again
// every 100 ms until the editor takes it. A newer request replaces one that
// is waiting: of pictures sent in a row while a question is up, the last
// one opens.
#pragma once

#include <QObject>
#include <QTimer>

#include <string>

class Editor;

class PictureRequests : public QObject {
    Q_OBJECT

  public:
    explicit PictureRequests(Editor& editor, QObject* parent = nullptr);

    // Hands the picture file (an absolute path) to the editor now or, while
    // it is busy, as soon as it can take it.
    void Open(const std::string& path);
    // A request waits for the editor.
    bool Waiting() const { return !waiting_.empty(); }

  signals:
    // The editor dealt with a request: the picture opened, or the user was
    // told why it did not.
    void Handled();

  private:
    void Offer();

    Editor& editor_;
    std::string waiting_;
    QTimer retry_;
};
