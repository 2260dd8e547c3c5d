// The frame's widgets on their own: resize handles and their border, title bar, actions
// registry, menu bar and tool bar. The title bar's caption rule is tested through the window (tst_mainwindowbase).

#include "bareframe.h"

#include "base/appfont.h"
#include "base/resourcestrings.h"
#include "base/widgethelpers.h"
#include "frame/actions.h"
#include "frame/resizehandle.h"
#include "frame/titlebar.h"

#include <QtTest>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTranslator>

#include <climits>

using Edge = ResizeHandle::Edge;
Q_DECLARE_METATYPE(ResizeHandle::Edge)

class TestFrameWidgets final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installResourceStrings(translator)); }

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
        QTest::addRow("top down pauses at the minimum, resumes")
            << Edge::Top << QList<QPoint>{{0, 100}, {0, 200}, {0, 120}} << QRect(300, 320, 400, 180) << 2 << left;
        QTest::addRow("right upper as right") << Edge::RightUpper << QList<QPoint>{{50, 0}} << QRect(300, 200, 450, 300) << 1 << left;
        QTest::addRow("left pauses at the minimum with its right edge kept, resumes")
            << Edge::Left << QList<QPoint>{{150, 0}, {250, 0}, {-50, 0}} << QRect(250, 200, 450, 300) << 2 << left;
        QTest::addRow("left upper as left") << Edge::LeftUpper << QList<QPoint>{{-20, 0}} << QRect(280, 200, 420, 300) << 1 << left;
        QTest::addRow("top right, height below the minimum: bottom kept")
            << Edge::TopRight << QList<QPoint>{{50, 200}} << QRect(300, 350, 450, 150) << 1 << left;
        QTest::addRow("top right, both below the minimum: paused")
            << Edge::TopRight << QList<QPoint>{{-300, 200}} << QRect(300, 200, 400, 300) << 0 << left;
        QTest::addRow("top left, width below the minimum: right edge kept")
            << Edge::TopLeft << QList<QPoint>{{250, -20}} << QRect(500, 180, 200, 320) << 1 << left;
        QTest::addRow("top left, both below the minimum: paused")
            << Edge::TopLeft << QList<QPoint>{{-20, -20}, {250, 200}} << QRect(280, 180, 420, 320) << 1 << left;
        QTest::addRow("bottom right clamps both") << Edge::BottomRight << QList<QPoint>{{-300, -300}} << QRect(300, 200, 200, 150) << 1 << left;
        QTest::addRow("bottom left, width below the minimum: right edge kept")
            << Edge::BottomLeft << QList<QPoint>{{250, 20}} << QRect(500, 200, 200, 320) << 1 << left;
        QTest::addRow("two-button drag ignored") << Edge::Left << QList<QPoint>{{-50, 0}}
            << QRect(300, 200, 400, 300) << 0 << (Qt::LeftButton | Qt::RightButton);
        // clang-format on
    }

    void handleDrag()
    {
        QFETCH(Edge, edge);
        QFETCH(QList<QPoint>, moves);
        QFETCH(QRect, expected);
        QFETCH(int, steps);
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
        QCOMPARE(target.geometry(), expected);
        QCOMPARE(resized.size(), steps);
    }

    void handleCursorAndColour_data()
    {
        QTest::addColumn<Edge>("edge");
        QTest::addColumn<Qt::CursorShape>("cursor");
        QTest::addColumn<bool>("black");
        // clang-format off
        QTest::addRow("top") << Edge::Top << Qt::SizeVerCursor << false;
        QTest::addRow("left upper: always black") << Edge::LeftUpper << Qt::SizeHorCursor << true;
        QTest::addRow("top right: always black") << Edge::TopRight << Qt::SizeBDiagCursor << true;
        QTest::addRow("bottom right") << Edge::BottomRight << Qt::SizeFDiagCursor << false;
        // clang-format on
    }

    void handleCursorAndColour()
    {
        QFETCH(Edge, edge);
        QFETCH(Qt::CursorShape, cursor);
        QFETCH(bool, black);
        const QColor grey = greyColor(153, 255);
        ResizeHandle handle(nullptr, nullptr, edge, grey, 5);
        QCOMPARE(handle.palette().color(QPalette::Window), black ? QColor(Qt::black) : grey);

        // Another widget's cursor underneath: leaving pops every pushed cursor.
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&handle, &enter);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), cursor);
        QApplication::sendEvent(&handle, &enter);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&handle, &leave);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    // Around the page as thick as drawn, black at the top and beside the title bar and as tall
    // as it there; all gone while the window is maximised.
    void borderAroundThePage()
    {
        FrameWindow window;
        window.setGeometry(100, 100, 900, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int t = scaledSize(5), w = 900, h = 400, bar = window.frame->titleBar->height();
        const int side = h - 2 * t - bar;
        const QList<ResizeHandle *> &handles = window.frame->border.handles();
        QList<QRect> placed;
        QList<bool> black;
        for (const ResizeHandle *handle : handles) {
            placed << handle->geometry();
            black << (handle->palette().color(QPalette::Window) == Qt::black);
        }
        // clang-format off
        QCOMPARE(placed, (QList<QRect>{{0, 0, t, t}, {0, t, t, bar}, {0, t + bar, t, side},
                                        {0, h - t, t, t}, {t, 0, w - 2 * t, t},
                                        {t, h - t, w - 2 * t, t}, {w - t, 0, t, t},
                                        {w - t, t, t, bar}, {w - t, t + bar, t, side},
                                        {w - t, h - t, t, t}}));
        QCOMPARE(black, (QList<bool>{true, true, false, false, true, false, true, true, false, false}));
        // clang-format on
        QCOMPARE(window.frame->titleBar->mapTo(window.frame, QPoint()), QPoint(t, t));
        const auto visible = [&handles] {
            return std::count_if(handles.begin(), handles.end(), [](const QWidget *handle) {
                return handle->isVisible();
            });
        };
        QCOMPARE(visible(), 10);
        window.maximizeWindow();
        QCOMPARE(visible(), 0);
        window.restoreWindow();
        QCOMPARE(visible(), 10);
    }

    void actionsGiveNullOutsideTheTable()
    {
        Actions actions;
        for (const int id : {INT_MIN, -1, 26, 29, 85, INT_MAX})
            QVERIFY2(actions.action(id) == nullptr, qPrintable(QString::number(id)));
    }

    // The menus' entries with their shortcuts and icons; the title bar's buttons reach the window
    // only through the broadcasts; the tool bar's button and the File menu's entry run one command.
    void framesButtonsAndMenus()
    {
        FrameWindow window;
        window.setGeometry(100, 100, 900, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList menus;
        for (const QAction *menu : window.findChild<QMenuBar *>()->actions()) {
            menus << menu->text();
            for (const QAction *entry : menu->menu()->actions())
                menus << QStringLiteral("  %1 [%2]%3")
                             .arg(entry->text(),
                                  QKeySequence::listToString(entry->shortcuts()),
                                  entry->icon().isNull() ? "" : " icon");
        }
        QCOMPARE(menus,
                 (QStringList{"&File",
                              "  &Open Controller File... [Ctrl+O] icon",
                              "  E&xit [Alt+F4] icon",
                              "&About",
                              "  &About Quorvane Kiosk []",
                              "  &Legal []"}));
        CountingObserver observer;
        for (const char *name : {"minimizeAction", "maximizeAction", "closeAction"})
            QTest::mouseClick(titleButton(window.frame->titleBar, name), Qt::LeftButton);
        QCOMPARE(observer.minimize, 1);
        QCOMPARE(observer.maximize, 1);
        QCOMPARE(observer.close, 1);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowState(), Qt::WindowNoState);

        auto toolBar = window.findChild<QToolBar *>(QStringLiteral("toolBar"));
        QSignalSpy triggered(toolBar->actions().first(), &QAction::triggered);
        QTest::mouseClick(toolBar->widgetForAction(toolBar->actions().first()), Qt::LeftButton);
        auto file = window.findChild<QMenu *>(QStringLiteral("fileMenu"));
        file->popup(window.mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QTest::mouseClick(file,
                          Qt::LeftButton,
                          {},
                          file->actionGeometry(file->actions().first()).center());
        QCOMPARE(triggered.size(), 2);
    }

private:
    QTranslator translator;
};

QTEST_MAIN(TestFrameWidgets)
#include "tst_framewidgets.moc"
