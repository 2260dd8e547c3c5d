#include "modaldialoganswerer.h"

#include "dialogs/custommessagebox.h"
#include "documents/dialogauthenticate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QQueue>
#include <QRadioButton>
#include <QTimer>

namespace {

QQueue<std::function<void(QWidget *)>> answers;
QPointer<QWidget> lastAnswered;
bool polling = false;

// Key presses go to the active window; one never activated is acted on after this many turns.
constexpr int turnsToWaitForActivation = 2000;

void poll(int turns)
{
    // A dialog that was answered and closed may be run again later.
    if (lastAnswered && !lastAnswered->isVisible())
        lastAnswered = nullptr;
    QWidget *modal = QApplication::activeModalWidget();
    const bool shown = modal && modal->isVisible() && modal != lastAnswered;
    if (!shown || (QApplication::activeWindow() != modal && turns < turnsToWaitForActivation)) {
        if (shown)
            modal->activateWindow();
        QTimer::singleShot(0, [=] { poll(shown ? turns + 1 : turns); });
        return;
    }
    const auto action = answers.dequeue();
    lastAnswered = modal;
    // Hand over before acting: the action may open the next dialog and block in it.
    polling = !answers.isEmpty();
    if (polling)
        QTimer::singleShot(0, [] { poll(0); });
    action(modal);
}

} // namespace

void answerModalDialog(std::function<void(QWidget *modal)> action)
{
    answers.enqueue(std::move(action));
    if (!polling)
        QTimer::singleShot(0, [] { poll(0); });
    polling = true;
}

int pendingModalAnswers()
{
    return answers.size();
}

ModalDialogAnswerer::ModalDialogAnswerer()
{
    QTimer::singleShot(10, this, &ModalDialogAnswerer::answer);
}

void ModalDialogAnswerer::answer()
{
    // A fresh timer each time: an answer may open the next dialog and wait in it.
    QTimer::singleShot(10, this, &ModalDialogAnswerer::answer);
    QWidget *modal = QApplication::activeModalWidget();
    // Still the active modal widget for a moment after it was answered.
    if (modal == nullptr || !modal->isVisible() || modal == answered)
        return;
    answered = modal;
    if (auto box = qobject_cast<CustomMessageBox *>(modal)) {
        messages << box->findChild<QLabel *>(QStringLiteral("textLabel"))->text();
        box->findChild<QAbstractButton *>(QStringLiteral("okButton"))->click();
    } else if (auto dialog = qobject_cast<DialogAuthenticate *>(modal)) {
        ++codeDialogs;
        if (whileCodeDialogShows)
            whileCodeDialogShows();
        if (code.isNull())
            return dialog->reject();
        const char *button = level == AccessLevel::PowerUser ? "powerUserButton"
                                                             : "administratorButton";
        dialog->findChild<QRadioButton *>(QLatin1String(button))->setChecked(true);
        dialog->findChild<QLineEdit *>(QStringLiteral("codeEdit"))->setText(code);
        dialog->findChild<QAbstractButton *>(QStringLiteral("okButton"))->click();
    } else if (auto other = qobject_cast<QDialog *>(modal)) {
        if (auto files = qobject_cast<QFileDialog *>(modal)) {
            const auto name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            fileDialogs << QStringLiteral("%1, %2, %3, name \"%4\"")
                               .arg(files->windowTitle(),
                                    files->nameFilters().join(QLatin1Char(';')),
                                    files->directory().absolutePath(),
                                    name ? name->text() : QStringLiteral("?"));
        }
        other->reject();
    }
}
