// Driving modal dialogs from the platform tests: key clicks sent straight
// to a widget, and actions run from inside a modal event loop.
#pragma once

#include <QString>

#include <functional>

class QObject;
class QWidget;

// A press and a release of key, with the text it types (if any).
void ClickKey(QWidget* target, int key, const QString& text = QString());
// Types each character of text as a key click.
void TypeText(QWidget* target, const QString& text);

// Runs action on the first active modal widget that matches (any, when
// matches is empty), from inside its event loop. The polling timer belongs
// to owner and goes with it.
void WhenModal(QObject* owner, std::function<bool(QWidget*)> matches,
               std::function<void(QWidget*)> action);
