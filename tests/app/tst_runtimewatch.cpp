// The standby runtime ending under the start page: started again once, then the launcher ends.

#include "app/commandline.h"
#include "app/mainwindow.h"
#include "base/resourcestrings.h"
#include "documents/documentsmanager.h"

#include "modaldialoganswerer.h"

#include <QApplication>
#include <QtTest>

#include <csignal>

class tst_RuntimeWatch final : public QObject
{
    Q_OBJECT

private slots:
    void endedRuntimeIsStartedAgainOnceThenTheLauncherEnds()
    {
        QTranslator translator;
        QVERIFY(installResourceStrings(translator));
        qputenv("QVKIOSKCORE_NO_WINDOW", "1");
        DocumentsManager &manager = DocumentsManager::instance();
        RuntimeWaits waits;
        waits.runtimeWatchInterval = std::chrono::milliseconds(20);
        manager.setRuntimeWaits(waits);

        MainWindow window(CommandLine({QCoreApplication::applicationFilePath()}), nullptr);
        QVERIFY(window.isStartupOk());
        QTRY_VERIFY(manager.isRuntimeReady());
        window.pollTick();
        ModalDialogAnswerer answerer;

        const std::uint32_t first = manager.runtimeHandoff().runtimeProcessId();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("standby runtime \\(process \\d+\\) has ended; "
                                                "starting a new one"));
        QCOMPARE(::kill(pid_t(first), SIGKILL), 0);
        QTRY_VERIFY(manager.runtimeHandoff().isRuntimeRunning()
                    && manager.runtimeHandoff().runtimeProcessId() != first);
        QVERIFY(window.isStartupOk());
        QCOMPARE(answerer.messages, QStringList());

        QCOMPARE(::kill(pid_t(manager.runtimeHandoff().runtimeProcessId()), SIGKILL), 0);
        QTRY_COMPARE(answerer.messages, QStringList{"An unexpected error occurred."});
        QCOMPARE(window.startFailure(), MainWindow::StartFailure::RuntimeNotStarted);
        manager.closeSharedMemory();
    }
};

QTEST_MAIN(tst_RuntimeWatch)
#include "tst_runtimewatch.moc"
