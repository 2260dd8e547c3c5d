// The frameless main window around the real client area: its resize handles and border, where it
// opens, what it stores, its two states, the Windows messages and, where there are none, its
// caption and system menu through Qt (drags and the caption's double click on a real display are
// realwindow.py's), and the commands reached through menus, keys and buttons.

#include "app/centralwidget.h"
#include "base/appfont.h"
#include "base/resourcestrings.h"
#include "base/settings.h"
#include "base/widgethelpers.h"
#include "frame/mainwindowbase.h"
#include "frame/messageframebehaviour.h"
#include "frame/resizehandle.h"
#include "frame/titlebar.h"
#include "frame/windowgeometry.h"
#include "platform/windowmessages.h"

#include "modaldialoganswerer.h"
#include "recordingobserver.h"

#include <QtTest>

#include <QDialog>
#include <QMenu>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

#include <climits>

using Edge = ResizeHandle::Edge;
Q_DECLARE_METATYPE(ResizeHandle::Edge)

namespace {

const QRect wideScreen(0, 0, 1920, 1040);
const QRect squareScreen(1920, 0, 1280, 1024);
const QRect normal(100, 100, 800, 600);

// A mouse event at a global point, as a real one arrives: one the widget ignores goes to its
// parents.
void sendMouse(QWidget *widget,
               QEvent::Type type,
               const QPoint &global,
               Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type,
                      QPointF(widget->mapFromGlobal(global)),
                      QPointF(global),
                      button,
                      buttons,
                      {});
    QApplication::sendEvent(widget, &event);
}

QPoint centreOf(const QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
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

class Window final : public MainWindowBase
{
public:
    Window()
        : MainWindowBase(nullptr)
    {
        installCentralWidget(new CentralWidget(this));
    }

    TitleBar *titleBar() const { return findChild<TitleBar *>(); }
    QMenu *systemMenu() const { return findChild<QMenu *>(QStringLiteral("systemMenu")); }
    QToolButton *button(const QString &action) const
    {
        const auto buttons = titleBar()->findChild<QToolBar *>(QStringLiteral("titleButtons"));
        for (QAction *each : buttons->actions()) {
            if (each->objectName() == action)
                return qobject_cast<QToolButton *>(buttons->widgetForAction(each));
        }
        return nullptr;
    }
    // What the maximise button offers: "Maximize" or "Restore Down".
    QString look() const { return button(QStringLiteral("maximizeAction"))->toolTip(); }

    void showRestored()
    {
        storeState(normal, false);
        restoreWindowState();
        show();
        QVERIFY(QTest::qWaitForWindowExposed(this));
    }

    QPoint pointOn(const QString &part) const
    {
        if (part == QLatin1String("empty middle"))
            return titleBar()->mapToGlobal(titleBar()->rect().center());
        if (part == QLatin1String("close button"))
            return centreOf(button(QStringLiteral("closeAction")));
        return centreOf(titleBar()->findChild<QWidget *>(part));
    }

    // The widget a real event at the point would go to.
    QWidget *widgetAt(const QPoint &global)
    {
        QWidget *child = childAt(mapFromGlobal(global));
        return child != nullptr ? child : this;
    }
};

} // namespace

