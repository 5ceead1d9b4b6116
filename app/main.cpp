// rigcheck: the bench window for the receiver board's two PCF8574 expanders
// and its PCF8591 converter on a wirelink bus.
#include <QApplication>

#include "error_report.h"
#include "library_binding.h"
#include "main_window.h"
#include "screenshot.h"

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);

    MessageBoxErrorReporter reporter;
    LibraryBinding binding(QStringLiteral("libwirelink.so"), reporter);
    WirelinkApi wirelink = bindWirelinkLazily(binding);

    MainWindow window(wirelink);
    // The load reaches the library first, so a missing library ends the
    // program before the window appears.
    window.load();
    window.show();
    scheduleScreenshotIfRequested(window);
    return QApplication::exec();
}
