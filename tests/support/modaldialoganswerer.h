#pragma once

#include <QString>
#include <Qt>

#include <functional>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// Answers the modal dialogs that the code under test runs with exec(). Schedule the answers
// right before the call that opens the dialogs: from a zero-delay timer the first answer
// waits until a modal widget is shown and active, acts on it, and hands over to the next
// answer, which waits for a different modal widget. So a flow that shows two dialogs one
// after the other is answered by two calls in that order.

// Runs action with the modal widget.
void answerModalDialog(std::function<void(QWidget *modal)> action);

// Presses the key where a user's key press goes: the dialog's focus widget, else the dialog.
void pressKeyInModalDialog(Qt::Key key);

// Clicks the button with this object name inside the modal dialog. Without such a button the
// dialog is rejected (with a warning), so that the test goes on and fails on its checks.
void clickInModalDialog(const QString &objectName);

// How many scheduled answers have not acted yet.
int pendingModalAnswers();
