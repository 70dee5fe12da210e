// Loading forms into live components as kvdesigner does (placeholders, kept properties) and
// writing them back, on a large generated form and on real forms.
//   kv_bench_live_forms [--size MB] [--runs N] [--files LIST]

#include "Controls.h"
#include "Filer.h"
#include "FormStreams.h"
#include "KvBench.h"
#include "KvFiles.h"
#include "KvRuntimeClasses.h"
#include "SysUtils.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

// One panel of an ordinary form: third-party and standard controls nobody here registers, a
// control of the library, a menu, a collection and binary data, as designers write them.
QByteArray Block(int n)
{
    const QByteArray i = QByteArray::number(n);
    return "  object PnBlock" + i + ": TPanel\r\n"
           "    Left = 8\r\n    Top = " + QByteArray::number(n % 500) + "\r\n    Width = 600\r\n    Height = 120\r\n"
           "    Align = alTop\r\n    BevelOuter = bvNone\r\n    Color = clBtnFace\r\n    ParentBackground = False\r\n"
           "    TabOrder = " + QByteArray::number(n) + "\r\n"
           "    object LbName" + i + ": TLabel\r\n      Left = 8\r\n      Top = 12\r\n      Width = 31\r\n"
           "      Height = 13\r\n      Caption = 'Name of the customer number " + i + "'\r\n"
           "      Font.Charset = DEFAULT_CHARSET\r\n      Font.Color = clNavy\r\n      Font.Height = -11\r\n"
           "      Font.Name = 'Tahoma'\r\n      Font.Style = [fsBold]\r\n      ParentFont = False\r\n    end\r\n"
           "    object EdName" + i + ": TQsEdit\r\n      Left = 64\r\n      Top = 8\r\n      Width = 241\r\n"
           "      Height = 21\r\n      Anchors = [akLeft, akTop, akRight]\r\n      MaxLength = 60\r\n"
           "      Properties.OnChange = EdNameChange\r\n      TabOrder = 0\r\n      Text = 'Smith'\r\n    end\r\n"
           "    object Grid" + i + ": TQsGrid\r\n      Left = 8\r\n      Top = 40\r\n      Width = 580\r\n"
           "      Height = 72\r\n      TabOrder = 1\r\n      Columns = <\r\n"
           "        item\r\n          Caption = 'Number'\r\n          Width = 64\r\n        end\r\n"
           "        item\r\n          Caption = 'Amount'\r\n          Alignment = taRightJustify\r\n"
           "          DisplayFormat = '#,##0.00'\r\n        end>\r\n"
           "      Glyph.Data = {\r\n"
           "        3600000028000000100000001000000001001800000000000003000000000000\r\n"
           "        0000000000000000000000000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF}\r\n    end\r\n"
           "    object Frame" + i + ": TFrame\r\n      Left = 320\r\n      Top = 8\r\n      Width = 260\r\n"
           "      Height = 24\r\n      Color = 15790320\r\n      Cursor = crHandPoint\r\n      TabOrder = 2\r\n    end\r\n"
           "  end\r\n"
           "  object Menu" + i + ": TPopupMenu\r\n    Left = 24\r\n    Top = 96\r\n"
           "    object MiOpen" + i + ": TMenuItem\r\n      Caption = '&Open'\r\n      ShortCut = 16463\r\n"
           "      OnClick = MiOpenClick\r\n    end\r\n  end\r\n";
}

QByteArray GeneratedForm(qint64 bytes)
{
    QByteArray text = "object FrmBench: TFrmBench\r\n  Left = 0\r\n  Top = 0\r\n  Caption = 'Bench'\r\n"
                      "  ClientHeight = 600\r\n  ClientWidth = 800\r\n  Color = clBtnFace\r\n"
                      "  Font.Charset = DEFAULT_CHARSET\r\n  Font.Color = clWindowText\r\n  Font.Height = -11\r\n"
                      "  Font.Name = 'Tahoma'\r\n  Font.Style = []\r\n  OldCreateOrder = False\r\n"
                      "  PixelsPerInch = 96\r\n  TextHeight = 13\r\n";
    for (int n = 0; text.size() < bytes; ++n)
        text += Block(n);
    return text + "end\r\n";
}

struct TTimes
{
    double Load = 0;  // text to live components
    double Write = 0; // live components to text
    qint64 Bytes = 0;
    int Different = 0;
    int Refused = 0;
};

void Measure(const QByteArray& data, TTimes& t)
{
    TFormFileShape shape;
    TFormReadOptions options;
    options.RootClass = &TForm::staticMetaObject;
    const double a = CpuSeconds();
    const QByteArray binary = FormFileToBinary(data, &shape);
    options.AnsiStrings = shape.Text.Style == TFormTextStyle::Legacy;
    std::unique_ptr<TComponent> root(ReadFormAsWritten(binary, options));
    const double b = CpuSeconds();
    const QByteArray back = BinaryToFormFile(WriteComponentStream(root.get()), shape);
    const double c = CpuSeconds();
    t.Load += b - a;
    t.Write += c - b;
    t.Bytes += data.size();
    if (back != data)
        ++t.Different;
}

void Report(const char* what, const TTimes& t, int runs)
{
    const double mb = double(t.Bytes) / runs / 1e6;
    printf("%s: %.1f MB, load %.1f MB/s, write %.1f MB/s of processor time%s\n", what, mb, mb * runs / t.Load, mb * runs / t.Write,
           t.Different ? qPrintable(QStringLiteral(", %1 not written back exactly").arg(t.Different / runs)) : "");
    if (t.Refused)
        printf("  %d refused (not counted)\n", t.Refused / runs);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.addHelpOption();
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Generated form size in MB (20)."),
                                  QStringLiteral("MB"), QStringLiteral("20"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Runs (3)."), QStringLiteral("N"),
                                  QStringLiteral("3"));
    const QCommandLineOption files(QStringLiteral("files"), QStringLiteral("Also real forms: one path a line."),
                                   QStringLiteral("LIST"));
    p.addOptions({size, runs, files});
    p.process(app);
    KvRegisterRuntimeClasses();
    RegisterControlClasses();
    const int n = qMax(1, p.value(runs).toInt());
    try {
        const QByteArray form = GeneratedForm(qint64(p.value(size).toDouble() * 1e6));
        TTimes generated;
        for (int r = 0; r < n; ++r)
            Measure(form, generated);
        Report("generated form", generated, n);
        if (generated.Different)
            return 1;
        if (p.isSet(files)) {
            QList<QByteArray> forms;
            for (const QByteArray& line : KvReadFile(p.value(files)).split('\n'))
                if (!line.trimmed().isEmpty())
                    forms << KvReadFile(QString::fromUtf8(line.trimmed()));
            TTimes real;
            for (int r = 0; r < n; ++r)
                for (const QByteArray& f : std::as_const(forms)) {
                    try {
                        Measure(f, real);
                    } catch (const Exception&) {
                        ++real.Refused;
                    }
                }
            Report(qPrintable(QStringLiteral("%1 real forms").arg(forms.size())), real, n);
        }
    } catch (const Exception& e) {
        fprintf(stderr, "%s\n", qPrintable(e.Message));
        return 1;
    }
    return 0;
}
