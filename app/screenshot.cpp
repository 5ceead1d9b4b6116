#include "screenshot.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {
constexpr int kSettleTimeMs = 1500;
}

void scheduleScreenshotIfRequested(QWidget &window) {
    const QString path = qEnvironmentVariable("RIGCHECK_SCREENSHOT");
    if (path.isEmpty()) {
        return;
    }
    QTimer::singleShot(kSettleTimeMs, &window, [&window, path] {
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "rigcheck: cannot save the screenshot to %s\n", qPrintable(path));
        }
    });
}
