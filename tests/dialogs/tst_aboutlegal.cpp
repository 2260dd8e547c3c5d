// The about and legal dialogs.

#include "dialogs/dialogabout.h"
#include "dialogs/dialoglegal.h"
#include "dialogs/splashimagesize.h"

#include "base/appfont.h"
#include "modaldialoganswerer.h"

#include <QtTest>

#include <QLabel>
#include <QTextEdit>
#include <QTranslator>

class TestAboutLegal final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void versionLine_data();
    void versionLine();

    void aboutHasSplashSizeNeverBelow800x400();

    void aboutClosesOnAnyPress_data();
    void aboutClosesOnAnyPress();

    void escapeRejects_data();
    void escapeRejects();

    void legalShowsTheNoticesReadOnlyUnwrapped();

private:
    QTranslator translator;
};

void TestAboutLegal::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
    QCoreApplication::installTranslator(&translator);
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane Kiosk"));
}

void TestAboutLegal::versionLine_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("expected");
    QTest::addRow("build number left out") << "1.2.3.4"
                                           << "Quorvane Kiosk Ver.1.2.3";
    QTest::addRow("three parts") << "2.0.0"
                                 << "Quorvane Kiosk Ver.2.0.0";
    QTest::addRow("missing parts count as empty") << "7"
                                                  << "Quorvane Kiosk Ver.7..";
    QTest::addRow("no version") << ""
                                << "Quorvane Kiosk Ver...";
}

void TestAboutLegal::versionLine()
{
    QFETCH(QString, version);
    QFETCH(QString, expected);
    QCoreApplication::setApplicationVersion(version);
    DialogAbout about(nullptr);
    QCOMPARE(about.findChild<QLabel *>(QStringLiteral("versionLabel"))->text(), expected);
}

void TestAboutLegal::aboutHasSplashSizeNeverBelow800x400()
{
    DialogAbout about(nullptr);
    const QSize expected(std::max(scaledSize(800), 800), std::max(scaledSize(400), 400));
    QCOMPARE(splashImageSize(), expected);
    QCOMPARE(about.minimumSize(), expected);
    QCOMPARE(about.maximumSize(), expected);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.size(), expected);
    QVERIFY(about.width() >= 800 && about.height() >= 400);
    QVERIFY(about.windowFlags().testFlag(Qt::SplashScreen));
}

void TestAboutLegal::aboutClosesOnAnyPress_data()
{
    QTest::addColumn<QString>("target");
    QTest::addRow("on the picture") << "imageLabel";
    QTest::addRow("on the version") << "versionLabel";
    QTest::addRow("on the copyright") << "copyrightLabel";
    QTest::addRow("on the dialog") << "";
}

void TestAboutLegal::aboutClosesOnAnyPress()
{
    QFETCH(QString, target);
    DialogAbout about(nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QWidget *widget = target.isEmpty() ? &about : about.findChild<QWidget *>(target);
    QVERIFY(widget);
    QTest::mousePress(widget, Qt::RightButton);
    QVERIFY(!about.isVisible());
}

void TestAboutLegal::escapeRejects_data()
{
    QTest::addColumn<bool>("legal");
    QTest::addRow("about") << false;
    QTest::addRow("legal") << true;
}

void TestAboutLegal::escapeRejects()
{
    QFETCH(bool, legal);
    pressKeyInModalDialog(Qt::Key_Escape);
    if (legal) {
        DialogLegal dialog(nullptr);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    } else {
        DialogAbout dialog(nullptr);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    }
    QCOMPARE(pendingModalAnswers(), 0);
}

void TestAboutLegal::legalShowsTheNoticesReadOnlyUnwrapped()
{
    QFile file(QStringLiteral(":/legal.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString notices = QString::fromUtf8(file.readAll());
    QVERIFY(!notices.isEmpty());

    DialogLegal dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Legal"));
    auto view = dialog.findChild<QTextEdit *>(QStringLiteral("legalText"));
    QCOMPARE(view->toPlainText(), notices);
    QCOMPARE(view->lineWrapMode(), QTextEdit::NoWrap);

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    view->setFocus();
    QTest::keyClicks(view, QStringLiteral("typed"));
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClick(view, Qt::Key_Backspace);
    QCOMPARE(view->toPlainText(), notices);
}

QTEST_MAIN(TestAboutLegal)
#include "tst_aboutlegal.moc"
