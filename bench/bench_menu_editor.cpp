// The menu editor on a large menu (2,000 items by default: top-level items with sub-menus of 19):
// the time from opening the editor to the first turn of its event loop with the tree painted,
// and the rebuild a change brings with every node expanded.
//   kv_bench_menu_editor [--count N] [--runs N]

#include "KvBench.h"
#include "controls/KvMenuTreeModel.h"
#include "controls/KvVtMenus.h"

#include "KvMenus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    OffscreenByDefault();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = IntArg(args, QLatin1String("--count"), 2000, 0);
    const int runs = IntArg(args, QLatin1String("--runs"), 5);

    std::vector<double> open, rebuild;
    for (int run = 0; run < runs; ++run) {
        TComponent form;
        form.SetName(QStringLiteral("FormBench"));
        auto* menu = new TKvMainMenu(&form);
        menu->SetName(QStringLiteral("MmBench"));
        TKvMenuItem* top = nullptr;
        for (int i = 0; i < count; ++i) {
            auto* item = new TKvMenuItem(&form);
            item->SetName(QStringLiteral("KvMenuItem%1").arg(i + 1));
            item->SetCaption(QStringLiteral("Item %1").arg(i + 1));
            if (i % 20 == 0) {
                menu->Items()->Add(item);
                top = item;
            } else {
                top->Add(item);
            }
        }

        TFrMenus* window = nullptr;
        open.push_back(Millis([&] {
            window = KvEditMenu(menu, nullptr);
            window->resize(400, 700);
            QCoreApplication::processEvents();
            window->findChild<QTreeView*>(QStringLiteral("Tree"))->viewport()->repaint();
        }));
        auto* tree = window->findChild<QTreeView*>(QStringLiteral("Tree"));
        tree->expandAll();
        QCoreApplication::processEvents();
        auto* extra = new TKvMenuItem(&form);
        extra->SetName(QStringLiteral("Extra"));
        menu->Items()->Add(extra);
        rebuild.push_back(Millis([&] {
            window->ItemsModified(nullptr);
            tree->viewport()->repaint();
        }));
        if (window->Model()->NodeCount() != count + count / 20 + 3)
            std::fprintf(stderr, "unexpected tree of %d nodes\n", window->Model()->NodeCount());
    }
    std::printf("menu of %d items: open %.1f ms, rebuild after a change (all expanded) %.1f ms (median of %d)\n",
                count, Median(open), Median(rebuild), runs);
    return 0;
}
