// The facade's observer list: each request reaches every observer registered when it starts
// and still registered at its turn, once, in registration order.

#include "base/controllerfacade.h"

#include "recordingobserver.h"

#include <QTest>

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

class tst_ControllerFacade final : public QObject
{
    Q_OBJECT

private slots:
    void init() { calls.clear(); }

    void registrationsAndRequests()
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
        QCOMPARE(calls,
                 (QStringList{"a.minimize",
                              "b.minimize",
                              "c.minimize",
                              "a.maximize",
                              "c.maximize",
                              "b.maximize",
                              "c.close",
                              "b.close",
                              "c.path",
                              "b.path",
                              "a.path"}));
        QVERIFY(seen == path); // stored before the broadcast
    }

    void changesDuringBroadcast()
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
        QCOMPARE(calls, (QStringList{"a.close", "c.close", "d.close"}));
        facade().requestToClose();
        QCOMPARE(calls.mid(3), (QStringList{"a.close", "d.close", "late.close"}));
    }
};

QTEST_GUILESS_MAIN(tst_ControllerFacade)
#include "tst_controllerfacade.moc"
