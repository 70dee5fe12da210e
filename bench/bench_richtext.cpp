// Reading and writing a rich edit's Lines: a document of many formatted paragraphs (20,000 by
// default, about 2 MB of rich text) written as rich text, read back, and written again; the
// figure the rich text editor waits for when it opens and stores a long text.
//   kv_bench_richtext [--paragraphs N] [--runs N]

#include "KvRichText.h"

#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Paragraphs with a change of font, size, style or colour every few words, some centred, some
// in bullet lists, with accented and non-Latin characters.
void Fill(QTextDocument& Doc, int Paragraphs)
{
    QTextCursor C(&Doc);
    const QStringList Families{QStringLiteral("Tahoma"), QStringLiteral("Arial"), QStringLiteral("Courier New")};
    const QColor Colors[] = {Qt::black, QColor(192, 0, 0), QColor(0, 0, 128)};
    for (int P = 0; P < Paragraphs; ++P) {
        QTextBlockFormat B;
        B.setAlignment(P % 7 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        if (P > 0)
            C.insertBlock(B);
        else
            C.setBlockFormat(B);
        if (P % 10 >= 6)
            C.createList(QTextListFormat::ListDisc);
        for (int W = 0; W < 6; ++W) {
            QTextCharFormat F;
            F.setFontFamilies({Families[(P + W) % 3]});
            F.setFontPointSize(8 + (W % 4) * 2);
            F.setFontWeight(W % 3 == 1 ? QFont::Bold : QFont::Normal);
            F.setFontItalic(W == 4);
            F.setFontUnderline(W == 5);
            F.setForeground(Colors[(P + W) % 3]);
            C.insertText(QStringLiteral("Caf\u00e9 n\u00ba %1 \u041c\u0438\u0440 word%2 ").arg(P).arg(W), F);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int paragraphs = 20000;
    int runs = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--paragraphs"))
            paragraphs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = args[i + 1].toInt();
    }
    QTextDocument source;
    Fill(source, paragraphs);
    const QString text = KvWriteRichText(source);

    std::vector<double> readMs, writeMs;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        std::unique_ptr<QTextDocument> doc(KvReadRichText(text));
        readMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        const QString again = KvWriteRichText(*doc);
        writeMs.push_back(t.nsecsElapsed() / 1e6);
        if (again != text) {
            fprintf(stderr, "kv_bench_richtext: the text read back writes differently\n");
            return 1;
        }
    }
    const double mb = text.size() / 1e6;
    printf("rich text of %d paragraphs, %.2f MB: read %.1f ms (%.1f MB/s), write %.1f ms (%.1f MB/s), median of %d\n",
           paragraphs, mb, Median(readMs), mb / (Median(readMs) / 1000), Median(writeMs),
           mb / (Median(writeMs) / 1000), runs);
    return 0;
}
