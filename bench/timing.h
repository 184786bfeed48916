#pragma once
// The timing pieces every benchmark uses: milliseconds since a timer started
// (on the clock, or of processor time), the median or the best of a set of
// runs, a piece of work timed that many times, and the table of a form's work
// against the bare SQLite work.
#include <QByteArray>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace bench {

// Benchmarks of forms run without a desktop unless a platform is named.
inline void OffscreenUnlessNamed()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline double MsSince(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

// Milliseconds of processor time the program used since start(): steadier
// than the clock on the wall on a machine shared with other work, and the same
// on an idle one for work that does not wait on the disk.
class CpuTimer {
public:
    void start() { m_start = now(); }
    double restart()
    {
        const double ms = elapsed();
        start();
        return ms;
    }
    double elapsed() const { return now() - m_start; }

private:
    static double now()
    {
        timespec t {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    }
    double m_start = now();
};

// The middle run; -1 when there was none.
inline double Median(std::vector<double> times)
{
    if (times.empty())
        return -1;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline double Best(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

// The milliseconds each of `runs` calls of the work took, in order.
template <typename Work>
std::vector<double> TimeRuns(int runs, Work&& work)
{
    std::vector<double> times;
    times.reserve(runs);
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(MsSince(timer));
    }
    return times;
}

// New and Save worked on a form beside the bare SQLite work each needs, in
// median milliseconds.
struct FormAgainstBare {
    double formNew;
    double bareNew;
    double formSave;
    double bareSave;
};

// The figures of a smaller and a larger shop side by side, with the factors
// form / bare. The row names: New, its bare work, Save, its bare work.
inline void PrintFormAgainstBare(const char* smallShop, const char* largeShop, const FormAgainstBare& small,
    const FormAgainstBare& large, const char* const (&rows)[4])
{
    std::printf("%-36s %14s %14s\n", "", smallShop, largeShop);
    auto row = [](const char* what, double a, double b) { std::printf("%-36s %14.2f %14.2f\n", what, a, b); };
    row(rows[0], small.formNew, large.formNew);
    row(rows[1], small.bareNew, large.bareNew);
    row("  factor", small.formNew / small.bareNew, large.formNew / large.bareNew);
    row(rows[2], small.formSave, large.formSave);
    row(rows[3], small.bareSave, large.bareSave);
    row("  factor", small.formSave / small.bareSave, large.formSave / large.bareSave);
}

} // namespace bench
