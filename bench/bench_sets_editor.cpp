// The three sets editors on a display package of many sets (10,000 of each kind by default):
// the time from Execute to the first turn of the event loop with the first screen of rows
// painted, and a search typed into the name box.
//   kv_bench_sets_editor [--count N] [--runs N]

#include "KvBench.h"
#include "display/KvVtSetsEditor.h"

#include "KvApplication.h"
#include "KvPkgDisplay.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    OffscreenByDefault();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = IntArg(args, QLatin1String("--count"), 10000, 0);
    const int runs = IntArg(args, QLatin1String("--runs"), 5);

    TKvCApplication capp;
    capp.SetName(QStringLiteral("Bench"));
    TKvPkgDisplay* display = capp.PkgDisplay();
    // Names in no particular order, so that the editor's sort has work to do.
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("Set %1").arg((i * 7919) % count, 5, 10, QLatin1Char('0'));
        TKvSetColorItem* c = display->SetsColor()->Add(name);
        c->SetColor(TColor{qint32((i * 2654435761u) & 0xFFFFFF)});
        c->SetDescription(QStringLiteral("Colour number %1").arg(i));
        TKvSetFontItem* f = display->SetsFont()->Add(name);
        QFont font(i % 2 ? QStringLiteral("Sans") : QStringLiteral("Serif"));
        font.setPointSize(8 + i % 10);
        f->SetFont(font);
        TKvSetBackGroundItem* b = display->SetsBackGround()->Add(name);
        b->SetStyle(i % 9);
        b->SetStartGraColor(TColor{0x0000FF});
        b->SetEndGraColor(TColor{0xFF0000});
    }

    std::printf("sets editors, %d sets of each kind, median of %d runs:\n", count, runs);
    const char* const names[] = {"colour", "font", "background"};
    for (TKvSetKind kind : {TKvSetKind::Color, TKvSetKind::Font, TKvSetKind::BackGround}) {
        std::vector<double> open, search;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer t;
            QTimer::singleShot(0, [&] {
                QWidget* editor = QApplication::activeModalWidget();
                // The first screen of rows, rendered, as an offscreen window may not be exposed.
                QImage screen(editor->size(), QImage::Format_ARGB32_Premultiplied);
                editor->render(&screen);
                open.push_back(t.nsecsElapsed() / 1e6);
                auto* box = editor->findChild<QLineEdit*>(QStringLiteral("EdDescrip"));
                box->setFocus();
                search.push_back(Millis([&] {
                    for (const QChar c : QStringLiteral("Set 0777")) {
                        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                        QApplication::sendEvent(box, &press);
                    }
                    editor->render(&screen);
                }));
                editor->close();
            });
            t.start();
            KvShowSetsEditor(nullptr, kind, &capp);
        }
        std::printf("  %-10s open (Execute to first paint): %8.1f ms\n", names[int(kind)], Median(open));
        std::printf("  %-10s type 8 characters and repaint: %8.1f ms\n", names[int(kind)], Median(search));
    }
    return 0;
}
