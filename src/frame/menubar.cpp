#include "menubar.h"

#include "actions.h"
#include "base/appfont.h"
#include "base/widgethelpers.h"
#include "style/stylesheets.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

MenuBar::MenuBar(Actions *actions)
    : QWidget(nullptr)
{
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    QPalette grey = palette();
    grey.setBrush(QPalette::All, QPalette::Window, QBrush(greyColor(153, 255)));
    setAutoFillBackground(true);
    setPalette(grey);

    host = new QMainWindow(nullptr, Qt::WindowFlags());
    host->setMinimumHeight(scaledSize(20));
    host->setContentsMargins(0, 0, 0, 0);

    QMenuBar *bar = host->menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    QPalette text;
    text.setBrush(QPalette::All, bar->foregroundRole(), QBrush(Qt::black));
    bar->setPalette(text);
    setStyleSheetWhenPolished(bar, menuBarStyleSheet());

    auto layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(host);
    setLayout(layout);

    QMenu *file = bar->addMenu(QObject::tr("ID_RESSTR_MENUBAR_FILE"));
    file->setObjectName(QStringLiteral("fileMenu"));
    setMenuStyleSheetOnShow(file, true);
    file->addAction(actions->action(2));
    file->addAction(actions->action(9));

    QMenu *about = bar->addMenu(QObject::tr("ID_RESSTR_MENUBAR_ABOUT"));
    about->setObjectName(QStringLiteral("aboutMenu"));
    setMenuStyleSheetOnShow(about, true);
    about->addAction(actions->action(53));
    about->addAction(actions->action(54));
}
