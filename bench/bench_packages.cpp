// Load and save times of a strings package of many labels (100,000 by default), through its
// own file: the figure the package editors wait for when they open a file-backed package.
//   kv_bench_packages [--count N] [--runs N]

#include "KvBench.h"
#include "KvPkgStrings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int count = 100000;
    int runs = 5;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--count"))
            count = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = qMax(1, args[i + 1].toInt());
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.kvstr"));

    TKvPkgStrings source;
    source.SetPkgName(QStringLiteral("Bench"));
    const double build = Millis([&] {
        for (int id = 0; id < count; ++id)
            source.Labels()->Add(id, QStringLiteral("Label number %1 — Étiquette").arg(id),
                                 id % 3 ? QString() : QStringLiteral("Hint of label %1").arg(id));
    });

    std::vector<double> saves, loads, finds;
    for (int r = 0; r < runs; ++r) {
        saves.push_back(Millis([&] { source.SaveToFile(path); }));
        TKvPkgStrings target;
        loads.push_back(Millis([&] { target.LoadFromFile(path); }));
        if (target.Labels()->Count() != count) {
            std::fprintf(stderr, "bench_packages: %d labels read back, %d expected\n", target.Labels()->Count(), count);
            return 1;
        }
        finds.push_back(Millis([&] {
            for (int id = 0; id < count; ++id)
                if (!target.Labels()->FindId(id))
                    std::abort();
        }));
    }

    std::printf("strings package: %d labels, file %.1f MB, median of %d runs\n", count,
                QFileInfo(path).size() / 1048576.0, runs);
    std::printf("  build (Add)        %8.1f ms\n", build);
    std::printf("  SaveToFile         %8.1f ms\n", Median(saves));
    std::printf("  LoadFromFile       %8.1f ms\n", Median(loads));
    std::printf("  FindId of each     %8.1f ms\n", Median(finds));
    return 0;
}
