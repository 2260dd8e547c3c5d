// The recent-files list: its order, matching, limits, items and saved form.

#include "recentfiles/crecentfilesmodel.h"

#include <QtTest>

#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

// One entry as "path|true|time" (time as stored, empty when invalid), for compact comparisons.
QStringList describe(const CRecentFilesModel &model)
{
    QStringList lines;
    for (const CRecentFilesModel::UseFile &file : model.entries()) {
        lines << file.fileInfo.filePath() + '|' + (file.fixed ? "true" : "false") + '|'
                     + file.lastUsed.toString(Qt::ISODate);
    }
    return lines;
}

QString entry(const QString &path, bool fixed, const QString &time)
{
    return QStringLiteral("\"%1\",\"%2\",\"%3\"").arg(path, fixed ? "true" : "false", time);
}

// n entries "/r/<prefix><i>.qvksk", the first the newest.
QString entries(const QString &prefix, int n, bool fixed)
{
    QStringList parts;
    const QDateTime newest(QDate(2024, 5, 1), QTime(12, 0));
    for (int i = 0; i < n; ++i)
        parts << entry(QStringLiteral("/r/%1%2.qvksk").arg(prefix).arg(i),
                       fixed,
                       newest.addSecs(-60 * i).toString(Qt::ISODate));
    return parts.join(',');
}

// What a tool tip shows: text that looks like markup is shown as markup.
QString shownToolTip(const QString &toolTip)
{
    if (!Qt::mightBeRichText(toolTip))
        return toolTip;
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}

} // namespace

