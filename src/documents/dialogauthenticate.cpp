#include "dialogauthenticate.h"

#include "accesscodelength.h"
#include "base/appfont.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <thread>

DialogAuthenticate::DialogAuthenticate(QWidget *parent, const QString &path, bool powerUserPermitted)
    : CustomDialog(parent, true)
    , fixedSize(scaledSize(230), scaledSize(200))
    , path(path)
{
    powerUserButton = new QRadioButton(QObject::tr("ID_RESSTR_DIALOGAUTHENTICATE_POWERUSER"));
    powerUserButton->setObjectName(QStringLiteral("powerUserButton"));
    administratorButton = new QRadioButton(QObject::tr("ID_RESSTR_DIALOGAUTHENTICATE_ADMIN"));
    administratorButton->setObjectName(QStringLiteral("administratorButton"));
    if (powerUserPermitted) {
        powerUserButton->setChecked(true);
    } else {
        administratorButton->setChecked(true);
        powerUserButton->setEnabled(false);
    }

    // Auto-exclusive: both end up children of the dialog, so exactly one stays checked.
    auto levelRow = new QHBoxLayout;
    levelRow->setContentsMargins(0, 0, 0, 0);
    levelRow->setAlignment(Qt::AlignCenter);
    levelRow->addWidget(powerUserButton);
    levelRow->addStretch();
    levelRow->addWidget(administratorButton);

    auto hint = new QLabel(QObject::tr("ID_RESSTR_DIALOGAUTHENTICATE_CODE"));
    hint->setObjectName(QStringLiteral("codeHint"));

    codeEdit = new QLineEdit;
    codeEdit->setObjectName(QStringLiteral("codeEdit"));
    codeEdit->setMaxLength(qvcore::accesscode::maxLength);
    codeEdit->setEchoMode(QLineEdit::Password);

    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    okButton = buttons->button(QDialogButtonBox::Ok);
    okButton->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    waitLabel = new QLabel;
    waitLabel->setObjectName(QStringLiteral("waitLabel"));
    waitLabel->setWordWrap(true);
    waitLabel->hide();

    auto column = new QVBoxLayout;
    column->setContentsMargins(scaledSize(10), 0, scaledSize(10), scaledSize(10));
    column->setSpacing(0);
    column->addLayout(levelRow);
    column->addWidget(hint);
    column->addWidget(codeEdit);
    column->addWidget(waitLabel);
    column->addSpacing(scaledSize(20));
    column->addWidget(buttons);
    setDialogLayout(column);

    if (path.isEmpty())
        setTitle(QObject::tr("ID_RESSTR_DIALOGAUTHENTICATE_TITLE1"));
    else
        setTitle(QObject::tr("ID_RESSTR_DIALOGAUTHENTICATE_TITLE2") + QFileInfo(path).fileName());

    setFixedSize(fixedSize);
    codeEdit->setFocus();
}

DialogAuthenticate::~DialogAuthenticate() = default;

AccessLevel DialogAuthenticate::accessLevel() const
{
    if (administratorButton->isChecked())
        return AccessLevel::Administrator;
    if (powerUserButton->isChecked())
        return AccessLevel::PowerUser;
    return AccessLevel::None;
}

QString DialogAuthenticate::code() const
{
    return codeEdit->text();
}

double DialogAuthenticate::aspectRatio() const
{
    return 0;
}

void DialogAuthenticate::setWaitBeforeCheck(std::chrono::milliseconds wait)
{
    if (wait.count() <= 0)
        return;
    waitEnd = QDeadlineTimer(wait);
    if (!countdown) {
        countdown = new QTimer(this);
        connect(countdown, &QTimer::timeout, this, &DialogAuthenticate::showCountdown);
    }
    okButton->setEnabled(false);
    waitLabel->show();
    setFixedSize(fixedSize.width(), fixedSize.height() + scaledSize(30));
    showCountdown();
}

void DialogAuthenticate::showCountdown()
{
    const qint64 left = waitEnd.remainingTime();
    if (left <= 0) {
        countdown->stop();
        waitLabel->hide();
        setFixedSize(fixedSize);
        okButton->setEnabled(true);
        return;
    }
    waitLabel->setText(
        QObject::tr("ID_RESSTR_DIALOGAUTHENTICATE_MESSAGEWAITBEFORECHECK").arg((left + 999) / 1000));
    // Woken at the next whole second left, so the count and the end are on time.
    countdown->start(static_cast<int>((left - 1) % 1000 + 1));
}

void DialogAuthenticate::setCheck(Check newCheck)
{
    check = std::move(newCheck);
}

void DialogAuthenticate::accept()
{
    // OK is the only way to accept; a key press reaches here even while it is disabled.
    if (checking || !okButton->isEnabled())
        return;
    if (check) {
        checking = true;
        okButton->setEnabled(false);
        QEventLoop loop;
        std::thread worker([this, &loop, level = accessLevel(), code = code()] {
            check(level, code);
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        worker.join();
        checking = false;
    }
    CustomDialog::accept();
}

void DialogAuthenticate::done(int result)
{
    // The check's thread uses what this call would destroy.
    if (!checking)
        CustomDialog::done(result);
}
