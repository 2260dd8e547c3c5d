#include "documents/controllerfacade.h"
#include "base/iglobalobserver.h"

#include <QStringList>
#include <QTest>

#include <functional>

namespace {

// Writes "<name>.<operation>" into a shared log; optionally does something when called.
class RecordingObserver final : public IGlobalObserver
{
public:
    RecordingObserver(QString name, QStringList &log)
        : name(std::move(name))
        , log(log)
    {}
    ~RecordingObserver() override { ControllerFacade::instance().removeObserver(this); }

    void changedFilePath() override { record(QStringLiteral("changedFilePath")); }
    void requestToMinimize() override { record(QStringLiteral("requestToMinimize")); }
    void requestToMaximize() override { record(QStringLiteral("requestToMaximize")); }
    void requestToClose() override { record(QStringLiteral("requestToClose")); }

    std::function<void()> onCall;

private:
    void record(const QString &operation)
    {
        log << name + QLatin1Char('.') + operation;
        if (onCall)
            onCall();
    }

    QString name;
    QStringList &log;
};

} // namespace

class tst_ControllerFacade final : public QObject
{
    Q_OBJECT

private slots:
    void instanceIsOneObject();
    void eachRequestReachesItsOperation_data();
    void eachRequestReachesItsOperation();
    void setFilePathStoresBeforeBroadcasting();
    void duplicateRegistrationIsIgnored();
    void removalKeepsTheOrderOfTheOthers();
    void observerRemovedDuringBroadcastIsNotCalled();
    void observerAddedDuringBroadcastWaitsForTheNext();
    void observerMayRemoveItselfDuringBroadcast();
    void nullObserverIsIgnored();

private:
    QStringList log;
};

void tst_ControllerFacade::instanceIsOneObject()
{
    QCOMPARE(&ControllerFacade::instance(), &ControllerFacade::instance());
}

void tst_ControllerFacade::eachRequestReachesItsOperation_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<QString>("expected");
    QTest::addRow("minimize") << 0 << "a.requestToMinimize";
    QTest::addRow("maximize") << 1 << "a.requestToMaximize";
    QTest::addRow("close") << 2 << "a.requestToClose";
    QTest::addRow("file path") << 3 << "a.changedFilePath";
}

void tst_ControllerFacade::eachRequestReachesItsOperation()
{
    QFETCH(int, request);
    QFETCH(QString, expected);
    log.clear();
    RecordingObserver a(QStringLiteral("a"), log);
    ControllerFacade &facade = ControllerFacade::instance();
    facade.addObserver(&a);
    switch (request) {
    case 0:
        facade.requestToMinimize();
        break;
    case 1:
        facade.requestToMaximize();
        break;
    case 2:
        facade.requestToClose();
        break;
    default:
        facade.setFilePath(u"/tmp/x.qvksk");
        break;
    }
    QCOMPARE(log, QStringList{expected});
}

void tst_ControllerFacade::setFilePathStoresBeforeBroadcasting()
{
    log.clear();
    RecordingObserver a(QStringLiteral("a"), log);
    std::u16string seen;
    a.onCall = [&seen] { seen = ControllerFacade::instance().filePath(); };
    ControllerFacade::instance().addObserver(&a);

    const std::u16string path = u"/home/k\u00F6rber/Lobby \u2013 north.qvksk";
    ControllerFacade::instance().setFilePath(path);
    QVERIFY(seen == path);
    QVERIFY(ControllerFacade::instance().filePath() == path);

    ControllerFacade::instance().setFilePath(std::u16string());
    QVERIFY(ControllerFacade::instance().filePath().empty());
    QCOMPARE(log.size(), 2);
}

