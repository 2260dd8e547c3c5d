// The recent-files list: its saved form, order, matching, limits, items and changes.

#include "recentfiles/crecentfilesmodel.h"

#include <QtTest>

#include <QtGui>

#include <optional>

namespace {

QString entry(const QString &path, const QString &flag, const QString &time)
{
    return QStringLiteral("\"%1\",\"%2\",\"%3\"").arg(path, flag, time);
}

const QString a = "/r/a.qvksk", b = "/r/b.qvksk", c = "/r/c.qvksk", f = "/r/f.qvksk";
const QString t8 = "2024-04-01T08:00:00", t9 = "2024-05-01T09:00:00", t10 = "2024-05-01T10:00:00";

// n entries "/r/<prefix><i>.qvksk", all used at the same time.
QStringList entries(const QString &prefix, int n, const QString &flag)
{
    QStringList parts;
    for (int i = 0; i < n; ++i)
        parts << entry(QStringLiteral("/r/%1%2.qvksk").arg(prefix).arg(i), flag, t9);
    return parts;
}

} // namespace

class TestRecentFilesModel final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        items.clear();
        model.emplace(&items);
    }

    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // as the view shows them and they are written
        // clang-format off
        QTest::addRow("favourites first, then newest first") << entry(a, "false", t9) + ',' + entry(b, "true", t8) + ',' + entry(c, "false", t10) << QStringList{entry(b, "true", t8), entry(c, "false", t10), entry(a, "false", t9)};
        QTest::addRow("comma in a relative path keeps the entry and the later ones") << entry("r/x,y.qvksk", "true", t9) + ',' + entry(a, "false", t10) << QStringList{entry("r/x,y.qvksk", "true", t9), entry(a, "false", t10)};
        QTest::addRow("quote inside a path, not before a comma") << entry("/r/say\"hi.qvksk", "false", t10) << QStringList{entry("/r/say\"hi.qvksk", "false", t10)};
        QTest::addRow("unreadable time: kept, last of its group") << entry(a, "false", "yesterday") + ',' + entry(b, "false", t10) + ',' + entry(c, "true", "2024-13-01T10:00:00") << QStringList{entry(c, "true", ""), entry(b, "false", t10), entry(a, "false", "")};
        QTest::addRow("other suffix dropped, suffix case ignored") << entry("/r/notes.txt", "false", t10) + ',' + entry("/r/UP.QVKSK", "false", t9) << QStringList{entry("/r/UP.QVKSK", "false", t9)};
        QTest::addRow("seventh part ignored") << entry(a, "false", t10) + ',' + entry(b, "false", t9) + ",\"" + c + "\"" << QStringList{entry(a, "false", t10), entry(b, "false", t9)};
        QTest::addRow("unquoted fields as they stand") << a + ",true," + t10 << QStringList{entry(a, "true", t10)};
        QTest::addRow("trailing comma: empty time") << "\"" + a + "\",\"true\"," << QStringList{entry(a, "true", "")};
        QTest::addRow("fractions of a second dropped") << entry(a, "false", t10 + ".900") << QStringList{entry(a, "false", t10)};
        QTest::addRow("101 others: the last neither shown nor saved") << entries("o", 101, "false").join(',') << entries("o", 100, "false");
        QTest::addRow("100 favourites before another") << (entries("o", 1, "false") + entries("f", 100, "true")).join(',') << entries("f", 100, "true");
        QTest::addRow("empty text") << QString() << QStringList();
        // clang-format on
    }

    void reading()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        items.appendRow(new QStandardItem("shown before"));
        QCOMPARE(model->fromString(text), !expected.isEmpty());
        QStringList shown;
        for (int row = 0; row < items.rowCount(); ++row) {
            const QStandardItem *item = items.item(row);
            shown << entry(item->data(Qt::UserRole).toString(),
                           item->data(Qt::UserRole + 1).toBool() ? "true" : "false",
                           item->data(Qt::UserRole + 2).toDateTime().toString(Qt::ISODate));
        }
        // Nothing read leaves the view alone.
        QCOMPARE(shown, expected.isEmpty() ? QStringList{entry("", "false", "")} : expected);
        QVERIFY(!model->isChanged());
        // A path with a quote stays listed for the run but is not saved.
        expected.removeIf([](const QString &listed) { return listed.count('"') > 6; });
        QCOMPARE(model->toString(), expected.join(','));
    }

    // Listed: f (a favourite), a, stored; an existing file is found by another spelling, a missing
    // one never taken for another. The name shows on four lines of twelve at most.
    void operations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("stored"); // @: a folder holding old.qvksk, sub/ and link.qvksk
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("second");             // the entry shown second after it
        QTest::addColumn<QString>("text");               // its name as shown
        QTest::addColumn<std::pair<int, bool>>("after"); // rows, changed
        // clang-format off
        QTest::addRow("reopened with dot and parent segments") << "add" << "@/old.qvksk" << "@/./sub/..//old.qvksk" << "@/old.qvksk" << "old.qvksk" << std::pair(3, true);
        QTest::addRow("reopened by a symbolic link") << "add" << "@/old.qvksk" << "@/link.qvksk" << "@/old.qvksk" << "old.qvksk" << std::pair(3, true);
        QTest::addRow("reopened, relative") << "add" << "gone/x.qvksk" << "gone/x.qvksk" << "gone/x.qvksk" << "x.qvksk" << std::pair(3, true);
        QTest::addRow("reopened, parent segment") << "add" << "/missing/sub/../x.qvksk" << "/missing/sub/../x.qvksk" << "/missing/sub/../x.qvksk" << "x.qvksk" << std::pair(3, true);
        QTest::addRow("reopened beside another missing file") << "add" << b << b << b << "b.qvksk" << std::pair(3, true);
        QTest::addRow("new file, tags in its name") << "add" << b << "/r/<b>bold</b>.qvksk" << "/r/<b>bold</b>.qvksk" << "b>.qvksk" << std::pair(4, true);
        QTest::addRow("new file, an entity and spaces") << "add" << b << "/r/<i>a  &amp;  b.qvksk" << "/r/<i>a  &amp;  b.qvksk" << "<i>a  &amp; \n b.qvksk" << std::pair(4, true);
        QTest::addRow("new file, 49 characters: 45 and an ellipsis") << "add" << b << "/r/" + QString(43, 'n') + ".qvksk" << "/r/" + QString(43, 'n') + ".qvksk" << QString(12, 'n') + '\n' + QString(12, 'n') + '\n' + QString(12, 'n') + "\nnnnnnnn.q..." << std::pair(4, true);
        QTest::addRow("file of another type") << "add" << b << "/r/c.txt" << a << "a.qvksk" << std::pair(3, false);
        QTest::addRow("remove other") << "remove" << b << a << b << "b.qvksk" << std::pair(2, true);
        QTest::addRow("remove favourite") << "remove" << b << f << a << "a.qvksk" << std::pair(3, false);
        QTest::addRow("unpin") << "fix" << b << f << b << "b.qvksk" << std::pair(3, true);
        QTest::addRow("pin unlisted") << "fix" << b << c << a << "a.qvksk" << std::pair(3, false);
        // clang-format on
    }

    void operations()
    {
        QFETCH(QString, operation);
        QFETCH(QString, stored);
        QFETCH(QString, given);
        QFETCH(QString, second);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        QVERIFY(QFile(dir.filePath("old.qvksk")).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(dir.filePath("old.qvksk"), dir.filePath("link.qvksk")));
        model->fromString(entry(f, "true", t8) + ',' + entry(a, "false", t10) + ','
                          + entry(stored.replace('@', dir.path()), "false", t9));
        given.replace('@', dir.path());
        if (operation == "add")
            model->addFile(given);
        else if (operation == "remove")
            model->removeFile(given);
        else
            model->toggleFix(given);
        const QStandardItem *shown = items.item(1);
        QCOMPARE(shown->data(Qt::UserRole).toString(), second.replace('@', dir.path()));
        QTEST(shown->text(), "text");
        QString tip = shown->toolTip();
        if (Qt::mightBeRichText(tip)) // what a tool tip does with it
            tip = QTextDocumentFragment::fromHtml(tip).toPlainText();
        QCOMPARE(tip, QFileInfo(second).absoluteFilePath());
        QVERIFY(!(shown->flags() & Qt::ItemIsEditable));
        QTEST(std::make_pair(items.rowCount(), model->isChanged()), "after");
    }

private:
    QStandardItemModel items;
    std::optional<CRecentFilesModel> model;
};

QTEST_MAIN(TestRecentFilesModel)
#include "tst_crecentfilesmodel.moc"
