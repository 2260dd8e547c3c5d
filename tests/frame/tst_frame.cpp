// The frameless main window around the real client area, and the commands users reach in it.

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

#include <QtWidgets>

using Edge = ResizeHandle::Edge;

namespace {

const QRect wideScreen(0, 0, 1920, 1040);
const QRect squareScreen(1920, 0, 1280, 1024);
const QRect normal(100, 100, 800, 600);

// As a real event arrives: one the widget ignores goes to its parents.
void sendMouse(QWidget *to, QEvent::Type type, QPoint at, Qt::MouseButtons held = Qt::LeftButton)
{
    const Qt::MouseButton pressed = held == Qt::RightButton ? Qt::RightButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : pressed;
    QMouseEvent event(type, QPointF(to->mapFromGlobal(at)), QPointF(at), button, held, {});
    QApplication::sendEvent(to, &event);
}

void storeState(const QVariant &geometry, bool maximized)
{
    settings().clear();
    if (geometry.isValid())
        setSettingsValue(QStringLiteral("GeometryMainWindow"), geometry);
    setSettingsValue(QStringLiteral("StateMainWindowMaximized"), maximized);
}

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
        for (QToolButton *each : titleBar()->findChildren<QToolButton *>())
            if (each->defaultAction() != nullptr && each->defaultAction()->objectName() == action)
                return each;
        return nullptr;
    }
    QString look() const { return button(QStringLiteral("maximizeAction"))->toolTip(); }

    void showRestored()
    {
        storeState(normal, false);
        restoreWindowState();
        show();
        QVERIFY(QTest::qWaitForWindowExposed(this));
    }

    // The centre of a part of the title bar; of its empty middle if none is named.
    QPoint pointOn(const QString &part) const
    {
        const QWidget *on = part.isEmpty()            ? titleBar()
                            : part.endsWith("Action") ? button(part)
                                                      : findChild<QWidget *>(part);
        return on->mapToGlobal(on->rect().center());
    }
};

} // namespace