class TestRecentFilesModel final : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // in display order

        const QString a = "/r/a.qvksk", b = "/r/b.qvksk", c = "/r/c.qvksk";
        QTest::addRow("written form: favourites first, then newest first")
            << entry(a, false, "2024-05-01T09:00:00") + ',' + entry(b, true, "2024-04-01T08:00:00")
                   + ',' + entry(c, false, "2024-05-01T10:00:00")
            << QStringList{b + "|true|2024-04-01T08:00:00",
                           c + "|false|2024-05-01T10:00:00",
                           a + "|false|2024-05-01T09:00:00"};
        QTest::addRow("comma in a path keeps the entry and the later ones")
            << entry("/r/x,y.qvksk", true, "2024-05-01T09:00:00") + ','
                   + entry(a, false, "2024-05-01T10:00:00")
            << QStringList{"/r/x,y.qvksk|true|2024-05-01T09:00:00",
                           a + "|false|2024-05-01T10:00:00"};
        QTest::addRow("quote inside a path, not before a comma, reads as before")
            << entry("/r/say\"hi.qvksk", false, "2024-05-01T10:00:00")
            << QStringList{"/r/say\"hi.qvksk|false|2024-05-01T10:00:00"};
        QTest::addRow("only the exact word true pins")
            << entry("/r/1.qvksk", false, "2024-05-01T01:00:00").replace("false", "True") + ','
                   + entry("/r/2.qvksk", false, "2024-05-01T02:00:00").replace("false", "1") + ','
                   + entry("/r/3.qvksk", false, "2024-05-01T03:00:00").replace("false", "true ")
            << QStringList{"/r/3.qvksk|false|2024-05-01T03:00:00",
                           "/r/2.qvksk|false|2024-05-01T02:00:00",
                           "/r/1.qvksk|false|2024-05-01T01:00:00"};
        QTest::addRow("unreadable time: kept, last of its group")
            << entry(a, false, "yesterday") + ',' + entry(b, false, "2024-05-01T10:00:00") + ','
                   + entry(c, true, "2024-13-01T10:00:00")
            << QStringList{c + "|true|", b + "|false|2024-05-01T10:00:00", a + "|false|"};
        QTest::addRow("a time with fractions of a second")
            << entry(a, false, "2024-05-01T10:00:00.900")
            << QStringList{a + "|false|2024-05-01T10:00:00"};
        QTest::addRow("other suffix dropped, suffix case ignored")
            << entry("/r/notes.txt", false, "2024-05-01T10:00:00") + ','
                   + entry("/r/UP.QVKSK", false, "2024-05-01T09:00:00")
            << QStringList{"/r/UP.QVKSK|false|2024-05-01T09:00:00"};
        QTest::addRow("seventh part ignored")
            << entry(a, false, "2024-05-01T10:00:00") + ',' + entry(b, false, "2024-05-01T09:00:00")
                   + ",\"" + c + "\""
            << QStringList{a + "|false|2024-05-01T10:00:00", b + "|false|2024-05-01T09:00:00"};
        QTest::addRow("unquoted fields read as they stand")
            << a + ",true,2024-05-01T10:00:00" << QStringList{a + "|true|2024-05-01T10:00:00"};
        QTest::addRow("trailing comma gives an empty time")
            << "\"" + a + "\",\"true\"," << QStringList{a + "|true|"};
        QTest::addRow("empty text") << QString() << QStringList();
        QTest::addRow("unclosed quote") << "\"" + a << QStringList();
    }

    void reading()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        QCOMPARE(model.fromString(text), !expected.isEmpty());
        QCOMPARE(describe(model), expected);
        QCOMPARE(items.rowCount(), expected.size());
        QVERIFY(!model.isChanged());
    }

    void writingRoundTrips()
    {
        // Written in display order, in exactly the form read before; a comma in a path included.
        const QString text = entry("/r/fav,1.qvksk", true, "2024-04-01T08:00:00") + ','
                             + entry("/r/new.qvksk", false, "2024-05-01T10:00:00") + ','
                             + entry("rel/old.qvksk", false, "2024-05-01T09:00:00");
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        QVERIFY(model.fromString(text));
        QCOMPARE(model.toString(), text);
        QCOMPARE(CRecentFilesModel(&items).toString(), QString());
    }

    void emptyStoredValueLeavesViewUntouched()
    {
        QStandardItemModel items;
        items.appendRow(new QStandardItem("shown before"));
        CRecentFilesModel model(&items);
        QVERIFY(!model.fromString(QString()));
        QCOMPARE(items.rowCount(), 1);
        QCOMPARE(items.item(0)->text(), QStringLiteral("shown before"));
    }

    void pathWithQuoteStaysForTheRunButIsNotSaved()
    {
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        const QString quoted = "/r/a\",\"b.qvksk";
        model.addFile(quoted);
        model.addFile("/r/plain.qvksk");
        QCOMPARE(items.rowCount(), 2);
        QVERIFY(model.indexOf(quoted) >= 0);

        CRecentFilesModel again(&items);
        QVERIFY(again.fromString(model.toString()));
        QCOMPARE(again.entries().size(), 1);
        QCOMPARE(again.entries().first().fileInfo.filePath(), QStringLiteral("/r/plain.qvksk"));
    }

    void reopeningByAnotherSpellingMovesToFront_data()
    {
        QTest::addColumn<QString>("spelling"); // relative to the folder holding old.qvksk
        QTest::addRow("same path") << "old.qvksk";
        QTest::addRow("dot segment") << "./old.qvksk";
        QTest::addRow("parent segment") << "sub/../old.qvksk";
        QTest::addRow("doubled separator") << "sub/..//old.qvksk";
        QTest::addRow("symbolic link") << "link.qvksk";
    }

    void reopeningByAnotherSpellingMovesToFront()
    {
        QFETCH(QString, spelling);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        for (const QString name : {"old.qvksk", "new.qvksk"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(dir.filePath("old.qvksk"), dir.filePath("link.qvksk")));

        QStandardItemModel items;
        CRecentFilesModel model(&items);
        const QString old = dir.filePath("old.qvksk");
        model.fromString(entry(dir.filePath("new.qvksk"), false, "2024-05-01T10:00:00") + ','
                         + entry(old, false, "2024-05-01T09:00:00"));
        QVERIFY(model.addFile(dir.path() + '/' + spelling));

        QCOMPARE(model.entries().size(), 2);
        QCOMPARE(model.entries().first().fileInfo.filePath(), old);
        QVERIFY(model.entries().first().lastUsed > QDateTime(QDate(2024, 5, 2), QTime()));
        QCOMPARE(items.item(0)->data(Qt::UserRole).toString(), old);
        QVERIFY(model.isChanged());
    }

    void twoMissingFilesActOnTheirOwnEntries()
    {
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        const QString first = "/missing/first.qvksk", second = "/missing/second.qvksk";
        model.fromString(entry(first, false, "2024-05-01T10:00:00") + ','
                         + entry(second, false, "2024-05-01T09:00:00"));
        QCOMPARE(model.indexOf(second), 1);
        model.toggleFix(second);
        QVERIFY(model.isFix(second));
        QVERIFY(!model.isFix(first));
        model.toggleFix(second);
        model.removeFile(second);
        QCOMPARE(describe(model), QStringList{first + "|false|2024-05-01T10:00:00"});
    }

    void storedPathThatIsNotAbsoluteAndCleanCanBeFound_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addRow("relative") << "gone/x.qvksk";
        QTest::addRow("parent segment") << "/missing/sub/../x.qvksk";
        QTest::addRow("dot segment") << "/missing/./x.qvksk";
    }

    void storedPathThatIsNotAbsoluteAndCleanCanBeFound()
    {
        QFETCH(QString, stored);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.fromString(entry(stored, true, "2024-05-01T10:00:00"));
        // The area hands back what the item carries.
        const QString shown = items.item(0)->data(Qt::UserRole).toString();
        QCOMPARE(model.indexOf(shown), 0);
        model.toggleFix(shown);
        QVERIFY(!model.isFix(shown));
        model.removeFile(shown);
        QCOMPARE(model.entries().size(), 0);
    }

    void limits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lastShown");
        QTest::addColumn<QString>("hidden");

        QTest::addRow("101 others: the oldest is neither shown nor saved")
            << entries("o", 101, false) << "/r/o99.qvksk"
            << "/r/o100.qvksk";
        QTest::addRow("100 favourites and one other: the other is neither shown nor saved")
            << entries("o", 1, false) + ',' + entries("f", 100, true) << "/r/f99.qvksk"
            << "/r/o0.qvksk";
    }

    void limits()
    {
        QFETCH(QString, text);
        QFETCH(QString, lastShown);
        QFETCH(QString, hidden);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        QVERIFY(model.fromString(text));
        QCOMPARE(model.entries().size(), 101);
        QCOMPARE(items.rowCount(), 100);
        QCOMPARE(items.item(99)->data(Qt::UserRole).toString(), lastShown);

        const QString saved = model.toString();
        QVERIFY(saved.contains(lastShown));
        QVERIFY(!saved.contains(hidden));
        CRecentFilesModel next(&items);
        QVERIFY(next.fromString(saved));
        QCOMPARE(next.entries().size(), 100);
    }

    void addingAnotherSuffixRecordsNothing()
    {
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        QVERIFY(!model.addFile("/r/notes.txt"));
        QVERIFY(!model.addFile("/r/qvksk"));
        QCOMPARE(model.entries().size(), 0);
        QVERIFY(!model.isChanged());
    }

    void itemText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        auto name = [](int length) {
            return QString("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ").left(length - 6)
                   + ".qvksk";
        };
        const QString n13 = name(13), n48 = name(48), n49 = name(49);
        QTest::addRow("12: one line") << name(12) << QStringList{name(12)};
        QTest::addRow("13: 12 + 1") << n13 << QStringList{n13.left(12), n13.mid(12)};
        QTest::addRow("48: four full lines")
            << n48 << QStringList{n48.mid(0, 12), n48.mid(12, 12), n48.mid(24, 12), n48.mid(36)};
        QTest::addRow("49: 45 and an ellipsis")
            << n49
            << QStringList{n49.mid(0, 12), n49.mid(12, 12), n49.mid(24, 12), n49.mid(36, 9) + "..."};
    }

    void itemText()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.addFile("/r/" + name);
        QCOMPARE(items.item(0)->text().split('\n'), lines);
    }

    void itemCarriesPathFlagAndTime()
    {
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.fromString(entry("rel/a.qvksk", true, "2024-05-01T10:00:00"));
        const QStandardItem *item = items.item(0);
        QCOMPARE(item->data(Qt::UserRole).toString(), QStringLiteral("rel/a.qvksk"));
        QCOMPARE(item->data(Qt::UserRole + 1).toBool(), true);
        QCOMPARE(item->data(Qt::UserRole + 2).toDateTime(),
                 QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
        QVERIFY(!item->icon().isNull());
        QVERIFY(!(item->flags() & Qt::ItemIsEditable));
    }

    void toolTipShowsThePathAsText_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addRow("plain") << "/r/plain.qvksk";
        QTest::addRow("tags") << "/r/<b>bold</b>.qvksk";
        QTest::addRow("entity and spaces") << "/r/<i>a  &amp;  b.qvksk";
    }

    void toolTipShowsThePathAsText()
    {
        QFETCH(QString, path);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.addFile(path);
        QCOMPARE(shownToolTip(items.item(0)->toolTip()), path);
    }

    void changes_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("changed");
        const QString other = "/r/other.qvksk", favourite = "/r/fav.qvksk";
        QTest::addRow("only read") << "" << other << false;
        QTest::addRow("use of a listed file") << "add" << other << true;
        QTest::addRow("new file") << "add"
                                  << "/r/new.qvksk" << true;
        QTest::addRow("file of another type") << "add"
                                              << "/r/new.txt" << false;
        QTest::addRow("remove other") << "remove" << other << true;
        QTest::addRow("remove favourite") << "remove" << favourite << false;
        QTest::addRow("remove unlisted") << "remove"
                                         << "/r/new.qvksk" << false;
        QTest::addRow("pin") << "fix" << other << true;
        QTest::addRow("unpin") << "fix" << favourite << true;
        QTest::addRow("pin unlisted") << "fix"
                                      << "/r/new.qvksk" << false;
    }

    void changes()
    {
        QFETCH(QString, operation);
        QFETCH(QString, path);
        QFETCH(bool, changed);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.fromString(entry("/r/other.qvksk", false, "2024-05-01T10:00:00") + ','
                         + entry("/r/fav.qvksk", true, "2024-05-01T09:00:00"));
        if (operation == "add")
            model.addFile(path);
        else if (operation == "remove")
            model.removeFile(path);
        else if (operation == "fix")
            model.toggleFix(path);
        QCOMPARE(model.isChanged(), changed);
    }
};

QTEST_MAIN(TestRecentFilesModel)
#include "tst_crecentfilesmodel.moc"
