#include "base/appfont.h"
#include "base/widgethelpers.h"

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

class tst_WidgetHelpers : public QObject
{
    Q_OBJECT

private slots:
    void wrapText_data();
    void wrapText();
    void scaledSizeIsTenthsOfAtInTheBundledFont();
    void applyFontChangesOnlyWhatIsGiven_data();
    void applyFontChangesOnlyWhatIsGiven();
    void applyAppFontTreeReachesEveryDescendant();
};

void tst_WidgetHelpers::wrapText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<QString>("expected");

    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    // clang-format off
    QTest::addRow("12 chars: unchanged") << letters.left(12) << 12 << 4 << letters.left(12);
    QTest::addRow("13 chars: one break") << letters.left(13) << 12 << 4 << "abcdefghijkl\nm";
    QTest::addRow("48 chars: four full lines") << letters.left(48) << 12 << 4 << "abcdefghijkl\nmnopqrstuvwx\nyzABCDEFGHIJ\nKLMNOPQRSTUV";
    QTest::addRow("49 chars: 45 and an ellipsis") << letters.left(49) << 12 << 4 << "abcdefghijkl\nmnopqrstuvwx\nyzABCDEFGHIJ\nKLMNOPQRS...";
    QTest::addRow("one line allowed") << letters.left(20) << 12 << 1 << "abcdefghi...";
    QTest::addRow("narrower than the ellipsis") << letters.left(5) << 2 << 1 << "...";
    QTest::addRow("zero width") << letters.left(5) << 0 << 4 << letters.left(5);
    QTest::addRow("no lines") << letters.left(20) << 12 << 0 << letters.left(20);
    // clang-format on
}

void tst_WidgetHelpers::wrapText()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, maxLines);
    QFETCH(QString, expected);

    QCOMPARE(::wrapText(text, width, maxLines), expected);
}

void tst_WidgetHelpers::scaledSizeIsTenthsOfAtInTheBundledFont()
{
    // Measured in the bundled font even when nothing has registered it yet.
    const int unit = scaledSize(100);
    QLabel probe;
    probe.setFont(QFont(appFontFamily(), 8));
    QCOMPARE(unit, 10 * probe.fontMetrics().horizontalAdvance(QLatin1Char('@')));
}

void tst_WidgetHelpers::applyFontChangesOnlyWhatIsGiven_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<bool>("touched");

    QTest::addRow("family only (size 0)") << "Noto Sans" << 0 << true;
    QTest::addRow("size only (registration failed)") << "" << 14 << true;
    QTest::addRow("nothing (registration failed, size 0)") << "" << 0 << false;
    QTest::addRow("negative size") << "" << -3 << false;
}

void tst_WidgetHelpers::applyFontChangesOnlyWhatIsGiven()
{
    QFETCH(QString, family);
    QFETCH(int, pointSize);
    QFETCH(bool, touched);

    QWidget widget;
    const QFont before = widget.font();
    applyFont(&widget, family, pointSize);

    QCOMPARE(widget.testAttribute(Qt::WA_SetFont), touched);
    QCOMPARE(widget.font().family(), family.isEmpty() ? before.family() : family);
    QCOMPARE(widget.font().pointSize(), pointSize >= 1 ? pointSize : before.pointSize());
}

void tst_WidgetHelpers::applyAppFontTreeReachesEveryDescendant()
{
    QWidget top;
    auto layout = new QVBoxLayout(&top);
    auto middle = new QWidget;
    layout->addWidget(middle);
    auto leaf = new QLabel(QStringLiteral("leaf"), middle);

    applyAppFontTree(&top);

    for (QWidget *widget : {&top, middle, static_cast<QWidget *>(leaf)}) {
        QCOMPARE(widget->font().pointSize(), 9);
        QCOMPARE(widget->font().family(), QStringLiteral("Noto Sans"));
    }
}

QTEST_MAIN(tst_WidgetHelpers)
#include "tst_widgethelpers.moc"
