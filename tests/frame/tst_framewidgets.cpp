// The frame's widgets on their own: resize handles, title bar, actions registry, menu bar and
// tool bar. The title bar's caption rule is tested through the window (tst_mainwindowbase).

#include "framehelpers.h"

#include "base/widgethelpers.h"
#include "frame/actions.h"
#include "frame/menubar.h"
#include "frame/resizehandle.h"
#include "frame/titlebar.h"
#include "frame/toolbararea.h"
#include "style/resourceimagescache.h"

#include <QtTest>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTranslator>
#include <QVBoxLayout>

#include <climits>

using Edge = ResizeHandle::Edge;
Q_DECLARE_METATYPE(ResizeHandle::Edge)

namespace {

struct Move
{
    QPoint offset; // from the press point
    Qt::MouseButtons buttons = Qt::LeftButton;
};

QList<Move> moves(std::initializer_list<QPoint> offsets)
{
    QList<Move> list;
    for (const QPoint &offset : offsets)
        list.append({offset, Qt::LeftButton});
    return list;
}

} // namespace

Q_DECLARE_METATYPE(QList<Move>)

class TestFrameWidgets final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
        QCoreApplication::installTranslator(&translator);
    }

    void cleanup() { restoreAllOverrideCursors(); }

    // Target at (300, 200), 400 x 300, minimum 200 x 150.
    void handleDrag_data()
    {
        QTest::addColumn<Edge>("edge");
        QTest::addColumn<Qt::MouseButton>("pressed");
        QTest::addColumn<QList<Move>>("path");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<int>("steps"); // resized() signals
        const auto left = Qt::LeftButton;
        // clang-format off
        QTest::addRow("top up") << Edge::Top << left << moves({{0, -50}}) << QRect(300, 150, 400, 350) << 1;
        QTest::addRow("top down pauses at the minimum, resumes")
            << Edge::Top << left << moves({{0, 100}, {0, 200}, {0, 120}}) << QRect(300, 320, 400, 180) << 2;
        QTest::addRow("bottom down") << Edge::Bottom << left << moves({{0, 30}}) << QRect(300, 200, 400, 330) << 1;
        QTest::addRow("bottom up clamps to the minimum") << Edge::Bottom << left << moves({{0, -250}}) << QRect(300, 200, 400, 150) << 1;
        QTest::addRow("right left clamps to the minimum") << Edge::Right << left << moves({{-300, 0}}) << QRect(300, 200, 200, 300) << 1;
        QTest::addRow("right upper as right") << Edge::RightUpper << left << moves({{50, 0}}) << QRect(300, 200, 450, 300) << 1;
        QTest::addRow("left past the minimum pauses with its right edge kept, resumes")
            << Edge::Left << left << moves({{150, 0}, {250, 0}}) << QRect(450, 200, 250, 300) << 1;
        QTest::addRow("left resumes when the mouse comes back")
            << Edge::Left << left << moves({{150, 0}, {250, 0}, {-50, 0}}) << QRect(250, 200, 450, 300) << 2;
        QTest::addRow("left upper as left") << Edge::LeftUpper << left << moves({{-20, 0}}) << QRect(280, 200, 420, 300) << 1;
        QTest::addRow("top right outwards") << Edge::TopRight << left << moves({{30, -40}}) << QRect(300, 160, 430, 340) << 1;
        QTest::addRow("top right, height below the minimum: bottom kept")
            << Edge::TopRight << left << moves({{50, 200}}) << QRect(300, 350, 450, 150) << 1;
        QTest::addRow("top right, both below the minimum: paused")
            << Edge::TopRight << left << moves({{-300, 200}}) << QRect(300, 200, 400, 300) << 0;
        QTest::addRow("top left, width below the minimum: right edge kept")
            << Edge::TopLeft << left << moves({{250, -20}}) << QRect(500, 180, 200, 320) << 1;
        QTest::addRow("top left, both below the minimum: paused")
            << Edge::TopLeft << left << moves({{-20, -20}, {250, 200}}) << QRect(280, 180, 420, 320) << 1;
        QTest::addRow("bottom right clamps both") << Edge::BottomRight << left << moves({{-300, -300}}) << QRect(300, 200, 200, 150) << 1;
        QTest::addRow("bottom left outwards") << Edge::BottomLeft << left << moves({{-40, 20}}) << QRect(260, 200, 440, 320) << 1;
        QTest::addRow("bottom left, width below the minimum: right edge kept")
            << Edge::BottomLeft << left << moves({{250, 20}}) << QRect(500, 200, 200, 320) << 1;
        QTest::addRow("right-button drag ignored") << Edge::BottomRight << Qt::RightButton
            << QList<Move>{{{50, 50}, Qt::RightButton}} << QRect(300, 200, 400, 300) << 0;
        QTest::addRow("two-button drag ignored") << Edge::Left << left
            << QList<Move>{{{-50, 0}, Qt::LeftButton | Qt::RightButton}} << QRect(300, 200, 400, 300) << 0;
        // clang-format on
    }

    void handleDrag()
    {
        QFETCH(Edge, edge);
        QFETCH(Qt::MouseButton, pressed);
        QFETCH(QList<Move>, path);
        QFETCH(QRect, expected);
        QFETCH(int, steps);

        QWidget target;
        target.setMinimumSize(200, 150);
        target.setGeometry(300, 200, 400, 300);
        QWidget parent;
        auto handle = new ResizeHandle(&parent, &target, edge);
        QSignalSpy resized(handle, &ResizeHandle::resized);

        const QPoint press(1000, 800);
        sendMouse(handle, QEvent::MouseButtonPress, press, pressed, pressed);
        for (const Move &move : path)
            sendMouse(handle, QEvent::MouseMove, press + move.offset, Qt::NoButton, move.buttons);
        QCOMPARE(target.geometry(), expected);
        QCOMPARE(resized.size(), steps);
    }

    void handleCursorAndColour_data()
    {
        QTest::addColumn<Edge>("edge");
        QTest::addColumn<int>("cursor"); // -1: none left
        QTest::addColumn<bool>("black");
        // clang-format off
        QTest::addRow("top") << Edge::Top << int(Qt::SizeVerCursor) << false;
        QTest::addRow("bottom") << Edge::Bottom << int(Qt::SizeVerCursor) << false;
        QTest::addRow("right") << Edge::Right << int(Qt::SizeHorCursor) << false;
        QTest::addRow("left") << Edge::Left << int(Qt::SizeHorCursor) << false;
        QTest::addRow("right upper: always black") << Edge::RightUpper << int(Qt::SizeHorCursor) << true;
        QTest::addRow("left upper: always black") << Edge::LeftUpper << int(Qt::SizeHorCursor) << true;
        QTest::addRow("top right: always black") << Edge::TopRight << int(Qt::SizeBDiagCursor) << true;
        QTest::addRow("top left: always black") << Edge::TopLeft << int(Qt::SizeFDiagCursor) << true;
        QTest::addRow("bottom right") << Edge::BottomRight << int(Qt::SizeFDiagCursor) << false;
        QTest::addRow("bottom left") << Edge::BottomLeft << int(Qt::SizeBDiagCursor) << false;
        QTest::addRow("unused value 1: pops instead") << Edge(1) << -1 << false;
        // clang-format on
    }

    void handleCursorAndColour()
    {
        QFETCH(Edge, edge);
        QFETCH(int, cursor);
        QFETCH(bool, black);
        const QColor grey = greyColor(153, 255);
        ResizeHandle handle(nullptr, nullptr, edge, grey, 5);
        QCOMPARE(handle.palette().color(QPalette::Window), black ? QColor(Qt::black) : grey);

        // Another widget's cursor underneath: leaving pops every pushed cursor.
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&handle, &enter);
        const QCursor *top = QGuiApplication::overrideCursor();
        QCOMPARE(top != nullptr ? int(top->shape()) : -1, cursor);
        QApplication::sendEvent(&handle, &enter);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&handle, &leave);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void titleBarMaximizedLook()
    {
        TitleBar bar;
        QAction *maximize = titleAction(&bar, QStringLiteral("maximizeAction"));
        ResourceImagesCache *images = ResourceImagesCache::instance();
        const qint64 restoreKey = images->icon(":/images/top_bar_icon/Reduction.svg")->cacheKey();
        const qint64 maximizeKey = images->icon(":/images/top_bar_icon/Max.svg")->cacheKey();
        QCOMPARE(maximize->icon().cacheKey(), maximizeKey);
        bar.setMaximizedLook(true);
        QCOMPARE(maximize->icon().cacheKey(), restoreKey);
        QCOMPARE(maximize->toolTip(), QStringLiteral("Restore Down"));
        bar.setMaximizedLook(false);
        QCOMPARE(maximize->icon().cacheKey(), maximizeKey);
        QCOMPARE(maximize->toolTip(), QStringLiteral("Maximize"));
    }

    // The buttons reach the window only through the broadcasts.
    void titleBarButtonsOnlyBroadcast()
    {
        QWidget window;
        auto bar = new TitleBar;
        bar->setParent(&window);
        window.resize(900, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CountingObserver observer;
        for (const char *name : {"minimizeAction", "maximizeAction", "closeAction"})
            QTest::mouseClick(titleButton(bar, QLatin1String(name)), Qt::LeftButton);
        QCOMPARE(observer.minimize, 1);
        QCOMPARE(observer.maximize, 1);
        QCOMPARE(observer.close, 1);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowState(), Qt::WindowNoState);
    }

    void actionsHaveTheirRow_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QKeySequence>>("shortcuts");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<QString>("state");
        const auto standard = [](QKeySequence::StandardKey key) {
            return QKeySequence::keyBindings(key);
        };
        // clang-format off
        QTest::addRow("2 open controller file") << 2 << "&Open Controller File..." << standard(QKeySequence::Open) << true << "enabled";
        QTest::addRow("9 exit") << 9 << "E&xit" << QList<QKeySequence>{QKeySequence("Alt+F4")} << true << "enabled";
        QTest::addRow("53 about with the product name") << 53 << "&About Quorvane Kiosk" << QList<QKeySequence>{} << false << "enabled";
        QTest::addRow("54 legal") << 54 << "&Legal" << QList<QKeySequence>{} << false << "enabled";
        QTest::addRow("15 paste starts disabled") << 15 << "ID_RESSTR_ACTIONS_EDITPASTE" << standard(QKeySequence::Paste) << false << "disabled";
        QTest::addRow("32 tool bar view checked") << 32 << "ID_RESSTR_ACTIONS_VIEWTOOLBAR" << QList<QKeySequence>{} << false << "checked";
        // clang-format on
    }

    void actionsHaveTheirRow()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QList<QKeySequence>, shortcuts);
        QFETCH(bool, icon);
        QFETCH(QString, state);
        Actions actions;
        QAction *action = actions.action(id);
        QVERIFY(action != nullptr);
        QCOMPARE(action->text(), text);
        QCOMPARE(action->shortcuts(), shortcuts);
        QCOMPARE(!action->icon().isNull(), icon);
        const QString shown = !action->isEnabled()     ? "disabled"
                              : !action->isCheckable() ? "enabled"
                              : action->isChecked()    ? "checked"
                                                       : "unchecked";
        QCOMPARE(shown, state);
    }

    void actionsGiveNullOutsideTheTable_data()
    {
        QTest::addColumn<int>("id");
        for (const int id : {INT_MIN, -1, 26, 27, 29, 85, INT_MAX})
            QTest::addRow("%d", id) << id;
    }

    void actionsGiveNullOutsideTheTable()
    {
        QFETCH(int, id);
        Actions actions;
        QVERIFY(actions.action(id) == nullptr);
        QVERIFY(actions.action(id) == nullptr);
    }

    void actionsAreMadeOnce()
    {
        Actions actions;
        QCOMPARE(actions.action(2), actions.action(2));
        QAction *collapse[] = {actions.action(79), actions.action(81), actions.action(83)};
        QVERIFY(collapse[0] != collapse[1] && collapse[1] != collapse[2]);
        QCOMPARE(collapse[0]->text(), collapse[2]->text());
    }

    void menusHoldTheirEntries()
    {
        Actions actions;
        MenuBar menuBar(&actions);
        QStringList menus;
        for (const QAction *menu : menuBar.findChild<QMenuBar *>()->actions()) {
            menus << menu->text();
            for (const QAction *entry : menu->menu()->actions())
                menus << "  " + entry->text();
        }
        QCOMPARE(menus,
                 (QStringList{"&File",
                              "  &Open Controller File...",
                              "  E&xit",
                              "&About",
                              "  &About Quorvane Kiosk",
                              "  &Legal"}));
    }

    void menuAndToolBarRunOneCommand()
    {
        Actions actions;
        QWidget page;
        auto layout = new QVBoxLayout(&page);
        auto menuBar = new MenuBar(&actions);
        auto toolBarArea = new ToolBarArea(&actions);
        layout->addWidget(menuBar);
        layout->addWidget(toolBarArea);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QSignalSpy triggered(actions.action(2), &QAction::triggered);

        auto toolBar = toolBarArea->findChild<QToolBar *>();
        QTest::mouseClick(toolBar->widgetForAction(actions.action(2)), Qt::LeftButton);
        QCOMPARE(triggered.size(), 1);

        auto file = menuBar->findChild<QMenu *>(QStringLiteral("fileMenu"));
        file->popup(page.mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QTest::mouseClick(file,
                          Qt::LeftButton,
                          {},
                          file->actionGeometry(actions.action(2)).center());
        QCOMPARE(triggered.size(), 2);
    }

private:
    QTranslator translator;
};

QTEST_MAIN(TestFrameWidgets)
#include "tst_framewidgets.moc"
