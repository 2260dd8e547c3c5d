#include "modaldialoganswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QQueue>
#include <QTest>
#include <QTimer>

namespace {

QQueue<std::function<void(QWidget *)>> answers;
QPointer<QWidget> lastAnswered;
bool polling = false;

// Key presses must reach the focus widget of the active window, and the window system
// activates a new window a few event-loop turns after it is shown. Wait for that, but act
// anyway after this many turns, so a window that is never activated does not hang the test.
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

void pressKeyInModalDialog(Qt::Key key)
{
    answerModalDialog([key](QWidget *modal) {
        QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, key);
    });
}

void clickInModalDialog(const QString &objectName)
{
    answerModalDialog([objectName](QWidget *modal) {
        if (auto button = modal->findChild<QAbstractButton *>(objectName))
            return QTest::mouseClick(button, Qt::LeftButton);
        qWarning("clickInModalDialog: no button named %s", qPrintable(objectName));
        if (auto dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    });
}

int pendingModalAnswers()
{
    return answers.size();
}
