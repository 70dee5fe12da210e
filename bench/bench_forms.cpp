// Throughput of the form stream conversions on a large generated form, and on real forms, in
// processor time.
//   kv_bench_forms [--size MB] [--runs N] [--save FILE] [--files LIST]

#include "FormStreams.h"
#include "KvBench.h"
#include "KvFiles.h"
#include "SysUtils.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <random>

namespace {

// Writes form text the way the converter lays it out, so that the round trip must give back every
// byte: two spaces a level, strings cut into 64-character pieces, 32 bytes of binary a line.
class FormText
{
public:
    QByteArray Out;

    void Begin(const char* keyword, const QByteArray& name, const QByteArray& className)
    {
        Indent();
        Out += keyword;
        Out += ' ';
        if (!name.isEmpty())
            Out += name + ": ";
        Out += className;
        Out += "\r\n";
        ++Nesting;
    }

    void End()
    {
        --Nesting;
        Line("end");
    }

    void Prop(const char* name, const QByteArray& value) { Line(QByteArray(name) + " = " + value); }
    void Int(const char* name, qint64 value) { Prop(name, QByteArray::number(value)); }

    void Str(const char* name, const QByteArray& value)
    {
        Indent();
        Out += name;
        Out += " = ";
        String(value);
        Out += "\r\n";
    }

    void Strings(const char* name, const QList<QByteArray>& items)
    {
        Indent();
        Out += name;
        Out += " = (";
        ++Nesting;
        for (const QByteArray& item : items) {
            NewLine();
            String(item);
        }
        --Nesting;
        Out += ")\r\n";
    }

    void Binary(const char* name, const QByteArray& data)
    {
        Indent();
        Out += name;
        Out += " = {";
        ++Nesting;
        for (qsizetype i = 0; i < data.size(); i += 32) {
            if (data.size() >= 32)
                NewLine();
            Out += data.mid(i, 32).toHex().toUpper();
        }
        --Nesting;
        Out += "}\r\n";
    }

    // A collection: each item is a list of name/value pairs, values already in text form.
    void Collection(const char* name, const QList<QList<std::pair<const char*, QByteArray>>>& items)
    {
        Indent();
        Out += name;
        Out += " = <";
        ++Nesting;
        for (const auto& item : items) {
            NewLine();
            Out += "item\r\n";
            ++Nesting;
            for (const auto& [prop, value] : item)
                Prop(prop, value);
            --Nesting;
            Indent();
            Out += "end";
        }
        --Nesting;
        Out += ">\r\n";
    }

private:
    int Nesting = 0;

    void Indent() { Out += QByteArray(Nesting * 2, ' '); }
    void NewLine()
    {
        Out += "\r\n";
        Indent();
    }
    void Line(const QByteArray& s)
    {
        Indent();
        Out += s;
        Out += "\r\n";
    }

    static bool Plain(unsigned char c) { return c >= ' ' && c != '\'' && c <= 127; }

    void String(const QByteArray& s)
    {
        constexpr qsizetype LineLength = 64;
        if (s.isEmpty()) {
            Out += "''";
            return;
        }
        ++Nesting;
        if (s.size() > LineLength)
            NewLine();
        qsizetype i = 0, k = 0;
        while (i < s.size()) {
            if (Plain(s[i])) {
                const qsizetype j = i;
                do
                    ++i;
                while (i < s.size() && Plain(s[i]) && i - k < LineLength);
                Out += '\'' + s.mid(j, i - j) + '\'';
            } else {
                Out += '#' + QByteArray::number(uchar(s[i]));
                ++i;
            }
            if (i - k >= LineLength && i < s.size()) {
                Out += " +";
                NewLine();
                k = i;
            }
        }
        --Nesting;
    }
};

class Generator
{
public:
    explicit Generator(qsizetype target) : Target(target) {}

    QByteArray Make()
    {
        F.Begin("object", "FrmBench", "TFrmBench");
        F.Int("Left", 192);
        F.Int("Top", 107);
        F.Str("Caption", "Benchmark form");
        F.Prop("Font.Style", "[fsBold]");
        while (F.Out.size() < Target)
            Component(0);
        F.End();
        return std::move(F.Out);
    }

    int Objects = 0;

private:
    qsizetype Target;
    FormText F;
    std::mt19937 Rng{20240601};

    int Pick(int n) { return int(Rng() % unsigned(n)); }
    int Between(int lo, int hi) { return lo + Pick(hi - lo + 1); }

