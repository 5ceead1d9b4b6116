// rigcheck's own load on the simulated bench: the CPU it uses while idle
// (one converter poll a second) and the time from a box click to the last
// byte on the simulated wire.  Run with libwirelink.so and the simulated
// libdlportio.so on the library path, on Qt's offscreen platform.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench.h"
#include "error_report.h"
#include "library_binding.h"
#include "main_window.h"

namespace {

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void measure_idle(int seconds) {
    QElapsedTimer wall;
    const double cpu_before = cpu_seconds();
    wall.start();
    QTest::qWait(seconds * 1000);
    const double cpu = cpu_seconds() - cpu_before;
    std::printf("idle for %d s: %.3f s of CPU, %.2f %% of one core (goal: under 1 %%)\n", seconds, cpu,
                100.0 * cpu / (wall.nsecsElapsed() / 1e9));
}

void report(const char *what, std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    std::printf("%s, %zu clicks: median %.0f us, 99th percentile %.0f us\n", what, micros.size(),
                micros[micros.size() / 2], micros[micros.size() * 99 / 100]);
}

void measure_clicks(MainWindow &window, int clicks) {
    auto *box = window.findChild<QCheckBox *>(QStringLiteral("pcf1_0"));
    wlsim::BusMonitor &monitor = wlsim::attached().bus().monitor();
    std::vector<double> handled;
    std::vector<double> onWire;
    for (int i = 0; i < clicks; ++i) {
        window.waitForHardware();
        const size_t before = monitor.events().size();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(box, Qt::LeftButton);
        // The click only hands the write to the hardware thread; the STOP is
        // on the wire once that thread is idle again.
        handled.push_back(timer.nsecsElapsed() / 1000.0);
        window.waitForHardware();
        onWire.push_back(timer.nsecsElapsed() / 1000.0);
        if (monitor.events().size() == before) {
            std::fprintf(stderr, "a click put nothing on the wire\n");
            return;
        }
    }
    report("box click handled by the window", handled);
    report("box click to STOP on the simulated wire", onWire);
}

}  // namespace

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    MessageBoxErrorReporter reporter;
    LibraryBinding binding(QStringLiteral("libwirelink.so"), reporter);
    WirelinkApi wirelink = bindWirelinkLazily(binding);
    MainWindow window(wirelink);
    window.load();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;

    measure_clicks(window, 200);
    measure_idle(5);
    return 0;
}
