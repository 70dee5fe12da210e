// Export and import times of one list of a strings package of many labels (100,000 by
// default) as an exchange file, with texts that need quoting (commas, quotes, line breaks,
// Chinese, emoji); checks that the import gives back the same labels.
//   kv_bench_strings_exchange [--count N] [--runs N]

#include "KvBench.h"
#include "strings/KvStringsExchange.h"

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
    const QStringList args = app.arguments();
    const int count = IntArg(args, QLatin1String("--count"), 100000, 0);
    const int runs = IntArg(args, QLatin1String("--runs"), 5);

    TKvPkgStrings source;
    for (int id = 0; id < count; ++id) {
        QString text;
        switch (id % 4) {
        case 0: text = QStringLiteral("Label number %1").arg(id); break;
        case 1: text = QStringLiteral("Say \"%1\", then go").arg(id); break;
        case 2: text = QStringLiteral("标签 %1 😀").arg(id); break;
        default: text = QStringLiteral("Two\r\nlines %1").arg(id); break;
        }
        source.Labels()->Add(id, text, id % 3 ? QString() : QStringLiteral("Hint, of %1").arg(id));
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("labels.txt"));
    std::vector<double> exports, imports;
    TKvPkgStrings target;
    for (int r = 0; r < runs; ++r) {
        exports.push_back(Millis([&] { KvStringsExport(TKvStringsKind::Labels, &source, path); }));
        imports.push_back(Millis([&] { KvStringsImport(TKvStringsKind::Labels, &target, path); }));
    }
    if (KvStringsRecords(TKvStringsKind::Labels, &target) != KvStringsRecords(TKvStringsKind::Labels, &source)) {
        std::fprintf(stderr, "the imported labels differ from the exported ones\n");
        return 1;
    }
    std::printf("%d labels, %.1f MB file: export %.1f ms, import %.1f ms (median of %d)\n", count,
                QFileInfo(path).size() / 1e6, Median(exports), Median(imports), runs);
    return 0;
}
