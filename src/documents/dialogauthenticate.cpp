#include "dialogauthenticate.h"

#include "accesscodelength.h"
#include "base/appfont.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

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
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto column = new QVBoxLayout;
    column->setContentsMargins(scaledSize(10), 0, scaledSize(10), scaledSize(10));
    column->setSpacing(0);
    column->addLayout(levelRow);
    column->addWidget(hint);
    column->addWidget(codeEdit);
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
