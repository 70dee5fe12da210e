// kvdesigner's waits: start-up to a usable window with the demo project open, opening a form of
// many components (500 by default) into the designer's views, and undoing 1,000 moves on it
// with the window listening.
//   kv_bench_designer [--count N] [--runs N]
// Runs headless unless a display is given (QT_QPA_PLATFORM).

#include "KvDesignerMain.h"
#include "KvFormDesigner.h"
#include "KvHostServices.h"
#include "Classes.h"
#include "KvFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Write(const QString& File, const QString& Text)
{
    try {
        KvWriteFile(File, Text.toUtf8());
    } catch (const EInOutError& e) {
        qFatal("%s", qPrintable(e.Message));
    }
}

// A project whose one form holds Count components: panels of labels, edits and buttons.
QString MakeProject(const QString& Dir, int Count)
{
    QString Fields;
    QString Form = QStringLiteral("object FrBig: TFrBig\r\n  Width = 1200\r\n  Height = 900\r\n  Caption = 'Big'\r\n");
    const char* const Kinds[] = {"TKvLabel", "TKvEdit", "TKvBitBtn", "TKvCheckBox"};
    int Made = 0;
    for (int Panel = 0; Made < Count; ++Panel) {
        const QString PanelName = QStringLiteral("PnBig%1").arg(Panel);
        Fields += QStringLiteral("    %1: TKvPanel;\n").arg(PanelName);
        Form += QStringLiteral("  object %1: TKvPanel\r\n    Left = %2\r\n    Top = %3\r\n    Width = 290\r\n"
                               "    Height = 170\r\n    Caption = 'Panel %4'\r\n")
                    .arg(PanelName)
                    .arg((Panel % 4) * 296 + 4)
                    .arg((Panel / 4) * 176 + 4)
                    .arg(Panel);
        ++Made;
        for (int I = 0; I < 24 && Made < Count; ++I, ++Made) {
            const QString Kind = QString::fromLatin1(Kinds[I % 4]);
            const QString Name = QStringLiteral("%1%2").arg(Kind.mid(3)).arg(Made);
            Fields += QStringLiteral("    %1: %2;\n").arg(Name, Kind);
            Form += QStringLiteral("    object %1: %2\r\n      Left = %3\r\n      Top = %4\r\n      Width = 64\r\n"
                                   "      Height = 22\r\n      Hint = 'Component %5'\r\n    end\r\n")
                        .arg(Name, Kind)
                        .arg((I % 4) * 70 + 6)
                        .arg((I / 4) * 26 + 8)
                        .arg(Made);
        }
        Form += QStringLiteral("  end\r\n");
    }
    Form += QStringLiteral("end\r\n");
    Write(Dir + QStringLiteral("/Big.dfm"), Form);
    Write(Dir + QStringLiteral("/Big.pas"),
          QStringLiteral("unit Big;\n\ninterface\n\nuses\n  Forms, KvStdCtrls;\n\ntype\n  TFrBig = class(TForm)\n%1"
                         "  end;\n\nvar\n  FrBig: TFrBig;\n\nimplementation\n\n{$R *.dfm}\n\nend.\n")
              .arg(Fields));
    Write(Dir + QStringLiteral("/BigProject.dpr"),
          QStringLiteral("program BigProject;\n\nuses\n  Forms,\n  Big in 'Big.pas' {FrBig};\n\nbegin\nend.\n"));
    return Dir + QStringLiteral("/BigProject.dpr");
}

// Wall-clock time; KV_BENCH_CPU=1 measures the process's CPU time instead, which a machine busy
// with other work disturbs less.
template <class F>
double Millis(F&& Work)
{
    static const bool Cpu = qEnvironmentVariableIntValue("KV_BENCH_CPU") == 1;
    if (Cpu) {
        const std::clock_t Start = std::clock();
        Work();
        return double(std::clock() - Start) * 1000.0 / CLOCKS_PER_SEC;
    }
    QElapsedTimer T;
    T.start();
    Work();
    return T.nsecsElapsed() / 1e6;
}

