#include "serial_device_lookup.h"

#include <gtest/gtest.h>

#include "fake_sysfs.h"

namespace {

using dlportio::find_serial_device;

TEST(SerialDeviceLookup, FindsTheEntryThatOwnsEachBase) {
    FakeSysfs sysfs;
    sysfs.add_tty("ttyS0", "0x3F8");
    sysfs.add_tty("ttyS1", "0x2F8");
    sysfs.add_tty("ttyS2", "0x3E8");
    sysfs.add_tty("ttyS3", "0x0");  // a registered but unused slot

    const struct {
        unsigned long base;
        std::optional<std::string> device;
    } cases[] = {
        {0x3F8, "ttyS0"}, {0x2F8, "ttyS1"}, {0x3E8, "ttyS2"}, {0x2E8, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(find_serial_device(sysfs.root(), c.base), c.device) << std::hex << c.base;
    }
}

TEST(SerialDeviceLookup, SkipsEntriesThatAreNotSerialPortsOrCannotBeRead) {
    FakeSysfs sysfs;
    sysfs.add_tty("tty0", "0x3F8");    // not a ttyS entry
    sysfs.add_tty("ttyS", "0x3F8");    // no number
    sysfs.add_entry("ttyS1");          // no port file
    sysfs.add_tty("ttyS2", "");        // empty port file
    sysfs.add_tty("ttyS3", "0x3F8x");  // trailing garbage
    sysfs.add_tty("ttyS4", "serial");
    EXPECT_EQ(find_serial_device(sysfs.root(), 0x3F8), std::nullopt);

    sysfs.add_tty("ttyS5", "0x3f8");
    EXPECT_EQ(find_serial_device(sysfs.root(), 0x3F8), "ttyS5");
}

TEST(SerialDeviceLookup, TakesTheLowestNameWhenTwoClaimTheSameBase) {
    FakeSysfs sysfs;
    sysfs.add_tty("ttyS7", "0x2F8");
    sysfs.add_tty("ttyS1", "0x2F8");
    EXPECT_EQ(find_serial_device(sysfs.root(), 0x2F8), "ttyS1");
}

TEST(SerialDeviceLookup, AMissingTreeFindsNothing) {
    FakeSysfs sysfs;
    EXPECT_EQ(find_serial_device(sysfs.root() / "absent", 0x3F8), std::nullopt);
    EXPECT_EQ(find_serial_device(sysfs.root(), 0x3F8), std::nullopt);
}

}  // namespace
