// rigcheck: the bench window for the receiver board's two PCF8574 expanders
// and its PCF8591 converter on a wirelink bus.
#include <QApplication>

#include "error_report.h"
#include "hw_main.h"
#include "library_binding.h"
#include "main_window.h"
#include "screenshot.h"

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);

    MessageBoxErrorReporter reporter;
    LibraryBinding binding(QStringLiteral("libwirelink.so"), reporter);
    // A missing library or entry point ends the program before the window
    // appears, and is reported from this thread.
    binding.checkEntryPoints(HwMain::kLibraryFunctions);
    WirelinkApi wirelink = bindWirelinkLazily(binding);

    MainWindow window(wirelink);
    window.load();
    window.show();
    scheduleScreenshotIfRequested(window);
    return QApplication::exec();
}
