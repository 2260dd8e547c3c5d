// Times the recent-files list's reading, writing and recording of a use with 100 and with 10,000
// entries in memory, and prints the figures. Paths name no existing file, so no file-system lookup
// is timed. Run: build/bench/bench_recentfiles

#include "recentfiles/crecentfilesmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Calls op until half a second has passed (at least 5, at most 2,000 times), each call followed by
// the untimed undo; the median and the fastest call in microseconds.
std::pair<double, double> measure(
    const std::function<void()> &op, const std::function<void()> &undo = [] {})
{
    std::vector<double> micros;
    QElapsedTimer total;
    total.start();
    while (micros.size() < 5 || (total.elapsed() < 500 && micros.size() < 2000)) {
        QElapsedTimer one;
        one.start();
        op();
        micros.push_back(one.nsecsElapsed() / 1000.0);
        undo();
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros.front()};
}

// n entries, one in ten a favourite, a minute apart, in no particular order.
QString savedList(int n)
{
    QStringList parts;
    const QDateTime start(QDate(2024, 1, 1), QTime(0, 0));
    for (int i = 0; i < n; ++i) {
        const int minute = (i * 7919) % n;
        parts << QStringLiteral("\"/bench/controllers/site %1/controller %2.qvksk\",\"%3\",\"%4\"")
                     .arg(i % 37)
                     .arg(i)
                     .arg(i % 10 == 0 ? "true" : "false")
                     .arg(start.addSecs(60 * minute).toString(Qt::ISODate));
    }
    return parts.join(',');
}

void report(const char *operation, int entries, const std::pair<double, double> &figures)
{
    std::printf("%-34s %7d %12.1f %12.1f\n", operation, entries, figures.first, figures.second);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf("%-34s %7s %12s %12s\n", "operation", "entries", "median us", "fastest us");
    for (const int n : {100, 10000}) {
        const QString text = savedList(n);
        QStandardItemModel items;
        CRecentFilesModel model(&items);
        report("fromString", n, measure([&] { model.fromString(text); }));
        report("toString (first 100 saved)", n, measure([&] { model.toString(); }));
        // The oldest entry each time: the longest walk, and it moves to the front.
        report("addFile, oldest listed file", n, measure([&] {
                   model.addFile(model.entries().last().fileInfo.filePath());
               }));
        // Removed again untimed, so that the list keeps its size.
        const QString fresh = QStringLiteral("/bench/new/controller.qvksk");
        report("addFile, new file",
               n,
               measure([&] { model.addFile(fresh); }, [&] { model.removeFile(fresh); }));
    }
    return 0;
}
