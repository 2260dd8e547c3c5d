// The start page's recent-files area: its buttons, loading present and missing files, pinning and
// removing.

#include "recentfiles/crecentfilesmodel.h"
#include "recentfiles/crecentfilesview.h"
#include "recentfiles/recentfilesarea.h"

#include "modaldialoganswerer.h"
#include "recordingobserver.h"

#include <QtTest>

#include <QLabel>
#include <QPushButton>
#include <QTranslator>

#include <memory>
#include <optional>

class TestRecentFilesArea final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
        QCoreApplication::installTranslator(&translator);
        for (const QString name : {"fav", "one", "two"})
            QVERIFY(QFile(path(name)).open(QIODevice::WriteOnly));
    }

    void init()
    {
        opened.clear();
        takes = true;
        // Stands in for the document manager.
        area = std::make_unique<RecentFilesArea>(
            [this](QWidget *parent, bool &, const QString &path) {
                opened << path;
                openParent = parent;
                return takes;
            });
        // Shown: fav, gonefav (favourites), one, two, gone; gone and gonefav have no file.
        QStringList parts;
        const QStringList names{"one", "two", "gone", "fav", "gonefav"};
        for (int i = 0; i < names.size(); ++i)
            parts << QStringLiteral("\"%1\",\"%2\",\"2024-05-01T%3:00:00\"")
                         .arg(path(names[i]), names[i].contains("fav") ? "true" : "false")
                         .arg(12 - i);
        QVERIFY(model()->fromString(parts.join(',')));
        area->show();
        closeCounter.emplace();
    }

    void cleanup()
    {
        closeCounter.reset();
        area.reset();
        QCOMPARE(pendingModalAnswers(), 0);
    }

    // The buttons' labels and the icons; Load takes one entry; Remove leaves favourites alone
    // (the other states are checked after the buttons act).
    void buttonsFollowSelection()
    {
        QStringList labels;
        for (const char *name : {"loadButton", "favoriteButton", "removeButton"})
            labels << area->findChild<QPushButton *>(name)->text();
        QCOMPARE(labels, (QStringList{"Load", "Favorite", "Remove from History"}));
        // The favourites first with the star, the others plain.
        QVERIFY(rendered(QIcon(QPixmap(":/images/file_icon/QVKiosk_file_icon.svg"))) != star);
        QCOMPARE(shownList(), "fav* gonefav* one two gone");
        select({"one", "two"});
        QCOMPARE(buttons(), "-FR");
        select({"fav"});
        QCOMPARE(buttons(), "LF-");
        select({});
        QCOMPARE(buttons(), "---");
    }

    void loadHandsOverTheSelectedFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("takes");
        QTest::addRow("Load, taken") << "load" << true;
        QTest::addRow("Load, refused") << "load" << false;
        QTest::addRow("Load, current entry elsewhere") << "load, current on two" << true;
        QTest::addRow("double click beside another selection") << "double click" << true;
    }

    void loadHandsOverTheSelectedFile()
    {
        QFETCH(QString, how);
        QFETCH(bool, takes);
        this->takes = takes;
        if (how == "double click") {
            select({"two"});
            area->itemDoubleClicked(indexOf("one"));
        } else {
            select({"one"});
            if (how.contains("current on two")) // as Ctrl+arrow keys leave it
                view()->selectionModel()->setCurrentIndex(indexOf("two"),
                                                          QItemSelectionModel::NoUpdate);
            click("loadButton");
        }
        QCOMPARE(opened, QStringList{path("one")});
        QCOMPARE(openParent, area.get());
        QCOMPARE(closeCounter->count("close"), takes ? 1 : 0);
        QCOMPARE(view()->selectionModel()->hasSelection(), !takes);
        QCOMPARE(buttons(), takes ? "---" : "LFR");
    }

    void missingFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("kept");
        const QString unlock = "Please unlock to remove it.";
        const QString question = "Remove this file from recent file list?";
        QTest::addRow("favourite, double click")
            << "gonefav" << true << "okButton" << unlock << true;
        QTest::addRow("other, Load, Yes") << "gone" << false << "yesButton" << question << false;
        QTest::addRow("other, Load, No") << "gone" << false << "noButton" << question << true;
    }

    void missingFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, doubleClick);
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(bool, kept);
        QString shown;
        answerModalDialog([&](QWidget *modal) {
            shown = modal->windowTitle() + '|' + modal->findChild<QLabel *>("textLabel")->text();
            QTest::mouseClick(modal->findChild<QPushButton *>(answer), Qt::LeftButton);
        });
        if (doubleClick) {
            const QPoint at = view()->visualRect(indexOf(name)).center();
            QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, at);
        } else {
            select({name});
            click("loadButton");
        }
        QCOMPARE(shown, "File not found!|" + message + "\n\nSelected file:\n" + path(name));
        QCOMPARE(model()->indexOf(path(name)) >= 0, kept);
        QCOMPARE(model()->isFix(path(name)), name == "gonefav");
        QVERIFY(opened.isEmpty());
    }

    // Favorite flips each selected entry's flag and keeps the selection; Remove drops the
    // selected entries that are not favourites.
    void favoriteAndRemoveActOnTheSelection_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("list"); // [selected], *favourite
        QTest::addColumn<QString>("enabled");
        QTest::addRow("Favorite") << "favoriteButton"
                                  << "[one]* gonefav* two gone [fav]"
                                  << "-FR";
        QTest::addRow("Remove") << "removeButton"
                                << "fav* gonefav* two gone"
                                << "---";
    }

    void favoriteAndRemoveActOnTheSelection()
    {
        QFETCH(QString, button);
        QFETCH(QString, list);
        QFETCH(QString, enabled);
        select({"fav", "one"});
        click(button.toLatin1());
        QCOMPARE(shownList(), list);
        QCOMPARE(buttons(), enabled);
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
    // The entries in view order by name, a favourite's (shown with the star) marked "*".
    QString shownList() const
    {
        QStringList names;
        for (int row = 0; row < view()->model()->rowCount(); ++row) {
            const QModelIndex index = view()->model()->index(row, 0);
            QString name = QFileInfo(index.data(Qt::UserRole).toString()).baseName();
            if (view()->selectionModel()->isSelected(index))
                name = '[' + name + ']';
            names << name + (rendered(index.data(Qt::DecorationRole)) == star ? "*" : "");
        }
        return names.join(' ');
    }
    // Selects these entries only, as a Ctrl+click on each does.
    void select(const QStringList &names)
    {
        view()->selectionModel()->clearSelection();
        for (const QString &name : names)
            view()->selectionModel()->select(indexOf(name), QItemSelectionModel::Select);
    }
    void click(const char *button)
    {
        QTest::mouseClick(area->findChild<QPushButton *>(button), Qt::LeftButton);
    }
    QString buttons() const
    {
        QString state;
        for (const char *name : {"loadButton", "favoriteButton", "removeButton"})
            state += area->findChild<QPushButton *>(name)->isEnabled() ? QChar(name[0]).toUpper()
                                                                       : QChar('-');
        return state;
    }

    QTranslator translator;
    const QImage star = rendered(QIcon(QPixmap(":/images/file_icon/QVKiosk_file_fix_icon.svg")));
    QTemporaryDir dir;
    QStringList opened;
    QWidget *openParent = nullptr;
    bool takes = true;
    std::optional<RecordingObserver> closeCounter;
    std::unique_ptr<RecentFilesArea> area;
};

QTEST_MAIN(TestRecentFilesArea)
#include "tst_recentfilesarea.moc"
