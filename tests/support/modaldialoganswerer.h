#pragma once

#include "documents/accesslevel.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

// Answers modal dialogs run with exec(): either queued actions, scheduled right before the call
// that opens them, each on the next modal widget shown and active:
void answerModalDialog(std::function<void(QWidget *modal)> action);
int pendingModalAnswers();

// Or, while a ModalDialogAnswerer lives, each as it appears: message boxes with OK, code
// dialogs with `level` and `code` (Cancel while it is null), file dialogs and others with Cancel.
class ModalDialogAnswerer final : public QObject
{
    Q_OBJECT

public:
    ModalDialogAnswerer();

    std::function<void()> whileCodeDialogShows;
    QStringList messages;
    int codeDialogs = 0;
    QStringList fileDialogs; // "<title>, <filter>, <folder>, name \"<name>\""
    AccessLevel level = AccessLevel::Administrator;
    QString code;

private:
    void answer();

    QPointer<QWidget> answered;
};
