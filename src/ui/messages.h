#pragma once

#include <QString>

class QWidget;

// The one way screens talk to the user: real modal message boxes with the system's own
// titles, texts and icons.
namespace Messages {

void information(QWidget *parent, const QString &title, const QString &text);
void error(QWidget *parent, const QString &title, const QString &text);
// OK and Cancel with a question icon; true for OK.
bool question(QWidget *parent, const QString &title, const QString &text);
// A plain box (no icon) titled with the application's name, as for a failed save's error text.
void plain(QWidget *parent, const QString &text);
// The general error display for a failure a handler does not handle itself.
void generalError(QWidget *parent, const QString &text);

} // namespace Messages
