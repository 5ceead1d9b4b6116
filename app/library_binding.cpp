#include "library_binding.h"

#include <wirelink.h>  // for the calling convention of the exports

#include <dlfcn.h>

#include <cstdlib>

LibraryBinding::LibraryBinding(const QString &library, ErrorReporter &reporter)
    : name_(library), reporter_(reporter) {}

// The library stays loaded: the table's cached entry points may outlive us
// in a copy, and unloading would run nothing useful.
LibraryBinding::~LibraryBinding() = default;

void LibraryBinding::loadOnFirstUse() {
    if (handle_ != nullptr) {
        return;
    }
    handle_ = dlopen(name_.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        fail(QStringLiteral("Cannot load the library %1: %2").arg(name_, QString::fromLocal8Bit(dlerror())));
    }
}

void *LibraryBinding::entryPoint(const char *name) {
    std::lock_guard lock(mutex_);
    loadOnFirstUse();
    void *entry = dlsym(handle_, name);
    if (entry == nullptr) {
        fail(QStringLiteral("The library %1 has no entry point %2.").arg(name_, QString::fromLatin1(name)));
    }
    return entry;
}

void LibraryBinding::checkEntryPoints(std::span<const char *const> names) {
    for (const char *name : names) {
        entryPoint(name);
    }
}

void LibraryBinding::fail(const QString &message) {
    reporter_.fatal(message);
    // A reporter that returns would leave us calling through a null pointer.
    std::abort();
}

namespace {

template <typename Signature>
class LazyEntry;

// Resolves its entry point at the first call and keeps it for later calls.
template <typename Result, typename... Args>
class LazyEntry<Result(Args...)> {
public:
    LazyEntry(LibraryBinding &binding, const char *name) : binding_(&binding), name_(name) {}

    Result operator()(Args... args) {
        if (entry_ == nullptr) {
            entry_ = reinterpret_cast<Entry>(binding_->entryPoint(name_));
        }
        return entry_(args...);
    }

private:
    using Entry = Result(WIRELINK_CALL *)(Args...);

    LibraryBinding *binding_;
    const char *name_;
    Entry entry_ = nullptr;
};

}  // namespace

WirelinkApi bindWirelinkLazily(LibraryBinding &binding) {
    WirelinkApi api;
#define RIGCHECK_ENTRY(name, ...) api.name = LazyEntry<__VA_ARGS__>(binding, #name);
#include "wirelink_functions.h"
#undef RIGCHECK_ENTRY
    return api;
}
