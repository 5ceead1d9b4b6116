#include "wirelink_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <vector>

#include "failure.h"
#include "port_tap.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

// Where the tool finds its libraries, relative to its own directory: an
// installed prefix first, then the build tree (paths from cli/CMakeLists.txt).
const char *const kLibraryDirs[] = {WIRELINK_INSTALLED_LIBDIR, WIRELINK_BUILD_LIBDIR};
const char *const kSimulatorDirs[] = {WIRELINK_INSTALLED_SIMDIR, WIRELINK_BUILD_SIMDIR};
const char *const kDriverDirs[] = {WIRELINK_INSTALLED_LIBDIR, WIRELINK_BUILD_DRIVERDIR};

constexpr const char *kDriverName = "libdlportio.so";

fs::path own_directory() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path(".") : executable.parent_path();
}

template <std::size_t N>
std::vector<fs::path> candidates(const char *const (&dirs)[N], const char *file) {
    std::vector<fs::path> paths;
    for (const char *dir : dirs) {
        const fs::path path = (own_directory() / dir / file).lexically_normal();
        if (paths.empty() || paths.back() != path) paths.push_back(path);
    }
    return paths;
}

std::string joined(const std::vector<fs::path> &paths) {
    std::string text;
    for (const fs::path &path : paths) text += (text.empty() ? "" : " or ") + path.parent_path().string();
    return text;
}

// The first candidate that exists, opened; throws naming them all.
void *open_first(const std::vector<fs::path> &paths, const std::string &what, int flags) {
    for (const fs::path &path : paths) {
        std::error_code error;
        if (!fs::exists(path, error)) continue;
        if (void *handle = dlopen(path.c_str(), flags)) return handle;
        throw Failure(kNotInstalled, "cannot load " + what + ": " + dlerror());
    }
    throw Failure(kNotInstalled, what + " is not installed: looked in " + joined(paths));
}

void *open_simulator() {
    return open_first(candidates(kSimulatorDirs, kDriverName),
                      "the simulated bench (" + std::string(kDriverName) + ")", RTLD_NOW | RTLD_GLOBAL);
}

// libwirelink.so with the port driver that it finds itself when it loads
// (LD_LIBRARY_PATH first, as for any program), else with the one installed
// beside it.  Returns the library; `driver` gets the driver.
void *open_with_real_driver(const std::vector<fs::path> &libraries, void *&driver) {
    for (const fs::path &library : libraries) {
        std::error_code error;
        if (!fs::exists(library, error)) continue;
        if (void *handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            driver = dlopen(kDriverName, RTLD_NOW | RTLD_NOLOAD);
            return handle;
        }
        break;
    }
    driver = open_first(candidates(kDriverDirs, kDriverName), "the port driver " + std::string(kDriverName),
                        RTLD_NOW | RTLD_GLOBAL);
    return open_first(libraries, "libwirelink.so", RTLD_NOW | RTLD_LOCAL);
}

template <typename Function>
void bind(void *library, Function &function, const char *name) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (function == nullptr) {
        throw Failure(kNotInstalled, std::string("libwirelink.so lacks the function ") + name);
    }
}

void route_ports_through_tap(void *driver) {
    if (driver == nullptr) throw Failure(kNotInstalled, "cannot find the loaded port driver");
    auto read = reinterpret_cast<port_tap::ReadPort>(dlsym(driver, "DlPortReadPortUchar"));
    auto write = reinterpret_cast<port_tap::WritePort>(dlsym(driver, "DlPortWritePortUchar"));
    if (read == nullptr || write == nullptr) {
        throw Failure(kNotInstalled, "the port driver lacks DlPortReadPortUchar/DlPortWritePortUchar");
    }
    port_tap::connect(read, write);
    // Optional: without it every access goes one at a time, as always.
    using Extension = const wirelink_port_extension *(*)();
    auto extension = reinterpret_cast<Extension>(dlsym(driver, WIRELINK_PORT_EXTENSION_NAME));
    const wirelink_port_extension *found = extension != nullptr ? extension() : nullptr;
    if (found != nullptr && found->version >= 1 && found->run_limit != nullptr && found->run_steps != nullptr)
        port_tap::connect_extension(found);
}

void bind_all(void *library, Wirelink &w) {
#define WIRELINK_FUNCTION(name, ...) bind(library, w.name, #name);
#include "api.def"
#undef WIRELINK_FUNCTION
}

}  // namespace

// The libraries stay loaded for the life of the process.  Whichever way the
// driver was found, libwirelink.so's port accesses resolve to the tap, which
// the program defines ahead of every library.
const Wirelink &load_wirelink(bool simulated) {
    static Wirelink wirelink{};
    const std::vector<fs::path> libraries = candidates(kLibraryDirs, "libwirelink.so");
    void *driver = nullptr;
    void *library = nullptr;
    if (simulated) {
        driver = open_simulator();
        library = open_first(libraries, "libwirelink.so", RTLD_NOW | RTLD_LOCAL);
    } else {
        library = open_with_real_driver(libraries, driver);
    }
    route_ports_through_tap(driver);
    bind_all(library, wirelink);
    return wirelink;
}

}  // namespace cli
