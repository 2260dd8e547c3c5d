// The operator's view of opening files: the journal line and the log line of each outcome,
// the journal's rotation, and the back-off after wrong codes with its countdown.

#include "documents/dialogauthenticate.h"
#include "documents/documentsmanager.h"

#include "base/controllerfacade.h"

#include "helpermode.h"
#include "lockholder.h"
#include "modaldialoganswerer.h"
#include "scopedenvironment.h"
#include "startedmanager.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <optional>
#include <thread>

using Outcome = OperatorJournal::Outcome;

namespace {

QString sample(const QString &name)
{
    return QStringLiteral(QVKIOSK_SAMPLES_DIR "/") + name;
}

struct Attempt
{
    QString file;
    AccessLevel level; // None: the code dialog is cancelled
    QString code;
    QByteArray fault; // "NAME=value" in the runtime's environment
    QString outcome;
    QString levelText;
    QString logLine; // what the warning on standard error says; empty: none
    bool journalBlocked = false;
};

// What the code under test logs, as "<category>: <message>" lines: QtTest's own handler
// would take the messages over.
QString logged(const std::function<void()> &action)
{
    static QString lines;
    lines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &context, const QString &message) {
            lines += QString::fromLatin1(context.category) + QStringLiteral(": ") + message
                     + QLatin1Char('\n');
        });
    action();
    qInstallMessageHandler(previous);
    return lines;
}

QList<QJsonObject> journalLines(const QString &fileName)
{
    QList<QJsonObject> lines;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                lines << QJsonDocument::fromJson(line).object();
    }
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(Attempt)

