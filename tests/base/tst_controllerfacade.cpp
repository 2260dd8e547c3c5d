// The facade's observer list: each request reaches every observer registered when it starts
// and still registered at its turn, once, in registration order.

#include "base/controllerfacade.h"
#include "base/iglobalobserver.h"

#include <QStringList>
#include <QTest>

#include <functional>

namespace {

QStringList calls;

ControllerFacade &facade()
{
    return ControllerFacade::instance();
}

// Logs "<name>.<request>" and then runs onCall; unregisters when it goes.
class Recorder final : public IGlobalObserver
{
public:
    explicit Recorder(const char *name)
        : name(QString::fromLatin1(name))
    {}
    ~Recorder() override { facade().removeObserver(this); }

    void changedFilePath() override { record("path"); }
    void requestToMinimize() override { record("minimize"); }
    void requestToMaximize() override { record("maximize"); }
    void requestToClose() override { record("close"); }

    std::function<void()> onCall;

private:
    void record(const char *operation)
    {
        calls << name + QLatin1Char('.') + QLatin1String(operation);
        if (onCall)
            onCall();
    }

    QString name;
};

} // namespace

class tst_ControllerFacade final : public QObject
{
    Q_OBJECT

private slots:
    void init() { calls.clear(); }

    void registrationsAndRequests()
    {
        Recorder a("a"), b("b"), c("c");
        std::u16string seen;
        a.onCall = [&seen] { seen = facade().filePath(); };
        // Twice or null: no second or null entry.
        for (IGlobalObserver *observer : {&a, &b, &c, &a, static_cast<Recorder *>(nullptr)})
            facade().addObserver(observer);
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
        Recorder a("a"), b("b"), c("c"), d("d"), late("late");
        a.onCall = [&] {
            facade().removeObserver(&b);
            facade().addObserver(&late);
        };
        c.onCall = [&c] { facade().removeObserver(&c); };
        for (IGlobalObserver *observer : {&a, &b, &c, &d})
            facade().addObserver(observer);
        facade().requestToClose();
        QCOMPARE(calls, (QStringList{"a.close", "c.close", "d.close"}));
        facade().requestToClose();
        QCOMPARE(calls.mid(3), (QStringList{"a.close", "d.close", "late.close"}));
    }
};

QTEST_GUILESS_MAIN(tst_ControllerFacade)
#include "tst_controllerfacade.moc"
