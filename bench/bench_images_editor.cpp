// The images package editor on a large package (5,000 icons by default): the time from Execute
// to the first turn of its event loop with the first screen of cells painted, a scroll by a
// page (new cells decode their pictures), and loading and saving the package through its file;
// with the pictures decoded after each, to show that only cells shown are.
//   kv_bench_images_editor [--count N] [--runs N]

#include "KvBench.h"
#include "images/KvImagesList.h"
#include "images/KvVtPkgImages.h"

#include "KvPkgImages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    OffscreenByDefault();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = IntArg(args, QLatin1String("--count"), 5000, 0);
    const int runs = IntArg(args, QLatin1String("--runs"), 5);

    TKvPkgImages pkg;
    pkg.SetPkgName(QStringLiteral("Bench"));
    pkg.Images()->Reserve(count);
    for (int i = 0; i < count; ++i) {
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        p.setBrush(QColor::fromHsv((i * 37) % 360, 200, 220));
        p.drawEllipse(QRect(2 + i % 7, 2, 26 - i % 7, 28));
        p.end();
        pkg.Images()->Add(i)->SetGraphic(icon);
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.kvimg"));
    std::vector<double> saves, loads, open, scroll;
    int decodedOpen = 0, decodedScroll = 0;
    for (int run = 0; run < runs; ++run) {
        saves.push_back(Millis([&] { pkg.SaveToFile(path); }));
        TKvPkgImages loaded;
        loads.push_back(Millis([&] { loaded.LoadFromFile(path); }));

        TFrPkgImages editor;
        editor.PkgImages = &pkg;
        editor.resize(800, 600);
        QElapsedTimer t;
        QTimer::singleShot(0, [&] {
            // The first screen of cells, pictures decoded; rendered, as an offscreen window may
            // not be exposed yet.
            QImage screen(editor.size(), QImage::Format_ARGB32_Premultiplied);
            editor.render(&screen);
            open.push_back(t.nsecsElapsed() / 1e6);
            auto* list = editor.findChild<QListView*>(QStringLiteral("Images"));
            const auto* cells = qobject_cast<const TKvImagesDelegate*>(list->itemDelegate());
            decodedOpen = cells ? cells->CachedCount() : -1;
            scroll.push_back(Millis([&] {
                list->verticalScrollBar()->setValue(list->verticalScrollBar()->value() + list->viewport()->height());
                list->viewport()->render(&screen);
            }));
            decodedScroll = cells ? cells->CachedCount() : -1;
            editor.close();
        });
        t.start();
        editor.Execute();
    }

    std::printf("images editor, %d images of 32x32, median of %d runs:\n", count, runs);
    std::printf("  save package file:                 %8.1f ms\n", Median(saves));
    std::printf("  load package file:                 %8.1f ms\n", Median(loads));
    std::printf("  open (Execute to event loop):      %8.1f ms\n", Median(open));
    std::printf("  scroll a page (new cells decoded): %8.1f ms\n", Median(scroll));
    std::printf("  pictures decoded: %d after opening, %d after the scroll\n", decodedOpen, decodedScroll);
    return 0;
}