    QByteArray Words(int count)
    {
        static const char* const W[] = {"account", "amount", "balance", "customer", "date", "delivery", "invoice",
                                        "item", "number", "order", "payment", "price", "quantity", "total"};
        QByteArray s;
        for (int i = 0; i < count; ++i) {
            if (i)
                s += ' ';
            s += W[Pick(14)];
        }
        return s;
    }

    QByteArray LongText()
    {
        QByteArray s = Words(Between(10, 40));
        s += "\r\n";
        s += Words(Between(5, 30));
        if (Pick(2))
            s += " (don't forget)\tend";
        return s;
    }

    void Component(int depth)
    {
        static const char* const Classes[] = {"TKvButton", "TKvLabel", "TKvEdit", "TKvMemo", "TKvGrid", "TKvImage", "TKvPanel"};
        const int kind = depth >= 3 ? Pick(6) : Pick(7);
        const QByteArray name = QByteArray(Classes[kind] + 3) + QByteArray::number(++Objects);
        F.Begin(Pick(20) == 0 ? "inherited" : "object", name, Classes[kind]);
        F.Int("Left", Between(0, 1200));
        F.Int("Top", Between(-50, 900));
        F.Int("Width", Between(20, 400));
        F.Int("Height", Between(13, 300));
        if (Pick(50) == 0)
            F.Int("HelpContext", 5000000000LL + Objects);
        F.Prop("Anchors", Pick(2) ? "[akLeft, akTop]" : "[akLeft, akTop, akRight, akBottom]");
        F.Prop("Color", Pick(2) ? "clBtnFace" : "clWindow");
        F.Prop("Font.Style", Pick(3) ? "[]" : "[fsBold, fsItalic]");
        F.Prop("Visible", Pick(5) ? "True" : "False");
        F.Str("Caption", Words(Between(1, 3)) + (Pick(4) ? "" : "'s"));
        F.Str("MemoryLabel.PkgName", "Main");
        F.Int("MemoryLabel.Id", Between(1, 70000));
        if (Pick(3) == 0)
            F.Str("Hint", LongText());
        F.Int("TabOrder", Objects % 40);
        F.Prop("OnClick", name + "Click");
        switch (kind) {
        case 2:
            F.Int("MaxLength", 32767);
            F.Str("Text", Pick(2) ? Words(2) : QByteArray("caf\xE9 cr\xE8me"));
            F.Prop("PopupMenu", "FrmShared.PmEdit");
            break;
        case 3: {
            QList<QByteArray> lines;
            for (int i = Between(3, 25); i > 0; --i)
                lines << (Pick(4) ? Words(Between(0, 8)) : LongText());
            F.Strings("Lines.Strings", lines);
            F.Prop("ScrollBars", "ssBoth");
            break;
        }
        case 4: {
            QList<QList<std::pair<const char*, QByteArray>>> columns;
            for (int i = Between(2, 12); i > 0; --i)
                columns.append({{"Caption", '\'' + Words(1) + '\''},
                                {"Width", QByteArray::number(Between(20, 300))},
                                {"Alignment", "taRightJustify"},
                                {"Ratio", QByteArray::number(Between(1, 9)) + ".500000000000000000"},
                                {"Money", QByteArray::number(Between(-99999, 99999)) + 'c'}});
            F.Collection("Columns", columns);
            break;
        }
        case 5: {
            QByteArray data(Between(40, 1200), Qt::Uninitialized);
            for (char& c : data)
                c = char(Rng());
            F.Binary("Picture.Data", data);
            F.Prop("Stretch", "True");
            break;
        }
        case 6:
            for (int i = Between(1, 4); i > 0; --i)
                Component(depth + 1);
            break;
        }
        F.End();
    }
};

// The least processor time of a number of runs.
template <class F>
double Best(int runs, F&& f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = CpuSeconds();
        f();
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
}

// Forms named in a list file, one path a line, as text in the style each was written in.
struct RealForms
{
    QList<QByteArray> Texts;
    QList<QByteArray> Binaries;
    QList<TFormTextFormat> Formats;
    qsizetype Bytes = 0;
};

RealForms LoadForms(const QString& list)
{
    RealForms forms;
    for (const QByteArray& line : KvReadFile(list).split('\n')) {
        const QString path = QString::fromUtf8(line).trimmed();
        if (path.isEmpty())
            continue;
        QByteArray data = KvReadFile(path);
        TFormTextFormat format;
        try {
            if (TestStreamFormat(data) == TStreamOriginalFormat::sofBinary)
                data = ObjectResourceToText(data);
            ObjectTextToBinary(data, &format);
        } catch (const Exception& e) {
            fprintf(stderr, "skipped %s: %s\n", qPrintable(path), e.what());
            continue;
        }
        forms.Bytes += data.size();
        forms.Binaries << ObjectTextToBinary(data);
        forms.Texts << std::move(data);
        forms.Formats << format;
    }
    return forms;
}

int FirstDifference(const QByteArray& a, const QByteArray& b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return int(a.left(i).count('\n')) + 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures form text to binary and binary to text conversion."));
    parser.addHelpOption();
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Size of the form text in MB (default 50)."),
                                        QStringLiteral("MB"), QStringLiteral("50"));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs per direction; the best counts (default 5)."),
                                        QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption saveOption(QStringLiteral("save"), QStringLiteral("Also write the generated form text to FILE."),
                                        QStringLiteral("FILE"));
    parser.addOption(sizeOption);
    parser.addOption(runsOption);
    const QCommandLineOption filesOption(QStringLiteral("files"),
                                         QStringLiteral("Also measure on the forms listed in FILE, one path a line."),
                                         QStringLiteral("FILE"));
    parser.addOption(saveOption);
    parser.addOption(filesOption);
    parser.process(app);
    bool okSize, okRuns;
    const double sizeMb = parser.value(sizeOption).toDouble(&okSize);
    const int runs = parser.value(runsOption).toInt(&okRuns);
    if (!okSize || sizeMb <= 0 || sizeMb > 4000 || !okRuns || runs < 1) {
        fprintf(stderr, "kv_bench_forms: --size must be in (0, 4000] and --runs at least 1\n");
        return 2;
    }

