// The strings package editor on a large package (100,000 labels, messages and texts by default):
// the time from Execute to the first turn of its event loop, and the answer to one keystroke in
// the id and search boxes, repaint included.
//   kv_bench_strings_editor [--count N] [--runs N]

#include "KvBench.h"
#include "strings/KvVtPkgStrings.h"

#include "KvPkgStrings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTabWidget>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// One key into Box, then the events it caused (the repaint among them).
double Keystroke(QLineEdit* Box, Qt::Key Key)
{
    QElapsedTimer t;
    t.start();
    const QString text = QKeySequence(Key).toString().toLower();
    QKeyEvent press(QEvent::KeyPress, Key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, Key, Qt::NoModifier, text);
    QApplication::sendEvent(Box, &press);
    QApplication::sendEvent(Box, &release);
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    OffscreenByDefault();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = IntArg(args, QLatin1String("--count"), 100000, 0);
    const int runs = IntArg(args, QLatin1String("--runs"), 5);

    TKvPkgStrings pkg;
    pkg.SetPkgName(QStringLiteral("Bench"));
    pkg.Labels()->Reserve(count);
    pkg.Messages()->Reserve(count);
    // Texts in no particular order, so that sorting by text has work to do.
    for (int i = 0; i < count; ++i) {
        const QString text = QStringLiteral("Item %1 of the bench").arg((i * 7919) % count);
        pkg.Labels()->Add(i, text, QStringLiteral("Hint %1").arg(i));
        pkg.Messages()->Add(i, text);
        pkg.Texts()->Add(i, text);
    }

    std::vector<double> open, idKey, labelKey, messageKey;
    for (int run = 0; run < runs; ++run) {
        TFrPkgStrings editor;
        editor.PkgStrings = &pkg;
        QElapsedTimer t;
        QTimer::singleShot(0, [&] {
            open.push_back(t.nsecsElapsed() / 1e6);
            auto* edId = editor.findChild<QLineEdit*>(QStringLiteral("EdIdLabels"));
            auto* edSearch = editor.findChild<QLineEdit*>(QStringLiteral("EdSearchLabels"));
            auto* edMessage = editor.findChild<QLineEdit*>(QStringLiteral("EdSearchMessages"));
            edId->setFocus();
            idKey.push_back(Keystroke(edId, Qt::Key_4));
            edSearch->setFocus();
            labelKey.push_back(Keystroke(edSearch, Qt::Key_I));
            editor.findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(1);
            QApplication::processEvents();
            edMessage->setFocus();
            // "9" keeps about a third of the messages: the whole list is filtered and refilled.
            messageKey.push_back(Keystroke(edMessage, Qt::Key_9));
            editor.close();
        });
        t.start();
        editor.Execute();
    }

    std::printf("strings editor, %d labels/messages/texts, median of %d runs:\n", count, runs);
    std::printf("  open (Execute to event loop):   %8.1f ms\n", Median(open));
    std::printf("  key in the labels id box:       %8.1f ms\n", Median(idKey));
    std::printf("  key in the labels search box:   %8.1f ms\n", Median(labelKey));
    std::printf("  key in the messages search box: %8.1f ms\n", Median(messageKey));
    return 0;
}
