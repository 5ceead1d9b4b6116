// Bench tooling: with RIGCHECK_SCREENSHOT=/path.png in the environment the
// window is grabbed 1.5 s after it is shown and saved there.
#ifndef RIGCHECK_SCREENSHOT_H
#define RIGCHECK_SCREENSHOT_H

class QWidget;

void scheduleScreenshotIfRequested(QWidget &window);

#endif  // RIGCHECK_SCREENSHOT_H
