// The recent-files list: its saved form, order, matching, limits, items and changes.

#include "recentfiles/crecentfilesmodel.h"

#include <QtTest>

#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

// Each entry as "path|flag|time" (the time as written, empty when invalid), in list order.
QStringList describe(const CRecentFilesModel &model)
{
    QStringList lines;
    for (const CRecentFilesModel::UseFile &file : model.entries())
        lines << QStringList{file.fileInfo.filePath(),
                             file.fixed ? "true" : "false",
                             file.lastUsed.toString(Qt::ISODate)}
                     .join('|');
    return lines;
}

QString entry(const QString &path, const QString &flag, const QString &time)
{
    return QStringLiteral("\"%1\",\"%2\",\"%3\"").arg(path, flag, time);
}

// n entries "/r/<prefix><i>.qvksk", the first the newest.
QString entries(const QString &prefix, int n, const QString &flag)
{
    QStringList parts;
    const QDateTime newest(QDate(2024, 5, 1), QTime(12, 0));
    for (int i = 0; i < n; ++i)
        parts << entry(QStringLiteral("/r/%1%2.qvksk").arg(prefix).arg(i),
                       flag,
                       newest.addSecs(-60 * i).toString(Qt::ISODate));
    return parts.join(',');
}

const QString a = "/r/a.qvksk", b = "/r/b.qvksk", c = "/r/c.qvksk";
const QString t9 = "2024-05-01T09:00:00", t10 = "2024-05-01T10:00:00";

} // namespace

