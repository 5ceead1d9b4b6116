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
}

void bind_all(void *library, Wirelink &w) {
    bind(library, w.wirelink_last_error, "wirelink_last_error");
    bind(library, w.wirelink_strerror, "wirelink_strerror");
    bind(library, w.wirelink_cancel, "wirelink_cancel");
    bind(library, w.wirelink_cancel_reset, "wirelink_cancel_reset");
    bind(library, w.init_iic, "init_iic");
    bind(library, w.deinit_iic, "deinit_iic");
    bind(library, w.set_port_delay, "set_port_delay");
    bind(library, w.iic_ok, "iic_ok");
    bind(library, w.sda_high, "sda_high");
    bind(library, w.sda_low, "sda_low");
    bind(library, w.scl_high, "scl_high");
    bind(library, w.scl_low, "scl_low");
    bind(library, w.read_sda, "read_sda");
    bind(library, w.read_scl, "read_scl");
    bind(library, w.iic_start, "iic_start");
    bind(library, w.iic_stop, "iic_stop");
    bind(library, w.iic_send_byte, "iic_send_byte");
    bind(library, w.iic_read_byte, "iic_read_byte");
    bind(library, w.iic_tx_pcf8574, "iic_tx_pcf8574");
    bind(library, w.iic_rx_pcf8574_into, "_iic_rx_pcf8574");
    bind(library, w.pcf8591_init, "pcf8591_init");
    bind(library, w.pcf8591_readchan, "pcf8591_readchan");
    bind(library, w.pcf8591_read4chan, "pcf8591_read4chan");
    bind(library, w.pcf8591_setda, "pcf8591_setda");
    bind(library, w.pcf8591_aout, "pcf8591_aout");
    bind(library, w.lcd_init, "lcd_init");
    bind(library, w.lcd_instr, "lcd_instr");
    bind(library, w.lcd_write_str, "lcd_write_str");
    bind(library, w.lcd_read_str, "lcd_read_str");
    bind(library, w.tsa5511_init, "tsa5511_init");
    bind(library, w.tsa5511_calc, "tsa5511_calc");
    bind(library, w.tsa5511_send, "tsa5511_send");
    bind(library, w.tsa5523_init, "tsa5523_init");
    bind(library, w.tsa5523_calc, "tsa5523_calc");
    bind(library, w.tsa5523_send, "tsa5523_send");
    bind(library, w.tbb200_init, "tbb200_init");
    bind(library, w.tbb200_calc, "tbb200_calc");
    bind(library, w.tbb200_send_status, "tbb200_send_status");
    bind(library, w.tbb200_send_r_cnt, "tbb200_send_r_cnt");
    bind(library, w.tbb200_send_n_cnt, "tbb200_send_n_cnt");
    bind(library, w.tsa6057_init, "tsa6057_init");
    bind(library, w.tsa6057_calc, "tsa6057_calc");
    bind(library, w.tsa6057_send, "tsa6057_send");
    bind(library, w.sda3302_init, "sda3302_init");
    bind(library, w.sda3302_calc, "sda3302_calc");
    bind(library, w.sda3302_send, "sda3302_send");
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
