#pragma once

#include <QApplication>

// The application object. It installs the application's style (AppStyle) and adds the flag
// that tells custom dialogs whether the main window has been shown yet.
class QVKioskApplication final : public QApplication
{
public:
    QVKioskApplication(int &argc, char **argv);
    ~QVKioskApplication() override;

    // The running application object, or null when the program runs under another
    // QApplication (as the tests do).
    static QVKioskApplication *instance();

    // Set by the main window's show event every time it is shown.
    bool mainWindowShown = false;
};
