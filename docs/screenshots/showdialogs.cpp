// Shows one dialog through the program's application object (a plain QApplication draws the
// platform's button icons) and prints where it lies, for docs/screenshots/take-screenshots.sh.
//   showdialogs confirmation|error|information|authenticate|block|legal|about

#include "app/runapplication.h"
#include "base/qvkioskapplication.h"
#include "base/resourcestrings.h"
#include "dialogs/custommessagebox.h"
#include "dialogs/dialogabout.h"
#include "dialogs/dialoglegal.h"
#include "documents/dialogauthenticate.h"
#include "documents/dialogblockuserinteraction.h"

#include "qvkioskversion.h"

#include <QtWidgets>

int main(int argc, char *argv[])
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QVKioskApplication app(argc, argv);
    QTranslator translator;
    installResourceStrings(translator);
    setApplicationIdentity("ID_RESSTR_APPLICATION_QVKIOSK", QStringLiteral(QVKIOSK_VERSION));
    QTimer::singleShot(500, [] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            const QRect frame = dialog->frameGeometry();
            QTextStream(stdout) << frame.width() << 'x' << frame.height() << '+' << frame.x() << '+'
                                << frame.y() << Qt::endl;
        }
    });

    const auto tr = [](const char *id) { return QObject::tr(id); };
    const QString file = QStringLiteral("/srv/kiosk/Lobby.qvksk");
    const QString kind = app.arguments().value(1);
    // Asked when a recent file that no longer exists is loaded.
    const QString question = tr("ID_RESSTR_RECENTFILESAREA_QUESTION")
                             + tr("ID_RESSTR_RECENTFILESAREA_SUFFIX") + file;
    if (kind == "confirmation")
        CustomMessageBox::showConfirmation(nullptr, question, tr("ID_RESSTR_RECENTFILESAREA_TITLE"));
    else if (kind == "error")
        CustomMessageBox::showError(nullptr,
                                    tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILE").arg(5),
                                    {});
    else if (kind == "information")
        CustomMessageBox::showInformation(nullptr, tr("ID_RESSTR_RECENTFILESAREA_WARNING"), {});
    else if (kind == "authenticate")
        DialogAuthenticate(nullptr, file, true).exec();
    else if (kind == "block")
        DialogBlockUserInteraction(nullptr).exec();
    else if (kind == "legal")
        DialogLegal(nullptr).exec();
    else if (kind == "about")
        DialogAbout(nullptr).exec();
    else
        qFatal("unknown dialog: %s", qPrintable(kind));
    return 0;
}