void tst_ControllerFacade::duplicateRegistrationIsIgnored()
{
    log.clear();
    RecordingObserver a(QStringLiteral("a"), log);
    RecordingObserver b(QStringLiteral("b"), log);
    ControllerFacade &facade = ControllerFacade::instance();
    facade.addObserver(&a);
    facade.addObserver(&b);
    facade.addObserver(&a);
    facade.requestToClose();
    QCOMPARE(log, (QStringList{"a.requestToClose", "b.requestToClose"}));

    // One removal takes it out completely: no second entry was left behind.
    log.clear();
    facade.removeObserver(&a);
    facade.requestToClose();
    QCOMPARE(log, QStringList{"b.requestToClose"});
}

void tst_ControllerFacade::removalKeepsTheOrderOfTheOthers()
{
    log.clear();
    RecordingObserver a(QStringLiteral("a"), log);
    RecordingObserver b(QStringLiteral("b"), log);
    RecordingObserver c(QStringLiteral("c"), log);
    RecordingObserver d(QStringLiteral("d"), log);
    ControllerFacade &facade = ControllerFacade::instance();
    for (IGlobalObserver *observer : {&a, &b, &c, &d})
        facade.addObserver(observer);
    facade.removeObserver(&b);
    facade.requestToMaximize();
    QCOMPARE(log,
             (QStringList{"a.requestToMaximize", "c.requestToMaximize", "d.requestToMaximize"}));

    log.clear();
    facade.addObserver(&b);
    facade.removeObserver(&a);
    facade.requestToMinimize();
    QCOMPARE(log,
             (QStringList{"c.requestToMinimize", "d.requestToMinimize", "b.requestToMinimize"}));
}

void tst_ControllerFacade::observerRemovedDuringBroadcastIsNotCalled()
{
    log.clear();
    RecordingObserver a(QStringLiteral("a"), log);
    RecordingObserver b(QStringLiteral("b"), log);
    RecordingObserver c(QStringLiteral("c"), log);
    a.onCall = [&b] { ControllerFacade::instance().removeObserver(&b); };
    ControllerFacade &facade = ControllerFacade::instance();
    for (IGlobalObserver *observer : {&a, &b, &c})
        facade.addObserver(observer);
    facade.requestToClose();
    QCOMPARE(log, (QStringList{"a.requestToClose", "c.requestToClose"}));
}

void tst_ControllerFacade::observerAddedDuringBroadcastWaitsForTheNext()
{
    log.clear();
    RecordingObserver a(QStringLiteral("a"), log);
    RecordingObserver late(QStringLiteral("late"), log);
    a.onCall = [&late] { ControllerFacade::instance().addObserver(&late); };
    ControllerFacade &facade = ControllerFacade::instance();
    facade.addObserver(&a);
    facade.requestToClose();
    QCOMPARE(log, QStringList{"a.requestToClose"});

    log.clear();
    a.onCall = nullptr;
    facade.requestToClose();
    QCOMPARE(log, (QStringList{"a.requestToClose", "late.requestToClose"}));
}

void tst_ControllerFacade::observerMayRemoveItselfDuringBroadcast()
{
    log.clear();
    RecordingObserver a(QStringLiteral("a"), log);
    RecordingObserver b(QStringLiteral("b"), log);
    a.onCall = [&a] { ControllerFacade::instance().removeObserver(&a); };
    ControllerFacade &facade = ControllerFacade::instance();
    facade.addObserver(&a);
    facade.addObserver(&b);
    facade.requestToClose();
    facade.requestToClose();
    QCOMPARE(log, (QStringList{"a.requestToClose", "b.requestToClose", "b.requestToClose"}));
}

void tst_ControllerFacade::nullObserverIsIgnored()
{
    log.clear();
    RecordingObserver a(QStringLiteral("a"), log);
    ControllerFacade &facade = ControllerFacade::instance();
    facade.addObserver(nullptr);
    facade.addObserver(&a);
    facade.requestToClose();
    facade.removeObserver(nullptr);
    QCOMPARE(log, QStringList{"a.requestToClose"});
}

QTEST_GUILESS_MAIN(tst_ControllerFacade)
#include "tst_controllerfacade.moc"
