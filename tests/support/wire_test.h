// A test bench wired to the library through the simulated port driver.
#ifndef WIRELINK_TESTS_WIRE_TEST_H
#define WIRELINK_TESTS_WIRE_TEST_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "bench.h"
#include "wirelink.h"

class WireTest : public ::testing::Test {
protected:
    WireTest() { wlsim::attach(&bench); }
    ~WireTest() override { wlsim::attach(nullptr); }

    // No test may touch a port outside the two serial ports.
    void TearDown() override { EXPECT_THAT(bench.violations(), ::testing::IsEmpty()); }

    // The usual board: the adapter on 0x3F8, a bare UART on 0x2F8.
    void standard_ports() {
        bench.add_uart(wlsim::kCom1, true);
        bench.add_uart(wlsim::kCom2, false);
    }

    // Standard ports, the adapter claimed, counters and trace cleared.
    void claimed_bus() {
        standard_ports();
        ASSERT_EQ(init_iic(1), 0x3F8);
        forget_history();
    }

    void forget_history() {
        bench.reset_counts();
        bench.bus().monitor().clear();
    }

    std::string trace() { return bench.bus().monitor().text(); }

    wlsim::Bench bench;
};

// The usual board, fitted before any chip a derived fixture adds.
class StandardBoardTest : public WireTest {
protected:
    StandardBoardTest() { standard_ports(); }

    void claim() {
        ASSERT_EQ(init_iic(1), 0x3F8);
        forget_history();
    }
};

#endif