class TestRecentFilesModel final : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // in display order
        // clang-format off
        QTest::addRow("favourites first, then newest first")
            << entry(a, "false", t9) + ',' + entry(b, "true", "2024-04-01T08:00:00") + ',' + entry(c, "false", t10)
            << QStringList{b + "|true|2024-04-01T08:00:00", c + "|false|" + t10, a + "|false|" + t9};
        QTest::addRow("comma in a path keeps the entry and the later ones")
            << entry("/r/x,y.qvksk", "true", t9) + ',' + entry(a, "false", t10)
            << QStringList{"/r/x,y.qvksk|true|" + t9, a + "|false|" + t10};
        QTest::addRow("quote inside a path, not before a comma")
            << entry("/r/say\"hi.qvksk", "false", t10) << QStringList{"/r/say\"hi.qvksk|false|" + t10};
        QTest::addRow("only the exact word true pins")
            << entry(a, "True", t9) + ',' + entry(b, "1", t10) + ',' + entry(c, "true ", "2024-05-01T11:00:00")
            << QStringList{c + "|false|2024-05-01T11:00:00", b + "|false|" + t10, a + "|false|" + t9};
        QTest::addRow("unreadable time: kept, last of its group")
            << entry(a, "false", "yesterday") + ',' + entry(b, "false", t10) + ',' + entry(c, "true", "2024-13-01T10:00:00")
            << QStringList{c + "|true|", b + "|false|" + t10, a + "|false|"};
        QTest::addRow("other suffix dropped, suffix case ignored")
            << entry("/r/notes.txt", "false", t10) + ',' + entry("/r/UP.QVKSK", "false", t9)
            << QStringList{"/r/UP.QVKSK|false|" + t9};
        QTest::addRow("seventh part ignored")
            << entry(a, "false", t10) + ',' + entry(b, "false", t9) + ",\"" + c + "\""
            << QStringList{a + "|false|" + t10, b + "|false|" + t9};
        QTest::addRow("unquoted fields as they stand") << a + ",true," + t10 << QStringList{a + "|true|" + t10};
        QTest::addRow("trailing comma: empty time") << "\"" + a + "\",\"true\"," << QStringList{a + "|true|"};
        QTest::addRow("empty text") << QString() << QStringList();
        // clang-format on
    }

    void reading()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QStandardItemModel items;
        items.appendRow(new QStandardItem("shown before"));
        CRecentFilesModel model(&items);
        QCOMPARE(model.fromString(text), !expected.isEmpty());
        QCOMPARE(describe(model), expected);
        // Nothing read leaves the view alone.
        QCOMPARE(items.rowCount(), expected.isEmpty() ? 1 : expected.size());
        QVERIFY(!model.isChanged());
    }

    void writingRoundTrips()
    {
        // Written in display order, in the form read before; fractions of a second are dropped.
        const QString written = entry("/r/fav,1.qvksk", "true", "2024-04-01T08:00:00") + ','
                                + entry("/r/new.qvksk", "false", t10) + ','
                                + entry("rel/old.qvksk", "false", t9);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        QVERIFY(model.fromString(QString(written).replace(t10, t10 + ".900")));
        QCOMPARE(model.toString(), written);
        QCOMPARE(CRecentFilesModel(&items).toString(), QString());
    }

    void pathWithQuoteStaysForTheRunButIsNotSaved()
    {
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        const QString quoted = "/r/a\",\"b.qvksk";
        model.addFile(quoted);
        model.addFile(a);
        QCOMPARE(items.rowCount(), 2);
        QVERIFY(model.indexOf(quoted) >= 0);
        CRecentFilesModel next(&items);
        QVERIFY(next.fromString(model.toString()));
        QCOMPARE(next.entries().size(), 1);
        QCOMPARE(next.entries().first().fileInfo.filePath(), a);
    }

    void reopeningByAnotherSpellingMovesToFront_data()
    {
        QTest::addColumn<QString>("spelling"); // in the folder holding old.qvksk
        QTest::addRow("same path") << "old.qvksk";
        QTest::addRow("dot and parent segments") << "./sub/..//old.qvksk";
        QTest::addRow("symbolic link") << "link.qvksk";
    }

    void reopeningByAnotherSpellingMovesToFront()
    {
        QFETCH(QString, spelling);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        const QString old = dir.filePath("old.qvksk");
        QVERIFY(QFile(old).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(old, dir.filePath("link.qvksk")));

        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.fromString(entry(a, "false", t10) + ',' + entry(old, "false", t9));
        model.addFile(dir.path() + '/' + spelling);
        QCOMPARE(model.entries().size(), 2);
        QCOMPARE(items.item(0)->data(Qt::UserRole).toString(), old);
        QVERIFY(model.entries().first().lastUsed > QDateTime(QDate(2024, 5, 2), QTime()));
    }

    void twoMissingFilesActOnTheirOwnEntries()
    {
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.fromString(entry(a, "false", t10) + ',' + entry(b, "false", t9));
        QCOMPARE(model.indexOf(b), 1);
        model.toggleFix(b);
        QVERIFY(model.isFix(b) && !model.isFix(a));
        model.toggleFix(b);
        model.removeFile(b);
        QCOMPARE(describe(model), QStringList{a + "|false|" + t10});
    }

    void storedPathNotAbsoluteOrCleanCanBeFound_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addRow("relative") << "gone/x.qvksk";
        QTest::addRow("parent segment") << "/missing/sub/../x.qvksk";
    }

    void storedPathNotAbsoluteOrCleanCanBeFound()
    {
        QFETCH(QString, stored);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.fromString(entry(stored, "true", t10));
        const QString shown = items.item(0)->data(Qt::UserRole).toString(); // what the area passes
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
        QTest::addRow("101 others") << entries("o", 101, "false") << "/r/o99.qvksk"
                                    << "/r/o100.qvksk";
        QTest::addRow("100 favourites and one other")
            << entries("o", 1, "false") + ',' + entries("f", 100, "true") << "/r/f99.qvksk"
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
        QVERIFY(saved.contains(lastShown) && !saved.contains(hidden));
        QCOMPARE(saved.count(".qvksk"), 100);
    }

    void itemText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        auto name = [](int length) {
            return QString(60, 'x').replace(0, 26, "abcdefghijklmnopqrstuvwxyz").left(length - 6)
                   + ".qvksk";
        };
        const QString n13 = name(13), n48 = name(48), n49 = name(49);
        QTest::addRow("12: one line") << name(12) << QStringList{name(12)};
        QTest::addRow("13: 12 + 1") << n13 << QStringList{n13.left(12), n13.mid(12)};
        QTest::addRow("48: four lines")
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
        QString shown = items.item(0)->toolTip();
        if (Qt::mightBeRichText(shown)) { // what a tool tip does with it
            QTextDocument document;
            document.setHtml(shown);
            shown = document.toPlainText();
        }
        QCOMPARE(shown, path);
        QVERIFY(!(items.item(0)->flags() & Qt::ItemIsEditable));
    }

    void changes_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("path"); // a is listed, b is a listed favourite
        QTest::addColumn<bool>("changed");
        QTest::addRow("only read") << "" << a << false;
        QTest::addRow("use of a listed file") << "add" << a << true;
        QTest::addRow("new file") << "add" << c << true;
        QTest::addRow("file of another type") << "add"
                                              << "/r/c.txt" << false;
        QTest::addRow("remove other") << "remove" << a << true;
        QTest::addRow("remove favourite") << "remove" << b << false;
        QTest::addRow("remove unlisted") << "remove" << c << false;
        QTest::addRow("pin") << "fix" << a << true;
        QTest::addRow("unpin") << "fix" << b << true;
        QTest::addRow("pin unlisted") << "fix" << c << false;
    }

    void changes()
    {
        QFETCH(QString, operation);
        QFETCH(QString, path);
        QFETCH(bool, changed);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        model.fromString(entry(a, "false", t10) + ',' + entry(b, "true", t9));
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
