// The start page's recent-files area.

#include "base/resourcestrings.h"
#include "recentfiles/crecentfilesmodel.h"
#include "recentfiles/crecentfilesview.h"
#include "recentfiles/recentfilesarea.h"

#include "modaldialoganswerer.h"
#include "recordingobserver.h"

#include <QtTest>

#include <QtWidgets>

#include <memory>

class TestRecentFilesArea final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(installResourceStrings(*new QTranslator(qApp)));
        for (const QString name : {"fav", "one", "two"})
            QVERIFY(QFile(path(name)).open(QIODevice::WriteOnly));
    }

    void cleanup() { QCOMPARE(pendingModalAnswers(), 0); }

    // The front-end closes once the file is taken; only a missing non-favourite can be dropped.
    void selectionAndButtons_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("action"); // a button pressed, or a double click on an entry
        QTest::addColumn<QString>("answer"); // the document manager's, or the box's button
        // opened|broadcasts|asked|the list after ([selected], *favourite)|buttons enabled if not asked
        QTest::addColumn<QString>("outcome");
        const QString all = "fav* gonefav* one two gone|";
        const QString notFound = "File not found! Remove this file from recent file list? gone|";
        // clang-format off
        QTest::addRow("none selected") << "" << "" << "" << "|||" + all + "---";
        QTest::addRow("two: no Load") << "one two" << "" << "" << "|||fav* gonefav* [one] [two] gone|-FR";
        QTest::addRow("a favourite: no Remove") << "fav" << "" << "" << "|||[fav]* gonefav* one two gone|LF-";
        QTest::addRow("Favorite flips each, keeps the selection") << "fav one" << "favoriteButton" << "" << "|||[one]* gonefav* two gone [fav]|-FR";
        QTest::addRow("Remove drops those not favourites") << "fav one" << "removeButton" << "" << "|||fav* gonefav* two gone|---";
        QTest::addRow("Load, taken") << "one" << "loadButton" << "taken" << "one|close||" + all + "---";
        QTest::addRow("Load, refused") << "one" << "loadButton" << "refused" << "one|||fav* gonefav* [one] two gone|LFR";
        QTest::addRow("Load, current entry elsewhere") << "one" << "loadButton, current two" << "taken" << "one|close||" + all + "---";
        QTest::addRow("double click beside another selection") << "two" << "double click one" << "taken" << "one|close||" + all + "---";
        QTest::addRow("missing favourite, mouse double click") << "" << "mouse gonefav" << "okButton" << "||File not found! Please unlock to remove it. gonefav|fav* [gonefav]* one two gone|";
        QTest::addRow("missing, Load, Yes") << "gone" << "loadButton" << "yesButton" << "||" + notFound + "fav* gonefav* one two|";
        QTest::addRow("missing, Load, No") << "gone" << "loadButton" << "noButton" << "||" + notFound + "fav* gonefav* one two [gone]|";
        // clang-format on
    }

    void selectionAndButtons()
    {
        QFETCH(QString, selected);
        QFETCH(QString, action);
        QFETCH(QString, answer);
        QStringList opened;
        // Stands in for the document manager.
        area = std::make_unique<RecentFilesArea>(
            [this, &opened, answer](QWidget *parent, bool &, const QString &path) {
                opened << (parent == area.get() ? path : "opened over another parent");
                return answer == "taken";
            });
        // Shown: fav, gonefav (favourites), one, two, gone; gone and gonefav have no file.
        QStringList parts;
        for (const QString name : {"one", "two", "gone", "fav", "gonefav"}) // the newest first
            parts << QStringLiteral("\"%1\",\"%2\",\"2024-05-01T%3:00:00\"")
                         .arg(path(name), name.contains("fav") ? "true" : "false")
                         .arg(12 - parts.size());
        QVERIFY(model()->fromString(parts.join(',')));
        area->show();
        RecordingObserver observer;
        QString asked;
        if (answer.endsWith("Button")) {
            answerModalDialog([&](QWidget *modal) {
                const QString text = modal->findChild<QLabel *>("textLabel")->text();
                const QFileInfo file(text.section("\n\nSelected file:\n", 1));
                asked = modal->windowTitle() + ' ' + text.section('\n', 0, 0) + ' '
                        + (file.path() == dir.path() ? file.baseName() : "?");
                QTest::mouseClick(modal->findChild<QPushButton *>(answer), Qt::LeftButton);
            });
        }
        for (const QString &name : selected.split(' ', Qt::SkipEmptyParts)) // as Ctrl+clicks do
            view()->selectionModel()->select(indexOf(name), QItemSelectionModel::Select);
        const QString entry = action.section(' ', -1);
        if (action.startsWith("mouse")) {
            const QPoint at = view()->visualRect(indexOf(entry)).center();
            QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, at);
        } else if (action.startsWith("double click")) {
            area->itemDoubleClicked(indexOf(entry));
        } else if (!action.isEmpty()) {
            if (action.endsWith("current two")) // as Ctrl+arrow keys leave it
                view()->selectionModel()->setCurrentIndex(indexOf(entry), {});
            const QString button = action.section(',', 0, 0);
            QTest::mouseClick(area->findChild<QPushButton *>(button), Qt::LeftButton);
        }
        QStringList shown; // in view order
        for (int row = 0; row < view()->model()->rowCount(); ++row) {
            const QModelIndex index = view()->model()->index(row, 0);
            QString name = QFileInfo(index.data(Qt::UserRole).toString()).baseName();
            if (view()->selectionModel()->isSelected(index))
                name = '[' + name + ']';
            shown << name + (rendered(index.data(Qt::DecorationRole)) == star ? "*" : "");
        }
        QString buttons;
        for (const char *name : {"loadButton", "favoriteButton", "removeButton"})
            buttons += area->findChild<QPushButton *>(name)->isEnabled() ? QChar(name[0]).toUpper()
                                                                         : QChar('-');
        QStringList outcome{QFileInfo(opened.join(' ')).baseName(), observer.calls.join(' '), asked};
        outcome << shown.join(' ') << (asked.isEmpty() ? buttons : QString());
        QTEST(outcome.join('|'), "outcome");
    }

private:
    QString path(const QString &name) const { return dir.filePath(name + ".qvksk"); }
    CRecentFilesView *view() const { return area->view(); }
    CRecentFilesModel *model() const { return area->recentFilesModel(); }
    QModelIndex indexOf(const QString &name) const
    {
        return view()->model()->index(model()->indexOf(path(name)), 0);
    }
    static QImage rendered(const QVariant &icon)
    {
        return icon.value<QIcon>().pixmap(48).toImage();
    }
    const QImage star = rendered(QIcon(QPixmap(":/images/file_icon/QVKiosk_file_fix_icon.svg")));
    QTemporaryDir dir;
    std::unique_ptr<RecentFilesArea> area;
};

QTEST_MAIN(TestRecentFilesArea)
#include "tst_recentfilesarea.moc"
