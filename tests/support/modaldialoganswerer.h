#pragma once

#include "documents/accesslevel.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

// Answers the modal dialogs that the code under test runs with exec(). Either a queue of
// actions, scheduled right before the call that opens the dialogs, each on the next modal
// widget shown and active:
void answerModalDialog(std::function<void(QWidget *modal)> action);
int pendingModalAnswers();

// Or, while a ModalDialogAnswerer lives, each as it appears: message boxes with OK, code
// dialogs with the set answer (Cancel until acceptCode), file dialogs and others with Cancel.
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
