#pragma once

#include "accesslevel.h"

#include "dialogs/customdialog.h"

#include <QDeadlineTimer>
#include <QSize>
#include <QString>

#include <chrono>
#include <functional>

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
QT_END_NAMESPACE

// Asks with which access level a controller file is to run and for that level's code (at
// most four characters, not shown). The caller reads accessLevel() and code() after an
// accepted exec() and lets the core library decide, either afterwards or through setCheck.
class DialogAuthenticate final : public CustomDialog
{
    Q_OBJECT

public:
    // Without powerUserPermitted only Administrator can be chosen. The title names the file
    // of path when path is not empty.
    DialogAuthenticate(QWidget *parent, const QString &path, bool powerUserPermitted);
    ~DialogAuthenticate() override;

    AccessLevel accessLevel() const;
    QString code() const;

    double aspectRatio() const override;

    // Keeps OK disabled for `wait`, with a countdown of the seconds left.
    void setWaitBeforeCheck(std::chrono::milliseconds wait);

    // Runs `check` with the chosen level and code on a thread of its own when the dialog is
    // accepted, and closes once it returns; the dialog keeps painting meanwhile.
    using Check = std::function<void(AccessLevel level, const QString &code)>;
    void setCheck(Check check);

    void accept() override;
    void done(int result) override;

private:
    void showCountdown();

    QLabel *waitLabel = nullptr;
    QPushButton *okButton = nullptr;
    QTimer *countdown = nullptr;
    QDeadlineTimer waitEnd;
    Check check;
    bool checking = false;
    QSize fixedSize;
    QRadioButton *administratorButton = nullptr;
    QRadioButton *powerUserButton = nullptr;
    QLineEdit *codeEdit = nullptr;
    QString path;
};