class tst_OperatorJournal final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
        QCoreApplication::installTranslator(&translator);
        qputenv("QVKIOSKCORE_NO_WINDOW", "1");
        QVERIFY(QDir().mkpath(folder.filePath("folder.qvksk")));
        cleanup(); // what a run that did not finish left
    }

    void cleanup()
    {
        for (const qint64 pid : runtimes)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        runtimes.clear();
        QDir(OperatorJournal::stateFolder()).removeRecursively();
        ControllerFacade::instance().setFilePath({});
    }

    void outcomes_data()
    {
        QTest::addColumn<Attempt>("row");
        const auto admin = AccessLevel::Administrator;
        const QString lobby = sample("lobby.qvksk");
        // clang-format off
        QTest::addRow("handed over") << Attempt{lobby, admin, "1234", {}, "handed-over", "Administrator", {}};
        QTest::addRow("handed over, journal unwritable") << Attempt{lobby, admin, "1234", {}, "handed-over", "Administrator", "qvkiosk.journal: the journal %1 cannot be written", true};
        QTest::addRow("wrong code") << Attempt{lobby, AccessLevel::PowerUser, "9999", {}, "wrong-code", "Power User", "qvkiosk.open: %1: wrong code for Power User (1 in a row)"};
        QTest::addRow("cancelled") << Attempt{lobby, AccessLevel::None, {}, {}, "cancelled", "", {}};
        QTest::addRow("in use") << Attempt{lobby, admin, "1234", {}, "in-use", "", "qvkiosk.open: %1: another copy of the launcher is opening it"};
        QTest::addRow("not supported") << Attempt{sample("otherformat.qvksk"), admin, "1234", {}, "not-supported", "", "qvkiosk.open: %1: not a kiosk controller file"};
        QTest::addRow("read error") << Attempt{folder.filePath("folder.qvksk"), admin, "1234", {}, "read-error", "", "qvkiosk.open: %1: the core library cannot open it (status 5)"};
        QTest::addRow("launch failed") << Attempt{lobby, admin, "1234", "QVKIOSKCORE_NEVER_ACCEPT=1", "launch-failed", "Administrator", "qvkiosk.open: %1: the runtime did not take the file"};
        // clang-format on
    }

    // One journal line per attempt, never a code, and one warning naming the file for each
    // error box.
    void outcomes()
    {
        QFETCH(Attempt, row);
        const std::unique_ptr<DocumentsManager> manager = startedManager(runtimes, row.fault);
        QVERIFY(manager);
        const QString journal = OperatorJournal().filePath();
        if (row.journalBlocked)
            QVERIFY(QDir().mkpath(journal));
        std::optional<LockHolder> copy;
        if (row.outcome == "in-use")
            copy.emplace(row.file);
        ModalDialogAnswerer answerer;
        if (row.level != AccessLevel::None)
            answerer.acceptCode(row.level, row.code);

        bool launchFailed = false;
        bool opened = false;
        const QString printed = logged(
            [&] { opened = manager->openControllerFile(nullptr, launchFailed, row.file, true); });
        QCOMPARE(opened, row.outcome == "handed-over");
        const QString expected = row.logLine.arg(row.journalBlocked ? journal : row.file);
        QVERIFY2(expected.isEmpty() ? !printed.contains("qvkiosk.") : printed.contains(expected),
                 qPrintable(printed));
        if (row.journalBlocked)
            return;
        const QList<QJsonObject> lines = journalLines(journal);
        QCOMPARE(lines.size(), 1);
        const QJsonObject line = lines[0];
        QCOMPARE(line.keys(), (QStringList{"file", "level", "outcome", "time", "title"}));
        QCOMPARE(line["file"].toString(), row.file);
        QCOMPARE(line["level"].toString(), row.levelText);
        QCOMPARE(line["outcome"].toString(), row.outcome);
        const QString time = line["time"].toString();
        QVERIFY2(QRegularExpression(
                     "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$")
                     .match(time)
                     .hasMatch(),
                 qPrintable(time));
        QVERIFY(
            qAbs(QDateTime::fromString(time, Qt::ISODateWithMs).secsTo(QDateTime::currentDateTime()))
            < 60);
    }

    void journalMovesAsideAtItsLimit()
    {
        QTemporaryDir state;
        OperatorJournal journal(state.path(), 400);
        for (int i = 0; i < 6; ++i)
            QVERIFY(journal.record(QStringLiteral("/f%1.qvksk").arg(i),
                                   {},
                                   AccessLevel::Administrator,
                                   Outcome::WrongCode));
        const QList<QJsonObject> older = journalLines(state.filePath("journal.1.jsonl"));
        const QList<QJsonObject> newer = journalLines(journal.filePath());
        QVERIFY(!older.isEmpty() && !newer.isEmpty());
        QCOMPARE(older.size() + newer.size() - 1, newer.last()["file"].toString().mid(2, 1).toInt());
        QVERIFY(QFileInfo(journal.filePath()).size() <= 400);
        QVERIFY(QFileInfo(state.filePath("journal.1.jsonl")).size() <= 400);
    }

    // 1 s, 2 s, 4 s ... after the free tries, kept across restarts, cleared by a right code.
    void wrongCodesBackOff()
    {
        QTemporaryDir state;
        using std::chrono::milliseconds;
        const QList<int> waits{0, 0, 0, 1000, 2000, 4000, 4000};
        {
            WrongCodeBackoff backoff(state.path());
            backoff.setSchedule({3, milliseconds(1000), milliseconds(4000)});
            for (int wrong = 0; wrong < waits.size(); ++wrong) {
                QCOMPARE(backoff.waitBeforeCheck("a.qvksk").count(), waits[wrong]);
                backoff.recordWrongCode("a.qvksk");
            }
        }
        WrongCodeBackoff restarted(state.path());
        QCOMPARE(restarted.wrongCodes(QDir::current().filePath("a.qvksk")), waits.size());
        QCOMPARE(restarted.waitBeforeCheck("a.qvksk").count(), 16000);
        QCOMPARE(restarted.waitBeforeCheck("b.qvksk").count(), 0);
        restarted.recordRightCode("a.qvksk");
        QCOMPARE(restarted.wrongCodes("a.qvksk"), 0);
    }

    void codeDialogCountsDownThenChecksOffTheGuiThread()
    {
        DialogAuthenticate dialog(nullptr, "lobby.qvksk", true);
        dialog.setWaitBeforeCheck(std::chrono::milliseconds(1200));
        dialog.show();
        const auto ok = dialog.findChild<QPushButton *>("okButton");
        const auto label = dialog.findChild<QLabel *>("waitLabel");
        QVERIFY(!ok->isEnabled());
        QCOMPARE(label->text(), "Too many wrong codes. Try again in 2 s.");
        QTRY_COMPARE(label->text(), "Too many wrong codes. Try again in 1 s.");
        QVERIFY(!ok->isEnabled());
        QTRY_VERIFY(ok->isEnabled());
        QVERIFY(label->isHidden());

        std::atomic<bool> guiRan{false};
        bool sawGuiRun = false;
        dialog.setCheck([&](AccessLevel, const QString &) {
            for (int i = 0; i < 500 && !guiRan; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            sawGuiRun = guiRan;
        });
        QTimer::singleShot(0, [&] { guiRan = true; });
        ok->click();
        QVERIFY2(sawGuiRun, "the GUI thread stood still while the code was checked");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

private:
    QTranslator translator;
    QTemporaryDir folder;
    std::vector<qint64> runtimes;
};

int main(int argc, char **argv)
{
    return runTestOrHelper<tst_OperatorJournal>(argc, argv);
}

#include "tst_operatorjournal.moc"
