// The package manager on a large project: a generated project of 3,000 forms (about 90 MB of form
// text, every third form binary) with references of every kind, read through the host.
//   kv_bench_manager [--forms N] [--runs N] [--dir DIR]
// Times, in the same run and with the files in the page cache: `grep -rF` for a package name,
// the scan for one label of that package, and the count of every label of that package (1,000
// labels); prints the ratios to grep and the peak memory of the process. Then the scan runs with
// the progress window: the longest time the bar stood still, and how soon Cancel stops the scan.

#include "KvBench.h"
#include "FormStreams.h"
#include "KvFiles.h"
#include "KvApplication.h"
#include "KvHostServices.h"
#include "KvPkgStrings.h"
#include "KvRuntimeClasses.h"
#include "manager/KvManagerScan.h"
#include "manager/KvVtManagerProgress.h"
#include "porting/KvPortDsgn.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr int Packages = 20;
constexpr int LabelsPerPackage = 1000;

QString PkgName(int i)
{
    return QStringLiteral("Pkg%1").arg(i, 2, 10, QLatin1Char('0'));
}

// One form of about 30 KB: panels holding labels and edits, a status bar with panels, a list
// of strings, the references of every kind on them.
QByteArray MakeForm(int Index, QRandomGenerator& R)
{
    QByteArray t;
    t.reserve(34000);
    const auto line = [&t](int Indent, const QByteArray& Text) { t += QByteArray(Indent, ' ') + Text + "\r\n"; };
    const auto num = [](int v) { return QByteArray::number(v); };
    const auto label = [&](int Indent, const char* Prop) {
        line(Indent, QByteArray(Prop) + ".PkgName = '" + PkgName(int(R.bounded(Packages))).toLatin1() + "'");
        line(Indent, QByteArray(Prop) + ".Id = " + num(int(R.bounded(LabelsPerPackage + 20))));
    };
    const QByteArray form = "Form" + num(Index);
    line(0, "object " + form + ": T" + form);
    line(2, "Left = 200");
    line(2, "Top = 120");
    line(2, "Caption = 'Form " + num(Index) + "'");
    line(2, "ClientHeight = 600");
    line(2, "ClientWidth = 800");
    for (int p = 0; p < 6; ++p) {
        line(2, "object Panel" + num(p) + ": TKvPanel");
        line(4, "Left = " + num(p * 8));
        line(4, "Top = " + num(p * 96));
        line(4, "Width = 780");
        line(4, "Height = 90");
        line(4, "SetColor.Name = 'Color" + num(int(R.bounded(12))) + "'");
        for (int c = 0; c < 8; ++c) {
            const QByteArray name = "La" + num(p) + "_" + num(c);
            line(4, "object " + name + ": TKvLabel");
            line(6, "Left = " + num(8 + c * 90));
            line(6, "Top = 8");
            line(6, "Width = 80");
            line(6, "Height = 17");
            line(6, "Hint = 'Shows the value of field " + name + " of the record being edited'");
            label(6, "MemoryLabel");
            line(6, "SetFont.Name = 'Font" + num(int(R.bounded(8))) + "'");
            line(6, "SetBackGround.Name = 'Back" + num(int(R.bounded(6))) + "'");
            line(6, "Privilege.Id = " + num(int(R.bounded(50))));
            line(4, "end");
            line(4, "object Ed" + num(p) + "_" + num(c) + ": TKvEdit");
            line(6, "Left = " + num(8 + c * 90));
            line(6, "Top = 32");
            line(6, "Width = 80");
            line(6, "Height = 21");
            line(6, "TabOrder = " + num(c));
            label(6, "MemoryLabel");
            line(4, "end");
        }
        line(2, "end");
    }
    line(2, "object SbMain: TKvStatusBar");
    line(4, "Panels = <");
    for (int i = 0; i < 6; ++i) {
        line(6, "item");
        line(8, "Width = 120");
        label(8, "MemoryLabel");
        line(8, "MemoryImage.PkgName = 'Images'");
        line(8, "MemoryImage.Id = " + num(int(R.bounded(200))));
        line(6, "end" + QByteArray(i == 5 ? ">" : ""));
    }
    line(2, "end");
    line(2, "object MeNotes: TKvMemo");
    line(4, "Lines.Strings = (");
    for (int i = 0; i < 40; ++i)
        line(6, "'Line " + num(i) + " of the notes: Id = " + num(i) + ", PkgName = ''Pkg01'' in a quoted text'");
    line(6, "'')");
    label(4, "MemoryText");
    line(2, "end");
    line(0, "end");
    return t;
}