// Until the window has painted what it shows.
void Settle(QWidget& Window)
{
    QCoreApplication::processEvents();
    Window.repaint();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer Process;
    Process.start();
    QApplication App(argc, argv);
    int Count = 500;
    int Runs = 5;
    const QStringList Args = App.arguments();
    for (int I = 1; I + 1 < Args.size(); ++I) {
        if (Args.at(I) == QLatin1String("--count"))
            Count = Args.at(++I).toInt();
        else if (Args.at(I) == QLatin1String("--runs"))
            Runs = Args.at(++I).toInt();
    }
    Runs = std::max(Runs, 1);

    // The first window loads the package, as a fresh start of kvdesigner does.
    const QString Demo = QStringLiteral(KV_DEMO_DIR "/KvDemo.dpr");
    double FirstStart = 0;
    {
        std::unique_ptr<TFrKvDesigner> Window;
        FirstStart = Millis([&] {
            Window = std::make_unique<TFrKvDesigner>();
            Window->show();
            if (!Window->OpenProject(Demo))
                qFatal("the demo project does not open");
            Settle(*Window);
        });
    }
    const double ProcessToWindow = Process.nsecsElapsed() / 1e6;
    std::vector<double> Starts;
    for (int R = 0; R < Runs; ++R) {
        std::unique_ptr<TFrKvDesigner> Window;
        Starts.push_back(Millis([&] {
            Window = std::make_unique<TFrKvDesigner>();
            Window->show();
            Window->OpenProject(Demo);
            Settle(*Window);
        }));
    }

    QTemporaryDir Dir;
    const QString Big = MakeProject(Dir.path(), Count);
    std::vector<double> Opens;
    int Components = 0;
    for (int R = 0; R < Runs; ++R) {
        TFrKvDesigner Window;
        Window.Prompts.ShowError = [](QWidget*, const QString& Text) { qFatal("%s", qPrintable(Text)); };
        Window.show();
        Settle(Window);
        // Opening the project opens its first form: the big one.
        Opens.push_back(Millis([&] {
            if (!Window.OpenProject(Big))
                qFatal("the generated project does not open");
            Settle(Window);
        }));
        Components = Window.CurrentForm() ? Window.CurrentForm()->GetRootComponent()->ComponentCount() : 0;
    }

    // 1,000 moves of the form's components, each one step, then every one of them undone.
    std::vector<double> Undos;
    constexpr int Moves = 1000;
    for (int R = 0; R < Runs; ++R) {
        TFrKvDesigner Window;
        Window.show();
        if (!Window.OpenProject(Big))
            qFatal("the generated project does not open");
        TKvFormDesigner* D = Window.CurrentDesigner();
        TComponent* Root = D->GetRoot();
        for (int M = 0; M < Moves; ++M) {
            TComponent* C = Root->Components(M % Root->ComponentCount());
            D->SetProperties(QStringLiteral("Move"), {{C, QStringLiteral("Left"), C->property("Left").toInt() + 1}});
        }
        Settle(Window);
        QUndoStack* Stack = D->UndoStack();
        Undos.push_back(Millis([&] {
            while (Stack->canUndo())
                Stack->undo();
            Settle(Window);
        }));
        if (Window.CurrentForm()->IsModified())
            qFatal("undoing every move left the form modified");
    }
    std::printf("start-up, first window (package load, demo open, painted): %8.1f ms\n", FirstStart);
    std::printf("start-up, process start to that window:                    %8.1f ms\n", ProcessToWindow);
    std::printf("start-up, later windows (median of %d):                     %8.1f ms\n", Runs, Median(Starts));
    std::printf("open a form of %d components (median of %d):             %8.1f ms\n", Components, Runs, Median(Opens));
    std::printf("undo %d moves on that form, one by one (median of %d):    %8.1f ms\n", Moves, Runs, Median(Undos));
    return 0;
}
