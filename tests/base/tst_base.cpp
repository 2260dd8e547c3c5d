// The base floor: the facade's observer list, the settings store, the widget helpers.

#include "base/appfont.h"
#include "base/controllerfacade.h"
#include "base/settings.h"
#include "base/widgethelpers.h"

#include "capturedoutput.h"
#include "recordingobserver.h"

#include <QLabel>
#include <QSettings>
#include <QTest>

namespace {

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
    void initTestCase() { QCoreApplication::setApplicationVersion(QStringLiteral("2.0.0.11")); }
    void init() { calls.clear(); }

    // First to open the store, which is opened once per process.
    void damagedSettingsFileIsKeptAsideNotWrittenOver()
    {
        const QString path = settingsFilePath(), folder = QFileInfo(path).path();
        QFile::remove(folder); // left by a failed run of the unwritable test
        QVERIFY(QDir().mkpath(folder));
        const QByteArray damaged = QByteArray(200 * 1024, '\xff')
                                   + "\n[General]\nRecentlyUsedFiles=kept\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
        file.close();
        QVariant value;
        const QByteArray printed = capturedOutput(1, [&] {
            value = settingsValue("RecentlyUsedFiles");
        });
        QCOMPARE(value, QVariant());
        const QStringList aside = QDir(folder).entryList(
            {QFileInfo(path).fileName() + ".damaged-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(folder + "/" + aside.first());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), damaged);
        QVERIFY(printed.contains(path.toLocal8Bit())
                && printed.contains(aside.first().toLocal8Bit()));
        QVERIFY(kept.remove());
        setSettingsValue(QStringLiteral("GeometryMainWindow"), QRect(10, 20, 640, 480));
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("GeometryMainWindow").toRect(),
                 QRect(10, 20, 640, 480));
    }

    void unwritableSettingsFileIsReportedOnce()
    {
        // A file where the settings folder should be: not even root can write there.
        const QString folder = QFileInfo(settingsFilePath()).path();
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const QByteArray printed = capturedOutput(1, [] {
            setSettingsValue(QStringLiteral("StateMainWindowMaximized"), true);
            setSettingsValue(QStringLiteral("StateMainWindowMaximized"), false);
        });
        QCOMPARE(printed.count("cannot be written"), 1);
        QVERIFY(printed.contains(settingsFilePath().toLocal8Bit()));
        QVERIFY(blocker.remove());
    }

    // Once each, in order, to observers registered at its start and still at its turn; path first.
    void observersAndRequests()
    {
        ControllerFacade &facade = ControllerFacade::instance();
        RecordingObserver a, b, c, d, late; // registered in this order
        facade.removeObserver(&late);
        std::u16string seen;
        logAs(a, "a");
        logAs(b, "b");
        logAs(c, "c");
        logAs(d, "d", [&] {
            if (calls.last() == "d.path")
                seen = facade.filePath();
        });
        logAs(late, "late");
        facade.addObserver(&a); // twice or null: no second or null entry
        facade.addObserver(nullptr);
        facade.removeObserver(&b);
        facade.addObserver(&b);
        const std::u16string path = u"/home/k\u00F6rber/Lobby \u2013 north.qvksk";
        facade.setFilePath(path);
        logAs(a, "a", [&] {
            facade.removeObserver(&b);
            facade.addObserver(&late);
        });
        logAs(c, "c", [&] { facade.removeObserver(&c); });
        facade.requestToClose();
        facade.requestToMinimize();
        facade.requestToMaximize();
        QCOMPARE(calls.join(' '),
                 "a.path c.path d.path b.path a.close c.close d.close a.minimize d.minimize "
                 "late.minimize a.maximize d.maximize late.maximize");
        QVERIFY(seen == path);
    }

    void wrapTextFillsFourLinesOfTwelve()
    {
        const QString letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
        const std::pair<int, const char *> rows[]
            = {{12, "abcdefghijkl"}, {48, "abcdefghijkl\nmnopqrstuvwx\nyzABCDEFGHIJ\nKLMNOPQRSTUV"}};
        for (const auto &[length, wrapped] : rows)
            QCOMPARE(::wrapText(letters.left(length), 12, 4), QString(wrapped));
    }

    void scaledSizeIsTenthsOfAtInTheBundledFont()
    {
        // Measured in the bundled font even when nothing has registered it yet.
        const int unit = scaledSize(100);
        QLabel probe;
        probe.setFont(QFont(appFontFamily(), 8));
        QCOMPARE(unit, 10 * probe.fontMetrics().horizontalAdvance(QLatin1Char('@')));
    }

    void appliedFontsChangeOnlyWhatIsGiven()
    {
        QWidget top;
        const auto leaf = new QLabel(QStringLiteral("leaf"), new QWidget(&top));
        leaf->setFont(QFont("Serif", 20)); // set before: overridden too
        applyAppFontTree(&top);
        for (QWidget *widget : {&top, static_cast<QWidget *>(leaf)})
            QCOMPARE(widget->font(), QFont("Noto Sans", 9));
        // A size alone (the bundled font not registered), a family alone, neither.
        const std::tuple<QString, int, bool> rows[] = {{"", 14, true},
                                                       {"Noto Sans", 0, true},
                                                       {"", 0, false}};
        for (const auto &[family, pointSize, touched] : rows) {
            QWidget widget;
            const QFont before = widget.font();
            applyFont(&widget, family, pointSize);
            QCOMPARE(widget.testAttribute(Qt::WA_SetFont), touched);
            QCOMPARE(widget.font().family(), family.isEmpty() ? before.family() : family);
            QCOMPARE(widget.font().pointSize(), pointSize >= 1 ? pointSize : before.pointSize());
        }
    }
};

QTEST_MAIN(tst_Base)

#include "tst_base.moc"
