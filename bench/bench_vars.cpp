// A variables package of many values (100,000 in 1,000 folders by default): load and save
// through its own file, a lookup of every path, and a walk of the whole tree matching a name
// against each ident and value text as a search through the package does.
//   kv_bench_vars [--count N] [--folders N] [--runs N]

#include "KvBench.h"
#include "KvPkgVars.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString PathOf(int Index, int Folders)
{
    return QStringLiteral("Group %1\\Folder %2\\Value %3").arg(Index % 10).arg(Index % Folders).arg(Index);
}

// Depth first through the folders, then each folder's variables, case-insensitive.
const TKvPkgVarsItem* Search(const TKvPkgVarsItem* Folder, const QString& Text)
{
    for (const TKvPkgVarsItem* item = Folder->FirstChild(); item; item = item->Next()) {
        if (item->IsFolder()) {
            if (item->Ident().contains(Text, Qt::CaseInsensitive))
                return item;
            if (const TKvPkgVarsItem* found = Search(item, Text))
                return found;
        } else if (item->Ident().contains(Text, Qt::CaseInsensitive) ||
                   item->ValueText().contains(Text, Qt::CaseInsensitive)) {
            return item;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = IntArg(args, QLatin1String("--count"), 100000, 0);
    const int folders = IntArg(args, QLatin1String("--folders"), 1000);
    const int runs = IntArg(args, QLatin1String("--runs"), 5);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.kvvar"));
    TKvPkgVars source;
    const double build = Millis([&] {
        for (int i = 0; i < count; ++i) {
            TKvPkgVarsItem* item = source.Add(PathOf(i, folders), TKvPkgVarsItemType(i % 4));
            switch (i % 4) {
            case vtBoolean: item->SetVBoolean(i % 3 == 0); break;
            case vtInteger: item->SetVInteger(i * 7919); break;
            case vtFloat: item->SetVFloat(i / 7.0); break;
            default: item->SetVString(QStringLiteral("Text of value %1").arg(i)); break;
            }
        }
    });

    std::vector<double> saves, loads, finds, searches;
    for (int r = 0; r < runs; ++r) {
        saves.push_back(Millis([&] { source.SaveToFile(path); }));
        TKvPkgVars target;
        loads.push_back(Millis([&] { target.LoadFromFile(path); }));
        finds.push_back(Millis([&] {
            for (int i = 0; i < count; ++i)
                if (!target.Find(PathOf(i, folders)))
                    std::abort();
        }));
        // The last value in tree order: the longest search there is.
        const QString last = QStringLiteral("VALUE %1").arg(count - 1);
        searches.push_back(Millis([&] {
            if (!Search(target.Root(), last))
                std::abort();
        }));
    }

    std::printf("variables package: %d values in %d folders, file %.1f MB, median of %d runs\n", count, folders,
                QFileInfo(path).size() / 1048576.0, runs);
    std::printf("  build (Add)        %8.1f ms\n", build);
    std::printf("  SaveToFile         %8.1f ms\n", Median(saves));
    std::printf("  LoadFromFile       %8.1f ms\n", Median(loads));
    std::printf("  Find of each path  %8.1f ms\n", Median(finds));
    std::printf("  search to the last %8.1f ms\n", Median(searches));
    return 0;
}
