// Run-time binding of libwirelink by name (dlopen: its own error text says
// precisely what is missing, e.g. the port driver underneath wirelink).  Nothing is loaded until the first
// call of a bound function, and each entry point is looked up at its own
// first call and kept.  A missing library or entry point goes to the error
// reporter, which ends the program.
#ifndef RIGCHECK_LIBRARY_BINDING_H
#define RIGCHECK_LIBRARY_BINDING_H

#include <QString>

#include <mutex>
#include <span>

#include "error_report.h"
#include "wirelink_api.h"

class LibraryBinding {
public:
    // `library` is a file name for the platform's library search
    // ("libwirelink.so") or a path.
    LibraryBinding(const QString &library, ErrorReporter &reporter);
    LibraryBinding(const LibraryBinding &) = delete;
    LibraryBinding &operator=(const LibraryBinding &) = delete;
    ~LibraryBinding();

    bool isLoaded() const { return handle_ != nullptr; }

    // Loads the library if this is the first lookup, then resolves `name`.
    // Never returns null: a failure is reported as fatal.
    // Safe from any thread.
    void *entryPoint(const char *name);

    // Looks up `names` now, in order, so that a missing one is reported at
    // start-up, in the window's thread, before any other thread calls
    // through the table.
    void checkEntryPoints(std::span<const char *const> names);

private:
    void loadOnFirstUse();
    [[noreturn]] void fail(const QString &message);

    QString name_;
    ErrorReporter &reporter_;
    std::mutex mutex_;  // the window's thread cancels while the hardware thread calls
    void *handle_ = nullptr;
};

// The table of all bound functions, each resolving itself through `binding`
// on its first call.  `binding` must outlive the table.
WirelinkApi bindWirelinkLazily(LibraryBinding &binding);

#endif  // RIGCHECK_LIBRARY_BINDING_H