// Processor time of this process and of its finished children, in ms: on a shared machine the
// ratios are taken on these, as wall-clock time depends on the other processes.
double CpuMillis()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    rusage children;
    getrusage(RUSAGE_CHILDREN, &children);
    const auto ms = [](const timeval& v) { return v.tv_sec * 1e3 + v.tv_usec / 1e3; };
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6 + ms(children.ru_utime) + ms(children.ru_stime);
}

struct TTime
{
    double Wall;
    double Cpu;
};

template <class F>
TTime Measure(F&& f)
{
    const double cpu = CpuMillis();
    const double wall = Millis(f);
    return {wall, CpuMillis() - cpu};
}

qint64 PeakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmHWM:"))
            return l.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

class Quiet : public TKvManagerFeedback
{
public:
    int Errors = 0;
    void Error(int, const QString& Text, const QStringList&) override
    {
        if (++Errors < 5)
            fprintf(stderr, "%s\n", qPrintable(Text));
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int forms = 3000;
    int runs = 3;
    QString dirArg;
    QString only; // scan or count: that alone, for a profiler
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--forms"))
            forms = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--dir"))
            dirArg = args[i + 1];
        else if (args[i] == QLatin1String("--only"))
            only = args[i + 1];
    }
    KvRegisterRuntimeClasses();
    QTemporaryDir temp;
    const QString dir = dirArg.isEmpty() ? temp.path() : dirArg;
    QDir().mkpath(dir);

    QRandomGenerator r(2026);
    qint64 textBytes = 0, diskBytes = 0;
    QByteArray dpr = "program Big;\r\n\r\nuses\r\n  Forms";
    // A project left by an earlier run with the same --dir is used as it is.
    const bool exists = QFile::exists(dir + QStringLiteral("/Big.dpr"));
    const double generate = exists ? 0 : Millis([&] {
        for (int i = 0; i < forms; ++i) {
            const QString unit = QStringLiteral("Unit%1").arg(i);
            const QByteArray text = MakeForm(i, r);
            textBytes += text.size();
            const QByteArray data = i % 3 == 2 ? ObjectTextToResource(text) : text;
            diskBytes += data.size();
            KvWriteFile(dir + QLatin1Char('/') + unit + QStringLiteral(".dfm"), data);
            KvWriteFile(dir + QLatin1Char('/') + unit + QStringLiteral(".pas"),
                        "unit " + unit.toLatin1() + ";\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\n{$R *.dfm}\r\n\r\nend.\r\n");
            dpr += ",\r\n  " + unit.toLatin1() + " in '" + unit.toLatin1() + ".pas' {Form" + QByteArray::number(i) + "}";
        }
        dpr += ";\r\n\r\nbegin\r\nend.\r\n";
        KvWriteFile(dir + QStringLiteral("/Big.dpr"), dpr);
    });
    if (exists)
        for (const QFileInfo& f : QDir(dir).entryInfoList({QStringLiteral("*.dfm")}, QDir::Files))
            diskBytes += f.size();
    printf("project: %d forms, %.1f MB of form text, %.1f MB on disk (every third form binary), generated in %.0f ms\n",
           forms, textBytes / 1e6, diskBytes / 1e6, generate);

    TKvHostServices host;
    host.OpenProject(dir + QStringLiteral("/Big.dpr"));
    QStringList files;
    KvGetFormNames(files);

    // The package counted: 1,000 labels, live as when its form is open.
    TKvPkgStrings pkg;
    pkg.SetPkgName(PkgName(7));
    for (int i = 0; i < LabelsPerPackage; ++i)
        pkg.Labels()->Add(i, QStringLiteral("Label %1").arg(i));

    // The display package counted: the sets the forms name, and one named like a default.
    TKvCApplication kvApp;
    for (int i = 0; i < 6; ++i)
        kvApp.PkgDisplay()->SetsBackGround()->Add(QStringLiteral("Back%1").arg(i));
    kvApp.PkgDisplay()->SetsBackGround()->Add(QStringLiteral("EdBackGround"));

