// A throw-away /sys/class/tty in a temporary directory.
#ifndef DLPORTIO_TESTS_FAKE_SYSFS_H
#define DLPORTIO_TESTS_FAKE_SYSFS_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

class FakeSysfs {
public:
    FakeSysfs() {
        std::string pattern = (std::filesystem::temp_directory_path() / "dlportio-sysfs-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~FakeSysfs() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    // An entry with a "port" file holding port_text as the kernel writes it.
    void add_tty(const std::string& name, const std::string& port_text) {
        add_entry(name);
        std::ofstream(root_ / name / "port") << port_text << '\n';
    }
    // An entry without a "port" file.
    void add_entry(const std::string& name) { std::filesystem::create_directories(root_ / name); }

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

#endif
