#include "customdialog.h"

#include "customdialogtitlebar.h"

#include "base/appfont.h"
#include "base/qvkioskapplication.h"
#include "base/widgethelpers.h"
#include "style/stylesheets.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

// Boxes shown while the program starts up (before the main window appears) belong on the
// primary screen. Runs before the QDialog base is built, so the dialog starts out there.
static QWidget *parentOnStartScreen(QWidget *parent)
{
    const QVKioskApplication *app = QVKioskApplication::instance();
    const bool mainWindowShown = app && app->mainWindowShown;
    if (!mainWindowShown && parent)
        parent->setScreen(QGuiApplication::primaryScreen());
    return parent;
}

CustomDialog::CustomDialog(QWidget *parent, bool movable)
    : QDialog(parentOnStartScreen(parent))
    , movable(movable)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setStyleSheet(styleSheet() + dialogStyleSheet() + scrollBarStyleSheet() + tabBarStyleSheet());
}

CustomDialog::~CustomDialog()
{
    restoreAllOverrideCursors();
}

void CustomDialog::setDialogLayout(QLayout *content)
{
    auto bar = new CustomDialogTitleBar;
    connect(bar, &CustomDialogTitleBar::clickedClose, this, &CustomDialog::clickedClose);
    if (movable) {
        connect(bar,
                &CustomDialogTitleBar::startToMoveDialog,
                this,
                &CustomDialog::startToMoveDialog);
        connect(bar, &CustomDialogTitleBar::moveDialog, this, &CustomDialog::moveDialog);
    }

    auto column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    column->addLayout(content);
    column->addWidget(horizontalLine(2, greyColor(51, 255)));

    titleBar = bar;

    auto row = new QHBoxLayout;
    const int margin = scaledSize(1);
    row->setContentsMargins(margin, margin, margin, margin);
    row->setSpacing(0);
    row->addWidget(verticalLine(2, greyColor(51, 255)));
    row->addLayout(column);
    row->addWidget(verticalLine(2, greyColor(51, 255)));
    setLayout(row);

    applyAppFontTree(this);
}

void CustomDialog::setTitle(const QString &text)
{
    if (!titleBar)
        return;
    titleBar->titleLabel()->setText(text);
    titleBar->titleLabel()->setToolTip(text);
    setWindowTitle(text);
}

bool CustomDialog::handlesTitleBarClose() const
{
    return false;
}

void CustomDialog::adjustToAspectRatio()
{
    const double ratio = aspectRatio();
    if (ratio <= 0)
        return;
    QSize target = size();
    const double heightForWidth = target.width() / ratio;
    if (target.height() > heightForWidth)
        target.setWidth(static_cast<int>(target.height() * ratio));
    else
        target.setHeight(static_cast<int>(heightForWidth));
    resize(target);
}

void CustomDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QWidget *focus = QApplication::focusWidget();
        if (focus && !qobject_cast<QTextEdit *>(focus)
            && !qobject_cast<QDialogButtonBox *>(focus->parentWidget())) {
            if (auto checkBox = qobject_cast<QCheckBox *>(focus))
                checkBox->setChecked(!checkBox->isChecked());
            else
                focusNextChild();
            event->setAccepted(true);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void CustomDialog::showEvent(QShowEvent *event)
{
    adjustToAspectRatio();
    QDialog::showEvent(event);
}

void CustomDialog::clickedClose()
{
    if (handlesTitleBarClose())
        emit clickedTitleBarClose();
    else
        reject();
}

void CustomDialog::startToMoveDialog(int x, int y)
{
    dragOffset = QPoint(x, y) - frameGeometry().topLeft();
}

void CustomDialog::moveDialog(int x, int y)
{
    move(QPoint(x, y) - dragOffset);
}
