#include "custommessagebox.h"

#include "base/appfont.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

CustomMessageBox::CustomMessageBox(QWidget *parent, const QList<int> &buttons, QLayout *extraLayout)
    : CustomDialog(parent, true)
{
    iconWidget = new QSvgWidget;
    iconWidget->setObjectName(QStringLiteral("iconWidget"));
    iconWidget->setFixedSize(iconSizeDefault());
    textLabel = new QLabel;
    textLabel->setObjectName(QStringLiteral("textLabel"));
    // Texts carry file names; one that happens to look like markup must still show as typed.
    textLabel->setTextFormat(Qt::PlainText);

    auto iconRow = new QHBoxLayout;
    iconRow->addWidget(iconWidget);
    iconRow->addWidget(textLabel);

    buttonBox = new QDialogButtonBox;
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    if (buttons.isEmpty()) {
        QPushButton *ok = buttonBox->addButton(QDialogButtonBox::Ok);
        ok->setObjectName(QStringLiteral("okButton"));
        connect(ok, &QPushButton::clicked, this, &CustomMessageBox::close);
    } else {
        for (const int code : buttons) {
            if (code == Yes) {
                QPushButton *yes = buttonBox->addButton(QDialogButtonBox::Yes);
                yes->setObjectName(QStringLiteral("yesButton"));
                yes->setText(QObject::tr("ID_RESSTR_DIALOGMESSAGEBOX_YESBTN"));
                connect(yes, &QPushButton::clicked, this, &CustomMessageBox::clickedYes);
            } else if (code == No) {
                QPushButton *no = buttonBox->addButton(QDialogButtonBox::No);
                no->setObjectName(QStringLiteral("noButton"));
                no->setText(QObject::tr("ID_RESSTR_DIALOGMESSAGEBOX_NOBTN"));
                connect(no, &QPushButton::clicked, this, &CustomMessageBox::clickedNo);
            }
        }
    }

    auto column = new QVBoxLayout;
    const int margin = scaledSize(10);
    column->setContentsMargins(margin, margin, margin, margin);
    column->setSpacing(scaledSize(10));
    column->addLayout(iconRow);
    column->addWidget(buttonBox);
    if (extraLayout)
        column->addLayout(extraLayout);

    setDialogLayout(column);
    answer = Closed;
}

int CustomMessageBox::showConfirmation(QWidget *parent, const QString &text, const QString &title)
{
    CustomMessageBox box(parent, {Yes, No}, nullptr);
    box.present(QStringLiteral(":/images/confirmation_icon/caution.svg"),
                title,
                QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLECONF"),
                text);
    if (QPushButton *no = box.buttonBox->button(QDialogButtonBox::No)) {
        no->setText(QObject::tr("ID_RESSTR_DIALOGMESSAGEBOX_NOBTN"));
        no->setFocus(Qt::OtherFocusReason);
    }
    return box.exec();
}

void CustomMessageBox::showError(QWidget *parent, const QString &text, const QString &title)
{
    showMessage(parent,
                text,
                title,
                QStringLiteral(":/images/confirmation_icon/error.svg"),
                QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
}

void CustomMessageBox::showInformation(QWidget *parent, const QString &text, const QString &title)
{
    showMessage(parent,
                text,
                title,
                QStringLiteral(":/images/confirmation_icon/info.svg"),
                QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEINFO"));
}

void CustomMessageBox::showMessage(QWidget *parent,
                                   const QString &text,
                                   const QString &title,
                                   const QString &iconPath,
                                   const QString &defaultTitle)
{
    CustomMessageBox box(parent, {}, nullptr);
    box.present(iconPath, title, defaultTitle, text);
    box.exec();
}

void CustomMessageBox::present(const QString &iconPath,
                               const QString &title,
                               const QString &defaultTitle,
                               const QString &text)
{
    iconWidget->load(iconPath);
    setTitle(title.isEmpty() ? defaultTitle : title);
    textLabel->setText(text);
}

int CustomMessageBox::exec()
{
    QDialog::exec();
    return answer;
}

double CustomMessageBox::aspectRatio() const
{
    return 0;
}

void CustomMessageBox::clickedYes()
{
    answer = Yes;
    close();
}

void CustomMessageBox::clickedNo()
{
    answer = No;
    close();
}
