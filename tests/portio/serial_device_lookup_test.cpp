#include "serial_device_lookup.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace {

using dlportio::find_serial_device;

struct Entry {
    std::string name;
    const char *port;  // null: no port file
    const char *type = nullptr;
};

struct LookupCase {
    const char *why;
    std::vector<Entry> entries;
    unsigned long base;
    std::optional<std::string> found;
};
void PrintTo(const LookupCase &c, std::ostream *out) { *out << c.why; }

class SerialDeviceLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(SerialDeviceLookup, FindsTheTtySEntryThatOwnsTheBase) {
    FakeSysfs sysfs;
    for (const Entry &entry : GetParam().entries) {
        sysfs.add_tty(entry.name, entry.port, entry.type);
    }
    EXPECT_EQ(find_serial_device(sysfs.root(), GetParam().base), GetParam().found);
    EXPECT_EQ(find_serial_device(sysfs.root() / "absent", GetParam().base), std::nullopt);
}

// ttyS3 is a registered but unused slot.
const std::vector<Entry> kStandard{
    {"ttyS0", "0x3F8"}, {"ttyS1", "0x2F8"}, {"ttyS2", "0x3E8"}, {"ttyS3", "0x0"}};
// Not serial ports, or port files that cannot be read as a base, all of
// which would come before ttyS5.
const std::vector<Entry> kUnfitThenS5{{"tty0", "0x3F8"}, {"ttyS", "0x3F8"},   {"ttyS1", nullptr},
                                      {"ttyS2", ""},     {"ttyS3", "0x3F8x"}, {"ttyS4", "serial"},
                                      {"ttyS5", "0x3f8"}};

INSTANTIATE_TEST_SUITE_P(
    Sysfs, SerialDeviceLookup,
    ::testing::Values(
        LookupCase{"Com1", kStandard, 0x3F8, "ttyS0"}, LookupCase{"Com2", kStandard, 0x2F8, "ttyS1"},
        LookupCase{"Com3", kStandard, 0x3E8, "ttyS2"},
        LookupCase{"Com4Absent", kStandard, 0x2E8, std::nullopt},
        LookupCase{"SkipsUnfitEntries", kUnfitThenS5, 0x3F8, "ttyS5"},
        LookupCase{"LowestOfTwo", {{"ttyS7", "0x2F8"}, {"ttyS1", "0x2F8"}}, 0x2F8, "ttyS1"},
        LookupCase{"EmptyTree", {}, 0x3F8, std::nullopt},
        // Type 0: the kernel found no UART at that base.
        LookupCase{"SkipsTypeZero", {{"ttyS0", "0x3F8", "0"}, {"ttyS4", "0x3F8", "4"}}, 0x3F8, "ttyS4"}),
    [](const auto &info) { return std::string(info.param.why); });

}  // namespace
