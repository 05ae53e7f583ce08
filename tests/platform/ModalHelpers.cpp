#include "platform/ModalHelpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

void ClickKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void TypeText(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        const int key = c.isLetter()  ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                        : c.isDigit() ? Qt::Key_0 + (c.unicode() - '0')
                                      : Qt::Key_Space;
        ClickKey(target, key, QString(c));
    }
}

void WhenModal(QObject* owner, std::function<bool(QWidget*)> matches,
               std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, matches, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && (!matches || matches(modal))) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}
