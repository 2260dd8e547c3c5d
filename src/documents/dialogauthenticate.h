#pragma once

#include "accesslevel.h"

#include "dialogs/customdialog.h"

#include <QSize>
#include <QString>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QRadioButton;
QT_END_NAMESPACE

// Asks with which access level a controller file is to run and for that level's code (at
// most four characters, not shown). It checks nothing: the caller reads accessLevel() and
// code() after an accepted exec() and lets the core library decide.
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

private:
    QSize fixedSize;
    QRadioButton *administratorButton = nullptr;
    QRadioButton *powerUserButton = nullptr;
    QLineEdit *codeEdit = nullptr;
    QString path;
};