    Generator gen(qsizetype(sizeMb * 1e6));
    const QByteArray text = gen.Make();
    const double mb = double(text.size()) / 1e6;
    printf("form text: %.1f MB, %d objects\n", mb, gen.Objects);
    if (parser.isSet(saveOption)) {
        try {
            KvWriteFile(parser.value(saveOption), text);
        } catch (const EInOutError& e) {
            fprintf(stderr, "kv_bench_forms: %s\n", qPrintable(e.Message));
            return 1;
        }
    }

    try {
        QByteArray binary = ObjectTextToBinary(text);
        const QByteArray back = ObjectBinaryToText(binary);
        if (back != text) {
            fprintf(stderr, "round trip differs from the generated text at line %d\n", FirstDifference(text, back));
            return 1;
        }
        if (ObjectTextToBinary(back) != binary) {
            fprintf(stderr, "second conversion to binary differs from the first\n");
            return 1;
        }
        printf("binary: %.1f MB; round trip byte-exact\n", double(binary.size()) / 1e6);

        const double toBinary = Best(runs, [&] { binary = ObjectTextToBinary(text); });
        QByteArray out;
        const double toText = Best(runs, [&] { out = ObjectBinaryToText(binary); });
        const auto report = [&](const char* what, double seconds, double goal) {
            const double rate = mb / seconds;
            printf("%-15s best of %d: %7.3f s cpu  %7.1f MB/s of text  (goal %.0f%s)\n", what, runs, seconds, rate, goal,
                   rate < goal ? ", NOT MET" : "");
        };
        report("text -> binary", toBinary, 100);
        report("binary -> text", toText, 200);

        if (parser.isSet(filesOption)) {
            RealForms forms = LoadForms(parser.value(filesOption));
            const double realMb = double(forms.Bytes) / 1e6;
            printf("\nreal forms: %lld, %.1f MB of text\n", (long long)forms.Texts.size(), realMb);
            const double toBinaryReal = Best(runs, [&] {
                for (qsizetype i = 0; i < forms.Texts.size(); ++i)
                    forms.Binaries[i] = ObjectTextToBinary(forms.Texts[i]);
            });
            qsizetype differ = 0;
            const double toTextReal = Best(runs, [&] {
                differ = 0;
                for (qsizetype i = 0; i < forms.Texts.size(); ++i)
                    differ += ObjectBinaryToText(forms.Binaries[i], forms.Formats[i]) != forms.Texts[i];
            });
            printf("%-15s best of %d: %7.3f s cpu  %7.1f MB/s of text\n", "text -> binary", runs, toBinaryReal,
                   realMb / toBinaryReal);
            printf("%-15s best of %d: %7.3f s cpu  %7.1f MB/s of text  (%lld not byte-exact)\n", "binary -> text", runs,
                   toTextReal, realMb / toTextReal, (long long)differ);
        }
    } catch (const Exception& e) {
        fprintf(stderr, "conversion failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
