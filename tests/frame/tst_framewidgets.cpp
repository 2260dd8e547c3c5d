// The frame's widgets: resize handles and their border, the actions registry, and the commands
// reached through the menus, shortcuts and buttons. The title bar's caption rule is tested
// through the window (tst_mainwindowbase).

#include "bareframe.h"

#include "app/centralwidget.h"
#include "base/appfont.h"
#include "base/resourcestrings.h"
#include "base/widgethelpers.h"
#include "frame/actions.h"
#include "frame/resizehandle.h"
#include "frame/titlebar.h"

#include "modaldialoganswerer.h"
#include "recordingobserver.h"

#include <QtTest>

#include <QAction>
#include <QDialog>
#include <QToolBar>
#include <QTranslator>

#include <climits>

using Edge = ResizeHandle::Edge;
Q_DECLARE_METATYPE(ResizeHandle::Edge)

namespace {

// The running window's client area, without a runtime.
class CommandWindow final : public MainWindowBase
{
public:
    CommandWindow()
        : MainWindowBase(nullptr)
    {
        installCentralWidget(new CentralWidget(this));
    }
};

} // namespace

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

    void handleCursor_data()
    {
        QTest::addColumn<Edge>("edge");
        QTest::addColumn<Qt::CursorShape>("cursor");
        QTest::addRow("top") << Edge::Top << Qt::SizeVerCursor;
        QTest::addRow("left upper") << Edge::LeftUpper << Qt::SizeHorCursor;
        QTest::addRow("top right") << Edge::TopRight << Qt::SizeBDiagCursor;
        QTest::addRow("bottom right") << Edge::BottomRight << Qt::SizeFDiagCursor;
    }

    void handleCursor()
    {
        QFETCH(Edge, edge);
        QFETCH(Qt::CursorShape, cursor);
        ResizeHandle handle(nullptr, nullptr, edge);
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

    // Around the page as thick as drawn: black at the top and beside the title bar (as tall as
    // it), grey below; all gone while the window is maximised.
    void borderAroundThePage()
    {
        FrameWindow window;
        window.setGeometry(100, 100, 900, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int t = scaledSize(5), w = 900, h = 400, bar = window.frame->titleBar->height();
        const QColor black(Qt::black), grey = greyColor(153, 255), page = greyColor(76, 255);
        const auto drawn = [&window](const QList<QPoint> &points) {
            const QImage image = window.grab().toImage();
            QList<QColor> colours;
            for (const QPoint &point : points)
                colours << image.pixelColor(point);
            return colours;
        };
        const int low = h - t - 2; // beside the empty page
        // clang-format off
        QCOMPARE(drawn({{0, t + bar - 1}, {w - 1, t + bar - 1}, {0, t + bar}, {w - 1, t + bar},
                        {t - 1, low}, {t, low}, {w - t - 1, low}, {w - t, low},
                        {w / 2, h - t - 1}, {w / 2, h - t}, {0, h - 1}, {w - 1, h - 1}}),
                 (QList<QColor>{black, black, grey, grey, grey, page, page, grey, page, grey, grey, grey}));
        // clang-format on
        QCOMPARE(window.frame->titleBar->mapTo(window.frame, QPoint()), QPoint(t, t));
        window.maximizeWindow();
        QTRY_COMPARE(drawn({{0, window.height() - 1}}), QList<QColor>{page});
        window.restoreWindow();
        QCOMPARE(drawn({{t - 1, low}, {t, low}}), (QList<QColor>{grey, page}));
    }

    void actionsGiveNullOutsideTheTable()
    {
        Actions actions;
        for (const int id : {INT_MIN, -1, 26, 29, 85, INT_MAX})
            QVERIFY2(actions.action(id) == nullptr, qPrintable(QString::number(id)));
    }

    // What a user reaches through the window's menus, shortcuts, tool bar and title-bar buttons:
    // a dialog (by class) or a broadcast.
    void commandsOfTheRunningWindow_data()
    {
        QTest::addColumn<QString>("how"); // keys, with a space before a key pressed in the menu
        QTest::addColumn<QString>("reached");
        QTest::addRow("Ctrl+O") << "Ctrl+O"
                                << "QFileDialog";
        QTest::addRow("File menu, Open") << "Alt+F O"
                                         << "QFileDialog";
        QTest::addRow("tool bar") << "toolBar"
                                  << "QFileDialog";
        QTest::addRow("Alt+F4") << "Alt+F4"
                                << "close";
        QTest::addRow("File menu, Exit") << "Alt+F X"
                                         << "close";
        QTest::addRow("About menu, About") << "Alt+A A"
                                           << "DialogAbout";
        QTest::addRow("About menu, Legal") << "Alt+A L"
                                           << "DialogLegal";
        QTest::addRow("minimise button") << "minimizeAction"
                                         << "minimize";
        QTest::addRow("maximise button") << "maximizeAction"
                                         << "maximize";
        QTest::addRow("close button") << "closeAction"
                                      << "close";
    }

    void commandsOfTheRunningWindow()
    {
        QFETCH(QString, how);
        QFETCH(QString, reached);
        CommandWindow window;
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
        if (auto button = titleButton(window.findChild<TitleBar *>(), how)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (how == "toolBar") {
            auto bar = window.findChild<QToolBar *>(how);
            QTest::mouseClick(bar->widgetForAction(bar->actions().first()), Qt::LeftButton);
        } else {
            const QStringList keys = how.split(' ');
            const QKeySequence first(keys.first());
            QTest::keyClick(window.windowHandle(),
                            Qt::Key(first[0].key()),
                            first[0].keyboardModifiers());
            if (keys.size() > 1) {
                QTRY_VERIFY(QApplication::activePopupWidget());
                QTest::keyClick(QApplication::activePopupWidget()->windowHandle(),
                                Qt::Key(QKeySequence(keys.last())[0].key()));
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

QTEST_MAIN(TestFrameWidgets)
#include "tst_framewidgets.moc"
