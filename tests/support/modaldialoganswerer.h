#pragma once

#include "documents/accesslevel.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <Qt>

#include <functional>

// Answers the modal dialogs that the code under test runs with exec(), in one of two ways.
//
// A queue of actions: schedule them right before the call that opens the dialogs. From a
// zero-delay timer the first action waits until a modal widget is shown and active, acts on
// it, and hands over to the next, which waits for a different modal widget.
void answerModalDialog(std::function<void(QWidget *modal)> action);
// Presses the key where a user's key press goes: the dialog's focus widget, else the dialog.
void pressKeyInModalDialog(Qt::Key key);
// Clicks the button with this object name inside the modal dialog. Without such a button the
// dialog is rejected (with a warning), so that the test goes on and fails on its checks.
void clickInModalDialog(const QString &objectName);
// How many queued actions have not acted yet.
int pendingModalAnswers();

// Or, while a ModalDialogAnswerer lives, every modal dialog answered by kind as it appears:
// message boxes with OK, their text recorded; code dialogs with the set answer (Cancel until
// acceptCode); file dialogs with Cancel, recorded; any other dialog rejected. Nothing is left
// waiting, so an unexpected dialog shows in the records instead of hanging.
class ModalDialogAnswerer final : public QObject
{
    Q_OBJECT

public:
    ModalDialogAnswerer();

    void acceptCode(AccessLevel level, const QString &code);
    // Runs inside each code dialog before it is answered.
    std::function<void()> whileCodeDialogShows;

    QStringList messages;
    int codeDialogs = 0;
    QStringList fileDialogs; // "<title>, <filter>, <folder>, name \"<name>\""

private:
    void answer();

    QPointer<QWidget> answered;
    bool acceptCodeDialog = false;
    AccessLevel level = AccessLevel::Administrator;
    QString code;
};
