// The variables package editor on a large package (100,000 values in 1,000 folders by default):
// the time from Execute to the first turn of its event loop (tree and first list built, window
// shown), and one search step of its find window for the very last value in tree order,
// selection and repaint included.
//   kv_bench_vars_editor [--count N] [--folders N] [--runs N]

#include "KvBench.h"
#include "vars/KvVtPkgVars.h"

#include "KvPkgVars.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    OffscreenByDefault();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = IntArg(args, QLatin1String("--count"), 100000, 0);
    const int folders = IntArg(args, QLatin1String("--folders"), 1000);
    const int runs = IntArg(args, QLatin1String("--runs"), 5);

    // Ten groups of folders; the folders are named so that package order is not tree order.
    TKvPkgVars pkg;
    pkg.SetPkgName(QStringLiteral("Bench"));
    for (int i = 0; i < count; ++i) {
        const int folder = folders - 1 - i % folders;
        const QString path =
            QStringLiteral("Group %1\\Folder %2\\Value %3").arg(folder % 10).arg(folder).arg(i);
        TKvPkgVarsItem* item = pkg.Add(path, TKvPkgVarsItemType(i % 4));
        switch (i % 4) {
        case vtBoolean: item->SetVBoolean(i % 3 == 0); break;
        case vtInteger: item->SetVInteger(i * 7919); break;
        case vtFloat: item->SetVFloat(i / 7.0); break;
        default: item->SetVString(QStringLiteral("Text of value %1").arg(i)); break;
        }
    }
    // The last variable in tree order, in upper case: every value on the way is compared.
    QString last;
    {
        TKvVarsTreeModel tree;
        tree.SetPkg(&pkg);
        QModelIndex end = tree.RootIndex();
        for (QModelIndex i = end; i.isValid(); i = tree.NextInOrder(i))
            end = i;
        const TKvPkgVarsItem* folder = tree.Folder(end);
        for (int i = 0; i < folder->Count(); ++i)
            if (!folder->Items(i)->IsFolder())
                last = folder->Items(i)->Ident().toUpper();
    }

    std::vector<double> opens, finds;
    for (int r = 0; r < runs; ++r) {
        TFrPkgVars editor;
        editor.PkgVars = &pkg;
        QElapsedTimer clock;
        QTimer::singleShot(0, [&] {
            opens.push_back(clock.nsecsElapsed() / 1e6);
            finds.push_back(Millis([&] {
                editor.FindNext({last, false, true, false});
                QApplication::processEvents();
            }));
            if (editor.EndFind())
                std::fprintf(stderr, "'%s' not found\n", qPrintable(last));
            editor.reject();
        });
        clock.start();
        editor.Execute();
    }
    std::printf("variables editor: %d values in %d folders, median of %d runs\n", count, folders, runs);
    std::printf("  open (Execute to first event)  %8.1f ms\n", Median(opens));
    std::printf("  find the last value            %8.1f ms\n", Median(finds));
    return 0;
}