class TestFrame final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(installResourceStrings(*new QTranslator(qApp)));
        QApplication::setDoubleClickInterval(100); // a shorter wait for the icon's menu
    }

    void cleanup() { restoreAllOverrideCursors(); }

    // Target at (300, 200), 400 x 300, minimum 200 x 150; moves from the press point.
    void handleDrag_data()
    {
        QTest::addColumn<Edge>("edge");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<std::pair<QRect, int>>("expected"); // and how many resized() signals
        QTest::addColumn<Qt::MouseButtons>("held");
        QTest::addColumn<Qt::CursorShape>("cursor");
        const Qt::MouseButtons left = Qt::LeftButton;
        // clang-format off
        QTest::addRow("top down pauses at the minimum, resumes") << Edge::Top << QList<QPoint>{{0, 100}, {0, 200}, {0, 120}} << std::pair(QRect(300, 320, 400, 180), 2) << left << Qt::SizeVerCursor;
        QTest::addRow("right upper as right") << Edge::RightUpper << QList<QPoint>{{50, 0}} << std::pair(QRect(300, 200, 450, 300), 1) << left << Qt::SizeHorCursor;
        QTest::addRow("left pauses at the minimum with its right edge kept, resumes") << Edge::Left << QList<QPoint>{{150, 0}, {250, 0}, {-50, 0}} << std::pair(QRect(250, 200, 450, 300), 2) << left << Qt::SizeHorCursor;
        QTest::addRow("left upper as left") << Edge::LeftUpper << QList<QPoint>{{-20, 0}} << std::pair(QRect(280, 200, 420, 300), 1) << left << Qt::SizeHorCursor;
        QTest::addRow("top right, height below the minimum: bottom kept") << Edge::TopRight << QList<QPoint>{{50, 200}} << std::pair(QRect(300, 350, 450, 150), 1) << left << Qt::SizeBDiagCursor;
        QTest::addRow("top right, both below the minimum: paused") << Edge::TopRight << QList<QPoint>{{-300, 200}} << std::pair(QRect(300, 200, 400, 300), 0) << left << Qt::SizeBDiagCursor;
        QTest::addRow("top left, width below the minimum: right edge kept") << Edge::TopLeft << QList<QPoint>{{250, -20}} << std::pair(QRect(500, 180, 200, 320), 1) << left << Qt::SizeFDiagCursor;
        QTest::addRow("top left, both below the minimum: paused") << Edge::TopLeft << QList<QPoint>{{-20, -20}, {250, 200}} << std::pair(QRect(280, 180, 420, 320), 1) << left << Qt::SizeFDiagCursor;
        QTest::addRow("bottom right clamps both") << Edge::BottomRight << QList<QPoint>{{-300, -300}} << std::pair(QRect(300, 200, 200, 150), 1) << left << Qt::SizeFDiagCursor;
        QTest::addRow("bottom left, width below the minimum: right edge kept") << Edge::BottomLeft << QList<QPoint>{{250, 20}} << std::pair(QRect(500, 200, 200, 320), 1) << left << Qt::SizeBDiagCursor;
        QTest::addRow("two-button drag ignored") << Edge::Left << QList<QPoint>{{-50, 0}} << std::pair(QRect(300, 200, 400, 300), 0) << (Qt::LeftButton | Qt::RightButton) << Qt::SizeHorCursor;
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
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); // another widget's, underneath
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(handle, &enter);
        QApplication::sendEvent(handle, &enter);
        QTEST(QGuiApplication::overrideCursor()->shape(), "cursor");
        const QPoint press(1000, 800);
        sendMouse(handle, QEvent::MouseButtonPress, press);
        for (const QPoint &move : moves)
            sendMouse(handle, QEvent::MouseMove, press + move, held);
        QTEST(std::make_pair(target.geometry(), int(resized.size())), "expected");
        QEvent leave(QEvent::Leave); // pops every cursor the handle pushed
        QApplication::sendEvent(handle, &leave);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void restoreGeometry_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QRect>("expected"); // the normal geometry
        const bool widePrimary = QGuiApplication::primaryScreen()->geometry() == wideScreen;
        const QRect centred = widePrimary ? QRect(192, 88, 1536, 864) : QRect(2048, 224, 1024, 576);
        // clang-format off
        QTest::addRow("nothing stored: centred 16:9 on the primary") << QVariant() << false << centred;
        QTest::addRow("zero width counts as absent") << QVariant(QRect(100, 100, 0, 500)) << false << centred;
        // What "@Rect(2147483000 0 2000 100)" becomes when read: the right edge wrapped around.
        QTest::addRow("edges past int range count as absent") << QVariant(QRect(QPoint(2147483000, 0), QPoint(-2147482297, 99))) << false << centred;
        QTest::addRow("edges past widget range count as absent") << QVariant(QRect(-30000000, 10, 800, 600)) << false << centred;
        QTest::addRow("on no screen: primary's top-left") << QVariant(QRect(5000, 5000, 800, 600)) << false << (widePrimary ? QRect(0, 0, 800, 600) : QRect(1920, 0, 800, 600));
        QTest::addRow("inside a screen: as stored") << QVariant(QRect(2000, 100, 800, 600)) << false << QRect(2000, 100, 800, 600);
        QTest::addRow("reaching past its screen: pushed inside") << QVariant(QRect(1500, 800, 800, 600)) << false << QRect(1120, 440, 800, 600);
        QTest::addRow("larger than its screen: reduced to it") << QVariant(QRect(100, 50, 2500, 1500)) << false << QRect(0, 0, 1920, 1040);
        QTest::addRow("maximised: on its screen, shown so") << QVariant(QRect(2000, 100, 800, 600)) << true << QRect(2000, 100, 800, 600);
        // clang-format on
    }

    // A file or relay start restores and saves before anything decides to show the window.
    void restoreGeometry()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, maximised);
        QFETCH(QRect, expected);
        storeState(stored, maximised);
        Window window;
        window.restoreWindowState();
        window.saveWindowState();
        window.saveWindowState();
        QCOMPARE(window.geometry(), maximised ? squareScreen : expected);
        QCOMPARE(window.isMaximized(), maximised);
        QCOMPARE(window.look(), maximised ? "Restore Down" : "Maximize");
        QCOMPARE(::stored(), std::make_pair(expected, maximised));
    }

    // Scaled desktops can report an available area that is a multiple of the screen or its height.
    void maximizedGeometry()
    {
        const QRect screen(0, 0, 1920, 1080);
        QCOMPARE(::maximizedGeometry(screen, {0, 30, 1920, 1050}), QRect(0, 30, 1920, 1050));
        QCOMPARE(::maximizedGeometry(screen, {10, 20, 5760, 3240}), QRect(10, 20, 1920, 1080));
        QCOMPARE(::maximizedGeometry(screen, {0, 0, 2000, 2160}), QRect(0, 0, 1000, 1080));
        QCOMPARE(::maximizedGeometry(screen, {0, 0, 2000, 1100}), QRect(0, 0, 1920, 1080));
    }

    void maximiseAndRestore_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addRow("system menu") << "menu";
        QTest::addRow("system commands") << "commands";
        QTest::addRow("caption double clicks") << "double clicks";
        QTest::addRow("caption double clicks, through Qt") << "Qt double clicks";
        QTest::addRow("window manager") << "manager";
        QTest::addRow("saving, moved while maximised") << "saving";
    }

    // Border: black by the title bar, grey below, none maximised; no resize cursor outlives a command.
    void maximiseAndRestore()
    {
        QFETCH(QString, route);
        Window window;
        window.showRestored();
        const QRect moved(150, 120, 900, 650);
        window.setGeometry(moved);
        const int t = scaledSize(5), w = moved.width(), h = moved.height(),
                  top = t + window.titleBar()->height(), low = h - t - 2; // beside the page
        const auto drawn = [&window](const QList<QPoint> &points) {       // each, then its mirror
            const QImage image = window.grab().toImage();
            QString colours;
            for (const QPoint &point : points) {
                for (const int x : {point.x(), image.width() - 1 - point.x()}) {
                    const QColor c = image.pixelColor(x, point.y());
                    colours += c == Qt::black ? 'b' : c == greyColor(153, 255) ? 'g' : '.';
                }
            }
            return colours;
        };
        QCOMPARE(drawn({{0, top - 1}, {0, top}, {t - 1, low}, {t, low}}), "bbgggg..");
        QCOMPARE(drawn({{w / 2, h - t - 1}, {w / 2, h - t}, {0, h - 1}}), "..gggg");
        QCOMPARE(window.titleBar()->mapTo(&window, QPoint()), QPoint(t, t));
        QMenu *menu = window.systemMenu();
        const qint64 maximizeIcon = window.button("maximizeAction")->icon().cacheKey();
        MessageFrameBehaviour messages(&window);
        qintptr result = 0;
        const auto send = [&messages, &result](std::uint32_t message, std::uintptr_t wParam) {
            return messages.handleWindowMessage({0, message, wParam, 0}, &result);
        };
        for (const bool maximise : {true, false}) {
            const QPoint at = window.pointOn({});
            QGuiApplication::setOverrideCursor(QCursor(Qt::SizeHorCursor));
            if (route == "saving" && maximise) {
                window.maximizeWindow();
            } else if (route == "saving") { // stores the normal geometry, shows it again
                window.move(20, 10);
                window.resize(1000, 700);
                window.saveWindowState();
                QCOMPARE(stored(), std::make_pair(moved, true));
            } else if (route == "manager") {
                window.windowHandle()->setWindowStates(maximise ? Qt::WindowMaximized
                                                                : Qt::WindowNoState);
            } else if (route == "Qt double clicks") {
                sendMouse(QApplication::widgetAt(at), QEvent::MouseButtonDblClick, at);
            } else if (route == "menu") {
                sendMouse(QApplication::widgetAt(at), QEvent::MouseButtonPress, at, Qt::RightButton);
                QTRY_VERIFY(menu->isVisible());
                QCOMPARE(menu->pos(), at);
                QString enabled; // Restore Down, Minimize, Maximize, a separator, Close
                for (const QAction *action : menu->actions())
                    enabled += action->isEnabled() ? '+' : '-';
                QCOMPARE(enabled, maximise ? "-++++" : "++-++");
                menu->actions().at(maximise ? 2 : 0)->trigger();
                menu->hide();
            } else {
                const bool commands = route == "commands"; // maximise or restore, else toggle
                QVERIFY(
                    send(commands ? 0x0112 : 0x00A3, commands ? (maximise ? 0xF032 : 0xF120) : 0));
            }
            QTRY_COMPARE(window.isMaximizedState(), maximise);
            QCOMPARE(window.geometry(), maximise ? wideScreen : moved);
            QCOMPARE(window.normalWindowGeometry(), moved);
            QCOMPARE(window.look(), maximise ? "Restore Down" : "Maximize");
            QCOMPARE(window.button("maximizeAction")->icon().cacheKey() != maximizeIcon, maximise);
            QCOMPARE(drawn({{t - 1, window.height() - 1}, {t, low}}), maximise ? "...." : "gg..");
            if (route == "menu" || route == "commands")
                QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
            restoreAllOverrideCursors();
            if (route == "manager" && maximise) { // minimising keeps the flag
                window.windowHandle()->setWindowStates(Qt::WindowMinimized | Qt::WindowMaximized);
                QTRY_VERIFY(window.isMinimized());
                QVERIFY(window.isMaximizedState());
            }
        }
        if (route == "commands") { // close is the system's to carry out
            QVERIFY(!send(0x0112, 0xF060));
            QVERIFY(send(0x0112, 0xF020));
            QTRY_VERIFY(window.isMinimized());
        }
    }

    // Hit test: caption (2) or client (1); offscreen refuses the system move, so the frame moves.
    void captionParts()
    {
        const QList<std::pair<QString, bool>> parts{{"logoText", true},
                                                    {"", true}, // the empty middle
                                                    {"appIcon", false},
                                                    {"closeAction", false}};
        for (const auto &[part, caption] : parts) {
            Window window;
            window.showRestored();
            const QPoint press = window.pointOn(part);
            const std::intptr_t at = std::intptr_t(press.y()) << 16 | press.x();
            qintptr answer = 0;
            QVERIFY(MessageFrameBehaviour(&window).handleWindowMessage({0, 0x0084, 0, at}, &answer));
            QCOMPARE(answer, caption ? 2 : 1);

            QWidget *target = QApplication::widgetAt(press);
            sendMouse(target, QEvent::MouseButtonPress, press);
            sendMouse(target, QEvent::MouseMove, press + QPoint(2, 1));
            QCOMPARE(window.pos(), normal.topLeft()); // not yet a drag
            sendMouse(target, QEvent::MouseMove, press + QPoint(60, 40));
            sendMouse(target, QEvent::MouseButtonRelease, press + QPoint(60, 40), {});
            QCOMPARE(window.pos(), normal.topLeft() + (caption ? QPoint(60, 40) : QPoint()));
            QCOMPARE(window.normalWindowGeometry().topLeft(), window.pos());
        }
    }

    // Through menus, shortcuts, tool bar and title bar: a dialog, a broadcast or the system menu.
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
        QTest::addRow("application icon, click") << "appIcon" << "systemMenu";
        QTest::addRow("application icon, double click") << "appIcon twice" << "close";
        // clang-format on
    }

    void commandsOfTheRunningWindow()
    {
        QFETCH(QString, how);
        QFETCH(QString, reached);
        Window window;
        window.showRestored();
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
        } else if (how.startsWith("appIcon")) { // the menu only once no double click can follow
            auto icon = window.titleBar()->findChild<QWidget *>(QStringLiteral("appIcon"));
            QTest::mouseClick(icon, Qt::LeftButton);
            if (how.endsWith("twice")) {
                QTest::mouseDClick(icon, Qt::LeftButton);
                QTest::mouseRelease(icon, Qt::LeftButton);
            }
            const QMenu *menu = window.systemMenu();
            QVERIFY(!menu->isVisible());
            QTest::qWait(QApplication::doubleClickInterval() * 2);
            if (menu->isVisible() && menu->pos() == window.pointOn("appIcon"))
                seen << "systemMenu";
        } else if (how == "toolBar") {
            auto bar = window.findChild<QToolBar *>(how);
            QTest::mouseClick(bar->widgetForAction(bar->actions().first()), Qt::LeftButton);
        } else {
            const QStringList keys = how.split(' ');
            QTest::keySequence(window.windowHandle(), keys.first());
            if (keys.size() > 1) {
                QTRY_VERIFY(QApplication::activePopupWidget());
                QTest::keySequence(QApplication::activePopupWidget()->windowHandle(), keys.last());
            }
        }
        QCOMPARE(seen + observer.calls, QStringList{reached});
        QCOMPARE(pendingModalAnswers(), 0);
        QVERIFY(window.isVisible() && window.windowState() == Qt::WindowNoState);
    }
};

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