class TestFrame final : public QObject
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
        // Shortens the wait for the application icon's menu.
        QApplication::setDoubleClickInterval(100);
    }

    void cleanup() { restoreAllOverrideCursors(); }

    // Target at (300, 200), 400 x 300, minimum 200 x 150; moves from the press point.
    void handleDrag_data()
    {
        QTest::addColumn<Edge>("edge");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<int>("steps"); // resized() signals
        QTest::addColumn<Qt::MouseButtons>("held");
        const Qt::MouseButtons left = Qt::LeftButton;
        // clang-format off
        QTest::addRow("top down pauses at the minimum, resumes") << Edge::Top << QList<QPoint>{{0, 100}, {0, 200}, {0, 120}} << QRect(300, 320, 400, 180) << 2 << left;
        QTest::addRow("right upper as right") << Edge::RightUpper << QList<QPoint>{{50, 0}} << QRect(300, 200, 450, 300) << 1 << left;
        QTest::addRow("left pauses at the minimum with its right edge kept, resumes") << Edge::Left << QList<QPoint>{{150, 0}, {250, 0}, {-50, 0}} << QRect(250, 200, 450, 300) << 2 << left;
        QTest::addRow("left upper as left") << Edge::LeftUpper << QList<QPoint>{{-20, 0}} << QRect(280, 200, 420, 300) << 1 << left;
        QTest::addRow("top right, height below the minimum: bottom kept") << Edge::TopRight << QList<QPoint>{{50, 200}} << QRect(300, 350, 450, 150) << 1 << left;
        QTest::addRow("top right, both below the minimum: paused") << Edge::TopRight << QList<QPoint>{{-300, 200}} << QRect(300, 200, 400, 300) << 0 << left;
        QTest::addRow("top left, width below the minimum: right edge kept") << Edge::TopLeft << QList<QPoint>{{250, -20}} << QRect(500, 180, 200, 320) << 1 << left;
        QTest::addRow("top left, both below the minimum: paused") << Edge::TopLeft << QList<QPoint>{{-20, -20}, {250, 200}} << QRect(280, 180, 420, 320) << 1 << left;
        QTest::addRow("bottom right clamps both") << Edge::BottomRight << QList<QPoint>{{-300, -300}} << QRect(300, 200, 200, 150) << 1 << left;
        QTest::addRow("bottom left, width below the minimum: right edge kept") << Edge::BottomLeft << QList<QPoint>{{250, 20}} << QRect(500, 200, 200, 320) << 1 << left;
        QTest::addRow("two-button drag ignored") << Edge::Left << QList<QPoint>{{-50, 0}} << QRect(300, 200, 400, 300) << 0 << (Qt::LeftButton | Qt::RightButton);
        // clang-format on
    }

    void handleDrag()
    {
        QFETCH(Edge, edge);
        QFETCH(QList<QPoint>, moves);
        QFETCH(Qt::MouseButtons, held);
        QWidget target;
        target.setMinimumSize(200, 150);
        target.setGeometry(300, 200, 400, 300);
        QWidget parent;
        auto handle = new ResizeHandle(&parent, &target, edge);
        QSignalSpy resized(handle, &ResizeHandle::resized);
        const QPoint press(1000, 800);
        sendMouse(handle, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        for (const QPoint &move : moves)
            sendMouse(handle, QEvent::MouseMove, press + move, Qt::NoButton, held);
        QTEST(target.geometry(), "expected");
        QTEST(int(resized.size()), "steps");
    }

    // Another widget's cursor underneath: leaving pops every cursor the handle pushed.
    void handleCursor()
    {
        ResizeHandle handle(nullptr, nullptr, Edge::BottomRight);
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&handle, &enter);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeFDiagCursor);
        QApplication::sendEvent(&handle, &enter);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&handle, &leave);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    // Around the page as thick as drawn: black at the top and beside the title bar (as tall as
    // it), grey below; all gone while the window is maximised.
    void borderAroundThePage()
    {
        Window window;
        window.setGeometry(100, 100, 900, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int t = scaledSize(5), w = 900, h = 400, bar = window.titleBar()->height();
        const auto drawn = [&window](const QList<QPoint> &points) {
            const QImage image = window.grab().toImage();
            QString colours;
            for (const QPoint &point : points) {
                const QColor colour = image.pixelColor(point);
                colours += colour == Qt::black ? 'b' : colour == greyColor(153, 255) ? 'g' : '.';
            }
            return colours;
        };
        const int low = h - t - 2; // beside the page
        QCOMPARE(drawn({{0, t + bar - 1},
                        {w - 1, t + bar - 1},
                        {0, t + bar},
                        {w - 1, t + bar},
                        {t - 1, low},
                        {t, low},
                        {w - t - 1, low},
                        {w - t, low},
                        {w / 2, h - t - 1},
                        {w / 2, h - t},
                        {0, h - 1},
                        {w - 1, h - 1}}),
                 "bbggg..g.ggg");
        QCOMPARE(window.titleBar()->mapTo(&window, QPoint()), QPoint(t, t));
        window.maximizeWindow();
        QTRY_COMPARE(drawn({{0, window.height() - 1}}), ".");
        window.restoreWindow();
        QCOMPARE(drawn({{t - 1, low}, {t, low}}), "g.");
    }

    void restoreGeometry_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QRect>("expected");
        const bool widePrimary = QGuiApplication::primaryScreen()->geometry() == wideScreen;
        const QRect firstStart = widePrimary ? QRect(192, 88, 1536, 864)
                                             : QRect(2048, 224, 1024, 576);
        // clang-format off
        QTest::addRow("nothing stored: centred 16:9 on the primary") << QVariant() << firstStart;
        QTest::addRow("zero width counts as absent") << QVariant(QRect(100, 100, 0, 500)) << firstStart;
        // What "@Rect(2147483000 0 2000 100)" becomes when read: the right edge wrapped around.
        QTest::addRow("edges past int range count as absent") << QVariant(QRect(QPoint(2147483000, 0), QPoint(INT_MIN + 1351, 99))) << firstStart;
        QTest::addRow("edges past widget range count as absent") << QVariant(QRect(-30000000, 10, 800, 600)) << firstStart;
        QTest::addRow("on no screen: primary's top-left") << QVariant(QRect(5000, 5000, 800, 600)) << (widePrimary ? QRect(0, 0, 800, 600) : QRect(1920, 0, 800, 600));
        QTest::addRow("inside a screen: as stored") << QVariant(QRect(2000, 100, 800, 600)) << QRect(2000, 100, 800, 600);
        QTest::addRow("reaching past its screen: pushed inside") << QVariant(QRect(1500, 800, 800, 600)) << QRect(1120, 440, 800, 600);
        QTest::addRow("larger than its screen: reduced to it") << QVariant(QRect(100, 50, 2500, 1500)) << QRect(0, 0, 1920, 1040);
        // clang-format on
    }

    void restoreGeometry()
    {
        QFETCH(QVariant, stored);
        QFETCH(QRect, expected);
        storeState(stored, false);
        Window window;
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
        QTEST(::maximizedGeometry(QRect(0, 0, 1920, 1080), available), "expected");
    }

    // A file or relay start restores and saves before anything decides to show the window.
    void hiddenMaximizedStartStaysHiddenAndKeepsThePreference()
    {
        storeState(QRect(2000, 100, 800, 600), true);
        Window window;
        window.restoreWindowState();
        window.saveWindowState();
        window.saveWindowState();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.look(), "Restore Down");
        QCOMPARE(window.geometry(), squareScreen);
        QCOMPARE(stored(), std::make_pair(QRect(2000, 100, 800, 600), true));

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.isMaximized());
        window.restoreWindow();
        QCOMPARE(window.geometry(), QRect(2000, 100, 800, 600));
        QCOMPARE(window.look(), "Maximize");
    }

    // The window manager's state changes are followed; moves and resizes while maximised are
    // not the normal geometry, and saving stores the normal one with the maximised flag and shows
    // it again.
    void maximisingFollowsTheWindowManagerAndSavesTheNormalGeometry()
    {
        Window window;
        window.showRestored();
        window.windowHandle()->setWindowStates(Qt::WindowMaximized);
        QTRY_VERIFY(window.isMaximizedState());
        QCOMPARE(window.look(), "Restore Down");
        window.windowHandle()->setWindowStates(Qt::WindowMinimized | Qt::WindowMaximized);
        QTRY_VERIFY(window.isMinimized());
        QVERIFY(window.isMaximizedState());
        window.windowHandle()->setWindowStates(Qt::WindowNoState);
        QTRY_VERIFY(!window.isMaximizedState());
        QCOMPARE(window.normalWindowGeometry(), normal);
        QCOMPARE(window.look(), "Maximize");

        window.setGeometry(150, 120, 900, 650);
        window.maximizeWindow();
        QCOMPARE(window.geometry(), wideScreen);
        QCOMPARE(window.look(), "Restore Down");
        window.move(20, 10);
        window.resize(1000, 700);
        window.saveWindowState();
        QCOMPARE(stored(), std::make_pair(QRect(150, 120, 900, 650), true));
        QVERIFY(!window.isMaximizedState() && !(window.windowState() & Qt::WindowMaximized));
        QCOMPARE(window.geometry(), QRect(150, 120, 900, 650));
        QCOMPARE(window.look(), "Maximize");
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
        Window window;
        window.showRestored();
        const QPoint press = window.pointOn(part);
        qintptr answer = 0;
        QVERIFY(MessageFrameBehaviour(&window)
                    .handleWindowMessage({0, 0x0084, 0, std::intptr_t(press.y()) << 16 | press.x()},
                                         &answer));
        QCOMPARE(answer, caption ? 2 : 1);

        QWidget *target = window.widgetAt(press);
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
        Window window;
        window.showRestored();
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

    // The menu at a right click on the caption, its entries enabled by the state; the maximise
    // button's look follows.
    void systemMenu()
    {
        Window window;
        window.showRestored();
        QMenu *menu = window.systemMenu();
        const qint64 maximizeIcon = window.button("maximizeAction")->icon().cacheKey();
        QPoint point;
        const auto open = [&] {
            point = window.pointOn(QStringLiteral("empty middle"));
            sendMouse(window.widgetAt(point),
                      QEvent::MouseButtonPress,
                      point,
                      Qt::RightButton,
                      Qt::RightButton);
            QString enabled; // Restore Down, Minimize, Maximize, a separator, Close
            if (QTest::qWaitFor([menu] { return menu->isVisible(); }))
                for (const QAction *action : menu->actions())
                    enabled += action->isEnabled() ? '+' : '-';
            return enabled;
        };

        QCOMPARE(open(), "-++++");
        QCOMPARE(menu->pos(), point);
        QGuiApplication::setOverrideCursor(QCursor(Qt::SizeHorCursor));
        menu->actions().at(2)->trigger();
        menu->hide();
        QVERIFY(window.isMaximizedState());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        QCOMPARE(window.look(), "Restore Down");
        QVERIFY(window.button("maximizeAction")->icon().cacheKey() != maximizeIcon);

        QCOMPARE(open(), "++-++");
        menu->actions().at(0)->trigger();
        menu->hide();
        QCOMPARE(window.geometry(), normal);
        QCOMPARE(window.look(), "Maximize");
        QCOMPARE(window.button("maximizeAction")->icon().cacheKey(), maximizeIcon);

        // A click on the application icon opens it too once no double click can follow; a double
        // click closes instead.
        RecordingObserver observer;
        auto icon = window.titleBar()->findChild<QWidget *>(QStringLiteral("appIcon"));
        point = centreOf(icon);
        for (const bool twice : {true, false}) {
            QList<QEvent::Type> clicks{QEvent::MouseButtonPress, QEvent::MouseButtonRelease};
            if (twice)
                clicks << QEvent::MouseButtonPress << QEvent::MouseButtonDblClick
                       << QEvent::MouseButtonRelease;
            for (const QEvent::Type type : clicks) {
                const bool down = type != QEvent::MouseButtonRelease;
                sendMouse(icon, type, point, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton);
            }
            QVERIFY(!menu->isVisible());
            QTest::qWait(QApplication::doubleClickInterval() * 2);
            QCOMPARE(observer.count("close"), 1);
            QCOMPARE(menu->isVisible(), !twice);
        }
        QCOMPARE(menu->pos(), point);
    }

    // What a user reaches through the window's menus, shortcuts, tool bar and title-bar buttons:
    // a dialog (by class) or a broadcast.
    void commandsOfTheRunningWindow_data()
    {
        QTest::addColumn<QString>("how"); // keys, with a space before a key pressed in the menu
        QTest::addColumn<QString>("reached");
        // clang-format off
        QTest::addRow("Ctrl+O") << "Ctrl+O" << "QFileDialog";
        QTest::addRow("File menu, Open") << "Alt+F O" << "QFileDialog";
        QTest::addRow("tool bar") << "toolBar" << "QFileDialog";
        QTest::addRow("Alt+F4") << "Alt+F4" << "close";
        QTest::addRow("About menu, About") << "Alt+A A" << "DialogAbout";
        QTest::addRow("About menu, Legal") << "Alt+A L" << "DialogLegal";
        QTest::addRow("minimise button") << "minimizeAction" << "minimize";
        QTest::addRow("maximise button") << "maximizeAction" << "maximize";
        QTest::addRow("close button") << "closeAction" << "close";
        // clang-format on
    }

    void commandsOfTheRunningWindow()
    {
        QFETCH(QString, how);
        QFETCH(QString, reached);
        Window window;
        window.setGeometry(100, 100, 900, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        RecordingObserver observer;
        QStringList seen;
        if (reached.contains("Dialog")) {
            answerModalDialog([&seen](QWidget *modal) {
                seen << modal->metaObject()->className();
                static_cast<QDialog *>(modal)->reject();
            });
        }
        if (QToolButton *button = window.button(how)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (how == "toolBar") {
            auto bar = window.findChild<QToolBar *>(how);
            QTest::mouseClick(bar->widgetForAction(bar->actions().first()), Qt::LeftButton);
        } else {
            const QStringList keys = how.split(' ');
            QTest::keySequence(window.windowHandle(), QKeySequence(keys.first()));
            if (keys.size() > 1) {
                QTRY_VERIFY(QApplication::activePopupWidget());
                QTest::keySequence(QApplication::activePopupWidget()->windowHandle(),
                                   QKeySequence(keys.last()));
            }
        }
        QCOMPARE(seen + observer.calls, QStringList{reached});
        QCOMPARE(pendingModalAnswers(), 0);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowState(), Qt::WindowNoState);
    }

private:
    QTranslator translator;
};

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
