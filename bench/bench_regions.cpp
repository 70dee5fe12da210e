// The region designer's magic wand on a large picture, followed by turning the scanned mask into
// the region the view paints: the pause a developer sees after a click.
//   kv_bench_regions [--size N] [--runs N]

#include "images/KvDesignRgnModel.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// CPU time of this thread: on a busy machine the wall clock also counts other programs.
double CpuMillis()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Times a scan from (X, Y) plus the region at zoom 1, on a fresh copy of the picture each run:
// the median wall time, and in Cpu the median processor time.
double Time(TKvPkgImagesImage& Image, int X, int Y, bool Diagonals, int Runs, qsizetype& Pixels, int& Rects,
            double& Cpu)
{
    std::vector<double> times, cpu;
    for (int r = 0; r < Runs; ++r) {
        TKvDesignRgnModel model;
        model.Open(Image, {});
        model.SetDiagonals(Diagonals);
        QElapsedTimer t;
        t.start();
        const double c0 = CpuMillis();
        model.ScanRgn(X, Y); // rebuilds the region as part of the scan
        cpu.push_back(CpuMillis() - c0);
        times.push_back(t.nsecsElapsed() / 1e6);
        Pixels = model.ExternalBits().CountSet();
        Rects = model.ExternalRgn() ? model.ExternalRgn()->rectCount() : 0;
    }
    Cpu = Median(cpu);
    return Median(times);
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int size = 2048;
    int runs = 5;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--size"))
            size = std::max(16, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
    }

    TKvPkgImages pkg;
    TKvPkgImagesImage* image = pkg.Images()->Add(1);

    QImage uniform(size, size, QImage::Format_ARGB32);
    uniform.fill(qRgb(40, 90, 160));
    image->SetGraphic(uniform);
    qsizetype pixels = 0;
    int rects = 0;
    double cpu = 0;
    for (bool diagonals : {true, false}) {
        const double ms = Time(*image, size / 2, size / 2, diagonals, runs, pixels, rects, cpu);
        std::printf("uniform %dx%d, %s neighbours: %.1f ms, %.1f ms CPU (%lld pixels, %d rectangles)\n", size, size,
                    diagonals ? "8" : "4", ms, cpu, static_cast<long long>(pixels), rects);
    }

    // A shape with a ragged edge: a disc with notches, on a plain ground.
    QImage shape(size, size, QImage::Format_ARGB32);
    shape.fill(Qt::white);
    {
        QPainter p(&shape);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 30, 30));
        p.drawEllipse(QRect(size / 8, size / 8, size * 3 / 4, size * 3 / 4));
        p.setBrush(Qt::white);
        for (int k = 0; k < 64; ++k)
            p.drawRect(QRect(size / 8 + k * size * 3 / 256, size / 2 - 2, 2, size / 4));
    }
    image->SetGraphic(shape);
    const double ms = Time(*image, 0, 0, true, runs, pixels, rects, cpu);
    std::printf("ragged shape %dx%d, ground scanned: %.1f ms, %.1f ms CPU (%lld pixels, %d rectangles)\n", size, size,
                ms, cpu, static_cast<long long>(pixels), rects);
    return 0;
}
