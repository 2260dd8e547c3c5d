#include "qvkioskapplication.h"

#include "appstyle.h"

QVKioskApplication::QVKioskApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // Built on the style the platform (or -style) chose; the application takes ownership.
    setStyle(new AppStyle(style()->name()));
}

QVKioskApplication::~QVKioskApplication() = default;

QVKioskApplication *QVKioskApplication::instance()
{
    return dynamic_cast<QVKioskApplication *>(QCoreApplication::instance());
}
