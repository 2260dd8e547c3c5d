// The base floor: the facade's observer list, the settings store, the widget helpers.

#include "base/appfont.h"
#include "base/controllerfacade.h"
#include "base/settings.h"
#include "base/widgethelpers.h"

#include "capturedoutput.h"
#include "recordingobserver.h"

#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QTest>
#include <QVBoxLayout>

namespace {

ControllerFacade &facade()
{
    return ControllerFacade::instance();
}

// Each observer logs "<name>.<request>" into one list, then runs `then`.
QStringList calls;

void logAs(RecordingObserver &observer, const char *name, std::function<void()> then = {})
{
    observer.onCall = [name, then](const QString &call) {
        calls << QLatin1String(name) + QLatin1Char('.') + call;
        if (then)
            then();
    };
}

} // namespace

class tst_Base final : public QObject
{
    Q_OBJECT

private slots:
    void init() { calls.clear(); }

    // First to open the store, which is opened once per process.
    void damagedSettingsFileIsKeptAsideNotWrittenOver()
    {
        const QString path = settingsFilePath();
        QFile::remove(QFileInfo(path).path()); // left by a failed run of the unwritable test
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        const QByteArray damaged = QByteArray(200 * 1024, '\xff')
                                   + "\n[General]\nRecentlyUsedFiles=kept\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
        file.close();

        QVariant value;
        const QByteArray printed = capturedOutput(1, [&] {
            value = settingsValue(QStringLiteral("RecentlyUsedFiles"));
        });
        QCOMPARE(value, QVariant());
        const QStringList aside = QDir(QFileInfo(path).path())
                                      .entryList({QFileInfo(path).fileName() + ".damaged-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(QFileInfo(path).path() + "/" + aside.first());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), damaged);
        QVERIFY2(printed.contains(path.toLocal8Bit())
                     && printed.contains(aside.first().toLocal8Bit()),
                 printed.constData());
        QVERIFY(kept.remove());

        QCOMPARE(settingsValue(QStringLiteral("NeverWritten"), 42), QVariant(42));
        setSettingsValue(QStringLiteral("GeometryMainWindow"), QRect(10, 20, 640, 480));
        settings().sync();
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("GeometryMainWindow").toRect(),
                 QRect(10, 20, 640, 480));
    }

    void settingsFilePathFollowsMajorMinor()
    {
        // Build numbers left out, two-digit numbers, major only, empty, a leading dot.
        const std::pair<const char *, const char *> rows[] = {{"2.1.5.3", "V2.1"},
                                                              {"10.12.0.1", "V10.12"},
                                                              {"7", "V7.0"},
                                                              {"", "V0.0"},
                                                              {".5", "V0.5"}};
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Brennix/QVKiosk/";
        for (const auto &[version, folder] : rows) {
            QCoreApplication::setApplicationVersion(version);
            QCOMPARE(settingsFilePath(), config + folder + "/tst_base.ini");
        }
        QCoreApplication::setApplicationVersion(QStringLiteral("2.0.0.11"));
    }

    void unwritableSettingsFileIsReportedOnce()
    {
        // A file where the settings folder should be: not even root can write there.
        const QString folder = QFileInfo(settingsFilePath()).path();
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QByteArray printed = capturedOutput(1, [] {
            setSettingsValue(QStringLiteral("StateMainWindowMaximized"), true);
            setSettingsValue(QStringLiteral("StateMainWindowMaximized"), false);
        });
        QCOMPARE(printed.count("cannot be written"), 1);
        QVERIFY(printed.contains(settingsFilePath().toLocal8Bit()));
        QVERIFY(blocker.remove());
    }

    // Each request reaches every observer registered when it starts and still registered at its
    // turn, once, in registration order.
    void observersAndRequests()
    {
        RecordingObserver a, b, c; // registered in this order
        std::u16string seen;
        logAs(a, "a", [&seen] { seen = facade().filePath(); });
        logAs(b, "b");
        logAs(c, "c");
        // Twice or null: no second or null entry.
        facade().addObserver(&a);
        facade().addObserver(nullptr);
        facade().requestToMinimize();
        facade().removeObserver(&b);
        facade().addObserver(&b);
        facade().requestToMaximize();
        facade().removeObserver(&a);
        facade().requestToClose();
        facade().addObserver(&a);
        const std::u16string path = u"/home/k\u00F6rber/Lobby \u2013 north.qvksk";
        facade().setFilePath(path);
        QCOMPARE(calls.join(' '),
                 "a.minimize b.minimize c.minimize a.maximize c.maximize b.maximize c.close "
                 "b.close c.path b.path a.path");
        QVERIFY(seen == path); // stored before the broadcast
    }

    void observersChangingDuringABroadcast()
    {
        RecordingObserver a, b, c, d, late;
        facade().removeObserver(&late);
        logAs(a, "a", [&] {
            facade().removeObserver(&b);
            facade().addObserver(&late);
        });
        logAs(b, "b");
        logAs(c, "c", [&c] { facade().removeObserver(&c); });
        logAs(d, "d");
        logAs(late, "late");
        facade().requestToClose();
        facade().requestToClose();
        QCOMPARE(calls.join(' '), "a.close c.close d.close a.close d.close late.close");
    }

    void wrapText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<QString>("expected");
        const QString letters = QStringLiteral(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
        // clang-format off
        QTest::addRow("12 chars: unchanged") << letters.left(12) << 12 << 4 << letters.left(12);
        QTest::addRow("13 chars: one break") << letters.left(13) << 12 << 4 << "abcdefghijkl\nm";
        QTest::addRow("48 chars: four full lines") << letters.left(48) << 12 << 4 << "abcdefghijkl\nmnopqrstuvwx\nyzABCDEFGHIJ\nKLMNOPQRSTUV";
        QTest::addRow("49 chars: 45 and an ellipsis") << letters.left(49) << 12 << 4 << "abcdefghijkl\nmnopqrstuvwx\nyzABCDEFGHIJ\nKLMNOPQRS...";
        QTest::addRow("one line allowed") << letters.left(20) << 12 << 1 << "abcdefghi...";
        QTest::addRow("narrower than the ellipsis") << letters.left(5) << 2 << 1 << "...";
        QTest::addRow("zero width") << letters.left(5) << 0 << 4 << letters.left(5);
        QTest::addRow("no lines") << letters.left(20) << 12 << 0 << letters.left(20);
        // clang-format on
    }

    void wrapText()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, maxLines);
        QFETCH(QString, expected);
        QCOMPARE(::wrapText(text, width, maxLines), expected);
    }

    void scaledSizeIsTenthsOfAtInTheBundledFont()
    {
        // Measured in the bundled font even when nothing has registered it yet.
        const int unit = scaledSize(100);
        QLabel probe;
        probe.setFont(QFont(appFontFamily(), 8));
        QCOMPARE(unit, 10 * probe.fontMetrics().horizontalAdvance(QLatin1Char('@')));
    }

    void applyFontChangesOnlyWhatIsGiven()
    {
        // A family with size 0, a size alone (registration failed), neither, a negative size.
        const std::tuple<QString, int, bool> rows[] = {{"Noto Sans", 0, true},
                                                       {"", 14, true},
                                                       {"", 0, false},
                                                       {"", -3, false}};
        for (const auto &[family, pointSize, touched] : rows) {
            QWidget widget;
            const QFont before = widget.font();
            applyFont(&widget, family, pointSize);
            QCOMPARE(widget.testAttribute(Qt::WA_SetFont), touched);
            QCOMPARE(widget.font().family(), family.isEmpty() ? before.family() : family);
            QCOMPARE(widget.font().pointSize(), pointSize >= 1 ? pointSize : before.pointSize());
        }
    }

    void applyAppFontTreeReachesEveryDescendant()
    {
        QWidget top;
        auto middle = new QWidget;
        (new QVBoxLayout(&top))->addWidget(middle);
        auto leaf = new QLabel(QStringLiteral("leaf"), middle);
        applyAppFontTree(&top);
        for (QWidget *widget : {&top, middle, static_cast<QWidget *>(leaf)})
            QCOMPARE(widget->font(), QFont("Noto Sans", 9));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0.0.11"));
    tst_Base test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_base.moc"
