// The frameless main window: where it opens, what it stores, its two states, the Windows
// messages and, where there are none, its caption and system menu through Qt (the caption's
// double click is checked on a real display by realwindow.py). Runs on two offscreen screen
// layouts (CMakeLists) that differ only in which screen is primary.

#include "bareframe.h"

#include "base/resourcestrings.h"
#include "base/settings.h"
#include "base/widgethelpers.h"
#include "frame/messageframebehaviour.h"
#include "frame/titlebar.h"
#include "frame/windowgeometry.h"
#include "platform/windowmessages.h"

#include "recordingobserver.h"

#include <QtTest>

#include <QMenu>
#include <QScreen>
#include <QToolButton>
#include <QTranslator>

#include <climits>

namespace {

const QRect wideScreen(0, 0, 1920, 1040);
const QRect squareScreen(1920, 0, 1280, 1024);
const QRect normal(100, 100, 800, 600);

// The expectation for the layout this run has.
QRect onPrimary(const QRect &wide, const QRect &square)
{
    return QGuiApplication::primaryScreen()->geometry() == wideScreen ? wide : square;
}

void storeState(const QVariant &geometry, bool maximized)
{
    settings().clear();
    if (geometry.isValid())
        setSettingsValue(QStringLiteral("GeometryMainWindow"), geometry);
    setSettingsValue(QStringLiteral("StateMainWindowMaximized"), maximized);
}

// The stored normal geometry, and whether the window is stored maximised.
std::pair<QRect, bool> stored()
{
    return {settingsValue(QStringLiteral("GeometryMainWindow")).toRect(),
            settingsValue(QStringLiteral("StateMainWindowMaximized")).toBool()};
}

QPoint pointOn(FrameWindow &window, const QString &part)
{
    TitleBar *bar = window.frame->titleBar;
    if (part == QLatin1String("empty middle"))
        return bar->mapToGlobal(QPoint(bar->width() / 2, bar->height() / 2));
    if (part == QLatin1String("close button"))
        return centreOf(titleButton(bar, QStringLiteral("closeAction")));
    return centreOf(bar->findChild<QWidget *>(part));
}

// The widget a real event at the point would go to.
QWidget *widgetAt(FrameWindow &window, const QPoint &global)
{
    QWidget *child = window.childAt(window.mapFromGlobal(global));
    return child != nullptr ? child : &window;
}

void showRestored(FrameWindow &window)
{
    storeState(normal, false);
    window.restoreWindowState();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

} // namespace

class TestMainWindowBase final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(installResourceStrings(translator));
        // Both layouts have the same two screens; a missing configuration gives one.
        QCOMPARE(QGuiApplication::screens().size(), 2);
        const QRect primary = QGuiApplication::primaryScreen()->geometry();
        QVERIFY2(primary == wideScreen || primary == squareScreen, "screen layout not applied");
    }

    void cleanup() { restoreAllOverrideCursors(); }

    void restoreGeometry_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QRect>("expected");
        const QRect firstStart = onPrimary(QRect(192, 88, 1536, 864), QRect(2048, 224, 1024, 576));
        // clang-format off
        QTest::addRow("nothing stored: centred 16:9 on the primary") << QVariant() << firstStart;
        QTest::addRow("zero width counts as absent") << QVariant(QRect(100, 100, 0, 500)) << firstStart;
        // What "@Rect(2147483000 0 2000 100)" becomes when read: the right edge wrapped around.
        QTest::addRow("edges past int range count as absent")
            << QVariant(QRect(QPoint(2147483000, 0), QPoint(INT_MIN + 1351, 99))) << firstStart;
        QTest::addRow("edges past widget range count as absent")
            << QVariant(QRect(-30000000, 10, 800, 600)) << firstStart;
        QTest::addRow("on no screen: primary's top-left") << QVariant(QRect(5000, 5000, 800, 600))
            << onPrimary(QRect(0, 0, 800, 600), QRect(1920, 0, 800, 600));
        QTest::addRow("inside a screen: as stored") << QVariant(QRect(2000, 100, 800, 600))
            << QRect(2000, 100, 800, 600);
        QTest::addRow("reaching past its screen: pushed inside") << QVariant(QRect(1500, 800, 800, 600))
            << QRect(1120, 440, 800, 600);
        QTest::addRow("larger than its screen: reduced to it") << QVariant(QRect(100, 50, 2500, 1500))
            << QRect(0, 0, 1920, 1040);
        // clang-format on
    }

    void restoreGeometry()
    {
        QFETCH(QVariant, stored);
        QFETCH(QRect, expected);
        storeState(stored, false);
        FrameWindow window;
        window.restoreWindowState();
        QCOMPARE(window.geometry(), expected);
        QCOMPARE(window.normalWindowGeometry(), expected);
    }

    // Scaled desktops can report an available area that is a multiple of the screen.
    void maximizedGeometry_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        // clang-format off
        QTest::addRow("within the screen") << QRect(0, 30, 1920, 1050) << QRect(0, 30, 1920, 1050);
        QTest::addRow("three times, keeps its top-left") << QRect(10, 20, 5760, 3240) << QRect(10, 20, 1920, 1080);
        QTest::addRow("height a multiple only") << QRect(0, 0, 2000, 2160) << QRect(0, 0, 1000, 1080);
        QTest::addRow("neither a multiple") << QRect(0, 0, 2000, 1100) << QRect(0, 0, 1920, 1080);
        // clang-format on
    }

    void maximizedGeometry()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        QCOMPARE(::maximizedGeometry(QRect(0, 0, 1920, 1080), available), expected);
    }

    // A file or relay start restores and saves before anything decides to show the window.
    void hiddenMaximizedStartStaysHiddenAndKeepsThePreference()
    {
        storeState(QRect(2000, 100, 800, 600), true);
        FrameWindow window;
        window.restoreWindowState();
        window.saveWindowState();
        window.saveWindowState();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.frame->looks, QList<bool>{true});
        QCOMPARE(window.geometry(), squareScreen);
        QCOMPARE(stored(), std::make_pair(QRect(2000, 100, 800, 600), true));

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.isMaximized());
        window.restoreWindow();
        QCOMPARE(window.geometry(), QRect(2000, 100, 800, 600));
        QCOMPARE(window.frame->looks.last(), false);
    }

    // The window manager's state changes are followed; moves and resizes while maximised are
    // not the normal geometry, and saving stores the normal one with the maximised flag and shows
    // it again.
    void maximisingFollowsTheWindowManagerAndSavesTheNormalGeometry()
    {
        FrameWindow window;
        showRestored(window);
        window.windowHandle()->setWindowStates(Qt::WindowMaximized);
        QTRY_VERIFY(window.isMaximizedState());
        window.windowHandle()->setWindowStates(Qt::WindowMinimized | Qt::WindowMaximized);
        QTRY_VERIFY(window.isMinimized());
        QVERIFY(window.isMaximizedState());
        window.windowHandle()->setWindowStates(Qt::WindowNoState);
        QTRY_VERIFY(!window.isMaximizedState());
        QCOMPARE(window.normalWindowGeometry(), normal);

        window.setGeometry(150, 120, 900, 650);
        window.maximizeWindow();
        QCOMPARE(window.geometry(), wideScreen);
        window.move(20, 10);
        window.resize(1000, 700);
        window.saveWindowState();
        QCOMPARE(stored(), std::make_pair(QRect(150, 120, 900, 650), true));
        QVERIFY(!window.isMaximizedState());
        QVERIFY(!(window.windowState() & Qt::WindowMaximized));
        QCOMPARE(window.geometry(), QRect(150, 120, 900, 650));
        QCOMPARE(window.frame->looks, (QList<bool>{true, false, true, false}));
    }

    void captionParts_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<bool>("caption");
        QTest::addRow("logo text") << "logoText" << true;
        QTest::addRow("empty middle") << "empty middle" << true;
        QTest::addRow("application icon") << "appIcon" << false;
        QTest::addRow("close button") << "close button" << false;
    }

    // The Windows hit test answers caption (2) or client (1); elsewhere a caption drag moves
    // the window, here by the mouse's travel as offscreen refuses the system move.
    void captionParts()
    {
        QFETCH(QString, part);
        QFETCH(bool, caption);
        FrameWindow window;
        showRestored(window);
        const QPoint press = pointOn(window, part);
        qintptr answer = 0;
        QVERIFY(MessageFrameBehaviour(&window)
                    .handleWindowMessage({0, 0x0084, 0, std::intptr_t(press.y()) << 16 | press.x()},
                                         &answer));
        QCOMPARE(answer, caption ? 2 : 1);

        QWidget *target = widgetAt(window, press);
        sendMouse(target, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        sendMouse(target, QEvent::MouseMove, press + QPoint(2, 1), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window.pos(), normal.topLeft()); // not yet a drag
        sendMouse(target, QEvent::MouseMove, press + QPoint(60, 40), Qt::NoButton, Qt::LeftButton);
        sendMouse(target, QEvent::MouseButtonRelease, press + QPoint(60, 40), Qt::LeftButton, {});
        QCOMPARE(window.pos(), normal.topLeft() + (caption ? QPoint(60, 40) : QPoint()));
        QCOMPARE(window.normalWindowGeometry().topLeft(), window.pos());
    }

    void windowsCommands()
    {
        FrameWindow window;
        showRestored(window);
        MessageFrameBehaviour messages(&window);
        qintptr result = 0;
        const auto send = [&messages, &result](std::uint32_t message, std::uintptr_t wParam) {
            return messages.handleWindowMessage({0, message, wParam, 0}, &result);
        };
        QVERIFY(send(0x0112, 0xF032) && window.isMaximizedState());  // maximise
        QVERIFY(send(0x0112, 0xF120) && !window.isMaximizedState()); // restore
        QCOMPARE(window.geometry(), normal);
        QVERIFY(send(0x00A3, 0) && window.isMaximizedState()); // caption double click
        QVERIFY(send(0x00A3, 0) && !window.isMaximizedState());

        QGuiApplication::setOverrideCursor(QCursor(Qt::SizeFDiagCursor));
        QVERIFY(!send(0x0112, 0xF060)); // close: not ours
        QVERIFY(window.isVisible());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        QVERIFY(send(0x0112, 0xF020));
        QTRY_VERIFY(window.isMinimized());
    }

    // The menu at the right click, its entries enabled by the state; the maximise button's look
    // follows.
    void systemMenuOnRightClick()
    {
        FrameWindow window;
        showRestored(window);
        auto menu = window.findChild<QMenu *>(QStringLiteral("systemMenu"));
        auto button = qobject_cast<QToolButton *>(
            titleButton(window.frame->titleBar, QStringLiteral("maximizeAction")));
        const qint64 maximizeIcon = button->icon().cacheKey();
        QPoint point;
        const auto open = [&] {
            point = pointOn(window, QStringLiteral("empty middle"));
            sendMouse(widgetAt(window, point),
                      QEvent::MouseButtonPress,
                      point,
                      Qt::RightButton,
                      Qt::RightButton);
            QStringList shown;
            if (QTest::qWaitFor([menu] { return menu->isVisible(); }))
                for (const QAction *action : menu->actions())
                    shown << action->text() + (action->isEnabled() ? "" : " (off)");
            return shown;
        };

        QCOMPARE(open(), (QStringList{"Restore Down (off)", "Minimize", "Maximize", "", "Close"}));
        QCOMPARE(menu->pos(), point);
        QGuiApplication::setOverrideCursor(QCursor(Qt::SizeHorCursor));
        menu->actions().at(2)->trigger();
        menu->hide();
        QVERIFY(window.isMaximizedState());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        QCOMPARE(button->toolTip(), "Restore Down");
        QVERIFY(button->icon().cacheKey() != maximizeIcon);

        QCOMPARE(open(), (QStringList{"Restore Down", "Minimize", "Maximize (off)", "", "Close"}));
        menu->actions().at(0)->trigger();
        menu->hide();
        QCOMPARE(window.geometry(), normal);
        QCOMPARE(button->toolTip(), "Maximize");
        QCOMPARE(button->icon().cacheKey(), maximizeIcon);
    }

    // The single click shows that the wait is long enough for the menu to come.
    void applicationIconDoubleClickClosesWithoutTheMenu_data()
    {
        QTest::addColumn<bool>("twice");
        QTest::addRow("double click: closes, no menu") << true;
        QTest::addRow("single click: the menu at the press point, no close") << false;
    }

    void applicationIconDoubleClickClosesWithoutTheMenu()
    {
        QFETCH(bool, twice);
        FrameWindow window;
        RecordingObserver observer;
        showRestored(window);
        auto icon = window.frame->titleBar->findChild<QWidget *>(QStringLiteral("appIcon"));
        auto menu = window.findChild<QMenu *>(QStringLiteral("systemMenu"));
        const QPoint point = centreOf(icon);
        if (twice) {
            sendDoubleClick(icon, point);
        } else {
            sendMouse(icon, QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton);
            sendMouse(icon, QEvent::MouseButtonRelease, point, Qt::LeftButton, {});
            QVERIFY(!menu->isVisible()); // a double click may still follow
        }
        QTest::qWait(QApplication::doubleClickInterval() * 2);
        QCOMPARE(observer.count("close"), twice ? 1 : 0);
        QCOMPARE(menu->isVisible(), !twice);
        if (!twice)
            QCOMPARE(menu->pos(), point);
    }

private:
    QTranslator translator;
};

QTEST_MAIN(TestMainWindowBase)
#include "tst_mainwindowbase.moc"
