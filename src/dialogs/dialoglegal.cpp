#include "dialoglegal.h"

#include "base/appfont.h"

#include <QFile>
#include <QTextEdit>
#include <QVBoxLayout>

DialogLegal::DialogLegal(QWidget *parent)
    : CustomDialog(parent, true)
{
    initialSize = QSize(scaledSize(520), scaledSize(500));

    auto textView = new QTextEdit;
    textView->setObjectName(QStringLiteral("legalText"));
    textView->setLineWrapMode(QTextEdit::NoWrap);
    textView->setReadOnly(true);

    QFile legal(QStringLiteral(":/legal.txt"));
    if (legal.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = legal.readAll();
        legal.close();
        // Plain text whatever its first line looks like: licence texts quote "<tags>".
        textView->setPlainText(QString::fromUtf8(bytes));
    }

    auto column = new QVBoxLayout;
    const int margin = scaledSize(10);
    column->setContentsMargins(margin, margin, margin, margin);
    column->addWidget(textView);
    setDialogLayout(column);

    setTitle(QObject::tr("ID_RESSTR_DIALOGLEGAL_TITLE"));
    setMinimumSize(initialSize);
}

double DialogLegal::aspectRatio() const
{
    return static_cast<double>(initialSize.width()) / initialSize.height();
}
