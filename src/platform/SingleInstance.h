// SingleInstance: one running copy per user. The first copy listens on a
// local socket named after the user; a later start connects to it, asks it
// to raise its window, and ends.
//
// The socket lives in the temporary folder ($TMPDIR or /tmp), reachable by
// its owner only.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// "fotakle-" followed by the user id.
QString SingleInstanceName();

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // True when a running copy took the request to raise its window.
    bool AskRunningCopyToRaise();
    // Starts listening for later starts, taking over a socket that a copy
    // which ended without cleaning up left behind. False when it cannot.
    bool Listen();

  signals:
    // A later start asked for the window.
    void RaiseRequested();

  private:
    void OnNewConnection();

    QString name_;
    QLocalServer server_;
};
