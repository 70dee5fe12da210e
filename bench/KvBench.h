// What every benchmark measures with: wall or processor time of a call and the median of runs.
#pragma once

#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <ctime>
#include <vector>

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F>
double Millis(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

// Processor time (user + system) of this process: on a shared machine wall time mostly measures
// the others.
inline double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Windows are timed on no screen unless QT_QPA_PLATFORM names one; call before the application.
inline void OffscreenByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The number after Name ("--runs 3") among the arguments, else Default; never below Min.
inline int IntArg(const QStringList& Args, QLatin1String Name, int Default, int Min = 1)
{
    for (qsizetype i = 1; i + 1 < Args.size(); ++i)
        if (Args[i] == Name)
            return std::max(Min, Args[i + 1].toInt());
    return Default;
}
