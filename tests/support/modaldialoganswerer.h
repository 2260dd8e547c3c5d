#pragma once

#include "documents/accesslevel.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

// Answers the modal dialogs that the code under test runs with exec(), in one of two ways.
//
// A queue of actions, scheduled right before the call that opens the dialogs: each waits until
// a modal widget other than the last one answered is shown and active, and acts on it.
void answerModalDialog(std::function<void(QWidget *modal)> action);
// Presses the key where a user's key press goes: the dialog's focus widget, else the dialog.
void pressKeyInModalDialog(Qt::Key key);
// Clicks the named button of the dialog; without one, rejects the dialog with a warning.
void clickInModalDialog(const QString &objectName);
int pendingModalAnswers();

// Or, while a ModalDialogAnswerer lives, every modal dialog answered by kind as it appears:
// message boxes with OK, their text recorded; code dialogs with the set answer (Cancel until
// acceptCode); file dialogs with Cancel, recorded; any other dialog rejected.
class ModalDialogAnswerer final : public QObject
{
    Q_OBJECT

public:
    ModalDialogAnswerer();
    void acceptCode(AccessLevel level, const QString &code);

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
