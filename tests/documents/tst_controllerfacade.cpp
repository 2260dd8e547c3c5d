#include "base/iglobalobserver.h"
#include "documents/controllerfacade.h"

#include <QStringList>
#include <QTest>

#include <functional>

namespace {

QStringList calls;

// Logs "<name>.<request>" and then runs onCall; unregisters when it goes.
class RecordingObserver final : public IGlobalObserver
{
public:
    explicit RecordingObserver(const char *name)
        : name(QString::fromLatin1(name))
    {}
    ~RecordingObserver() override { ControllerFacade::instance().removeObserver(this); }

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

ControllerFacade &facade()
{
    return ControllerFacade::instance();
}

void add(std::initializer_list<RecordingObserver *> observers)
{
    for (RecordingObserver *observer : observers)
        facade().addObserver(observer);
}

} // namespace

class tst_ControllerFacade final : public QObject
{
    Q_OBJECT

private slots:
    void init() { calls.clear(); }
    void eachRequestReachesItsOperation();
    void setFilePathStoresBeforeBroadcasting();
    void duplicateAndNullRegistrationsAreIgnored();
    void removalKeepsTheOrderOfTheOthers();
    void observerRemovedDuringBroadcastIsNotCalled();
    void observerRemovingItselfDuringBroadcastSkipsNoOther();
    void observerAddedDuringBroadcastWaitsForTheNext();
};

void tst_ControllerFacade::eachRequestReachesItsOperation()
{
    RecordingObserver a("a");
    add({&a});
    facade().requestToMinimize();
    facade().requestToMaximize();
    facade().requestToClose();
    facade().setFilePath(u"/tmp/x.qvksk");
    QCOMPARE(calls, (QStringList{"a.minimize", "a.maximize", "a.close", "a.path"}));
}

void tst_ControllerFacade::setFilePathStoresBeforeBroadcasting()
{
    RecordingObserver a("a");
    std::u16string seen;
    a.onCall = [&seen] { seen = facade().filePath(); };
    add({&a});
    const std::u16string path = u"/home/k\u00F6rber/Lobby \u2013 north.qvksk";
    facade().setFilePath(path);
    QVERIFY(seen == path);
    QVERIFY(facade().filePath() == path);
}

void tst_ControllerFacade::duplicateAndNullRegistrationsAreIgnored()
{
    RecordingObserver a("a"), b("b");
    facade().addObserver(nullptr);
    add({&a, &b, &a});
    facade().requestToClose();
    // One removal takes it out completely: no second entry was left behind.
    facade().removeObserver(&a);
    facade().requestToClose();
    QCOMPARE(calls, (QStringList{"a.close", "b.close", "b.close"}));
}

void tst_ControllerFacade::removalKeepsTheOrderOfTheOthers()
{
    RecordingObserver a("a"), b("b"), c("c"), d("d");
    add({&a, &b, &c, &d});
    facade().removeObserver(&b);
    facade().addObserver(&b);
    facade().removeObserver(&a);
    facade().requestToClose();
    QCOMPARE(calls, (QStringList{"c.close", "d.close", "b.close"}));
}

void tst_ControllerFacade::observerRemovedDuringBroadcastIsNotCalled()
{
    RecordingObserver a("a"), b("b"), c("c");
    a.onCall = [&b] { facade().removeObserver(&b); };
    add({&a, &b, &c});
    facade().requestToClose();
    QCOMPARE(calls, (QStringList{"a.close", "c.close"}));
}

void tst_ControllerFacade::observerRemovingItselfDuringBroadcastSkipsNoOther()
{
    RecordingObserver a("a"), b("b");
    a.onCall = [&a] { facade().removeObserver(&a); };
    add({&a, &b});
    facade().requestToClose();
    QCOMPARE(calls, (QStringList{"a.close", "b.close"}));
}

void tst_ControllerFacade::observerAddedDuringBroadcastWaitsForTheNext()
{
    RecordingObserver a("a"), late("late");
    a.onCall = [&late] { facade().addObserver(&late); };
    add({&a});
    facade().requestToClose();
    QCOMPARE(calls, QStringList{"a.close"});
    facade().requestToClose();
    QCOMPARE(calls, (QStringList{"a.close", "a.close", "late.close"}));
}

QTEST_GUILESS_MAIN(tst_ControllerFacade)
#include "tst_controllerfacade.moc"
