// A labels translator opened on a package of many labels (100,000 by default) beside a
// translation file of as many (half the ids shared): the time until its list is painted, and the
// time each keystroke in its search box takes to filter and repaint the rows, typed 300 ms after
// the window showed.
//   kv_bench_strings_translator [--count N] [--runs N]

#include "KvBench.h"
#include "strings/KvVtPkgStringsLabelsTranslator.h"

#include "KvPkgStrings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void Type(QWidget* Box, Qt::Key Key, const QString& Text)
{
    QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
    QApplication::sendEvent(Box, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Qt::NoModifier, Text);
    QApplication::sendEvent(Box, &Release);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = IntArg(args, QLatin1String("--count"), 100000, 0);
    const int runs = IntArg(args, QLatin1String("--runs"), 5);

    QTemporaryDir dir;
    const QString sourceFile = dir.filePath(QStringLiteral("english.kvstr"));
    {
        TKvPkgStrings source;
        for (int id = 0; id < count; ++id)
            source.Labels()->Add(id, QStringLiteral("Label number %1").arg(id), QStringLiteral("Hint %1").arg(id));
        source.SaveToFile(sourceFile);
    }
    TKvPkgStrings edited;
    edited.SetPkgName(QStringLiteral("Bench"));
    for (int id = count / 2; id < count + count / 2; ++id)
        edited.Labels()->Add(id, QStringLiteral("Etiqueta número %1").arg(id));

    std::vector<double> opens, keys;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        TFrPkgStringsLabelsTranslator translator;
        translator.PkgStrings = &edited;
        translator.FullPath = sourceFile;
        QTimer::singleShot(0, [&] {
            auto* list = translator.findChild<QWidget*>(QStringLiteral("List"));
            static_cast<QAbstractScrollArea*>(list)->viewport()->repaint();
            opens.push_back(timer.nsecsElapsed() / 1e6);
            // A user starts typing once the window is there: the idle work it does meanwhile
            // counts, as it would for them.
            QElapsedTimer idle;
            idle.start();
            while (idle.elapsed() < 300)
                QApplication::processEvents(QEventLoop::AllEvents, 10);
            auto* search = translator.findChild<QLineEdit*>(QStringLiteral("EdSearch"));
            search->setFocus();
            const QString typed = QStringLiteral("number 9");
            for (QChar c : typed) {
                QElapsedTimer key;
                key.start();
                Type(search, Qt::Key_unknown, QString(c));
                static_cast<QAbstractScrollArea*>(list)->viewport()->repaint();
                keys.push_back(key.nsecsElapsed() / 1e6);
            }
            for (qsizetype i = 0; i < typed.size(); ++i) {
                QElapsedTimer key;
                key.start();
                Type(search, Qt::Key_Backspace, QString());
                static_cast<QAbstractScrollArea*>(list)->viewport()->repaint();
                keys.push_back(key.nsecsElapsed() / 1e6);
            }
            translator.reject();
        });
        translator.Execute();
    }
    std::printf("%d + %d labels: translator open %.1f ms (median of %d); search keystroke median %.1f ms, worst %.1f ms "
                "(%zu keystrokes)\n",
                count, count, Median(opens), runs, Median(keys), *std::max_element(keys.begin(), keys.end()),
                keys.size());
    return 0;
}