    const QString key = PkgName(7);
    std::vector<TTime> grep, raw, porting, read, scan, count, sets;
    int hits = 0, items = 0, setItems = 0;
    Quiet quiet;
    if (!only.isEmpty()) {
        for (int run = 0; run < runs; ++run) {
            TKvManagerScanner s(TKvDlgManager::dlmLabels);
            if (only == QLatin1String("scan"))
                s.Scan(files, key, QStringLiteral("123"), quiet);
            else
                s.Count(files, {key}, quiet);
        }
        return 0;
    }
    for (int run = 0; run < runs; ++run) {
        grep.push_back(Measure([&] {
            QProcess p;
            p.setStandardOutputFile(QProcess::nullDevice());
            p.start(QStringLiteral("grep"), {QStringLiteral("-rF"), key, dir});
            p.waitForFinished(-1);
        }));
        raw.push_back(Measure([&] {
            for (const QString& f : files)
                KvReadFile(f);
        }));
        porting.push_back(Measure([&] {
            for (const QString& f : files) {
                QByteArray text;
                bool utf8;
                TStreamOriginalFormat format;
                KvDelphiFormToTextBytes(f, text, utf8, format, [](const QByteArray&, TStreamOriginalFormat) { return false; });
            }
        }));
        // What reading costs: the files' bytes, then every form's text through form porting, binary
        // ones converted.
        read.push_back(Measure([&] {
            for (const QString& f : files) {
                QByteArray text;
                bool utf8;
                TStreamOriginalFormat format;
                KvDelphiFormToTextBytes(f, text, utf8, format);
            }
        }));
        scan.push_back(Measure([&] {
            TKvManagerScanner s(TKvDlgManager::dlmLabels);
            hits = int(s.Scan(files, key, QStringLiteral("123"), quiet).size());
        }));
        count.push_back(Measure([&] {
            TKvManagerScanner s(TKvDlgManager::dlmLabels);
            items = int(s.Count(files, {key}, quiet).size());
        }));
        sets.push_back(Measure([&] {
            TKvManagerScanner s(TKvDlgManager::dlmSetsBackGround);
            setItems = int(s.Count(files, {}, quiet).size());
        }));
    }
    const auto median = [](const std::vector<TTime>& v) {
        std::vector<double> wall, cpu;
        for (const TTime& t : v) {
            wall.push_back(t.Wall);
            cpu.push_back(t.Cpu);
        }
        return TTime{Median(wall), Median(cpu)};
    };
    const TTime g = median(grep), rw = median(raw), rd = median(read), s = median(scan), c = median(count);
    printf("                               wall ms   cpu ms   cpu ratio to grep\n");
    printf("grep -rF %-20s %9.1f %8.1f\n", qPrintable(key), g.Wall, g.Cpu);
    printf("reading the files' bytes      %9.1f %8.1f   %.2f\n", rw.Wall, rw.Cpu, rw.Cpu / g.Cpu);
    const TTime pt = median(porting);
    printf("porting's look-ups per form   %9.1f %8.1f   %.2f\n", pt.Wall, pt.Cpu, pt.Cpu / g.Cpu);
    printf("reading every form            %9.1f %8.1f   %.2f\n", rd.Wall, rd.Cpu, rd.Cpu / g.Cpu);
    printf("scan for label %s/123      %9.1f %8.1f   %.2f (limit 3)   %d references\n", qPrintable(key), s.Wall, s.Cpu,
           s.Cpu / g.Cpu, hits);
    printf("count of %d labels         %9.1f %8.1f   %.2f (limit 5)   %d items\n", LabelsPerPackage, c.Wall, c.Cpu,
           c.Cpu / g.Cpu, items);
    const TTime bs = median(sets);
    printf("count of background sets      %9.1f %8.1f   %.2f              %d items\n", bs.Wall, bs.Cpu, bs.Cpu / g.Cpu,
           setItems);
    printf("peak memory: %.1f MB (limit 200); form errors: %d\n", PeakKb() / 1024.0, quiet.Errors);

    // Cancel is pressed from another thread, as a click queued while the scan runs.
    double longestStill = 0, longestCancel = 0;
    int cancelled = 0;
    for (const int delay : {80, 170, 260, 350}) {
        SetWindowProgress(nullptr, true, QStringLiteral("Scanning"));
        QElapsedTimer clock;
        double moved = 0;
        QObject::connect(FrManagerProgress->findChild<QProgressBar*>(), &QProgressBar::valueChanged, [&] {
            const double now = clock.nsecsElapsed() / 1e6;
            longestStill = std::max(longestStill, now - moved);
            moved = now;
        });
        std::atomic<qint64> pressed{-1};
        QPushButton* cancel = FrManagerProgress->findChild<QPushButton*>();
        clock.start();
        std::thread presser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            pressed = clock.nsecsElapsed();
            QMetaObject::invokeMethod(cancel, "click", Qt::QueuedConnection);
        });
        TKvManagerProgressFeedback feedback;
        TKvManagerScanner s(TKvDlgManager::dlmLabels);
        s.Scan(files, key, QStringLiteral("123"), feedback);
        const qint64 end = clock.nsecsElapsed();
        presser.join();
        if (s.Cancelled()) {
            ++cancelled;
            longestCancel = std::max(longestCancel, (end - pressed) / 1e6);
        }
        SetWindowProgress(nullptr, false);
        QApplication::processEvents();
    }
    printf("with the progress window: the bar stood still at most %.1f ms (limit 100); Cancel stopped %d of 4 "
           "scans, at most %.1f ms after it was pressed (limit 100)\n",
           longestStill, cancelled, longestCancel);
    return 0;
}
