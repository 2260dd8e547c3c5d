#include "qvkioskapplication.h"

QVKioskApplication::QVKioskApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{}

QVKioskApplication::~QVKioskApplication() = default;

QVKioskApplication *QVKioskApplication::instance()
{
    return dynamic_cast<QVKioskApplication *>(QCoreApplication::instance());
}
