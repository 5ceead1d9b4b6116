// Two threads calling chip functions at once: each call runs whole, so no
// byte goes wrong on the wire, and lcd_read_str writes only its own count.
// Built once more under ThreadSanitizer by scripts/test.sh.
#include "wire_test.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "hd44780.h"
#include "pcf8591.h"

namespace {

constexpr int kRounds = 200;

class TwoThreads : public StandardBoardTest {
protected:
    void SetUp() override {
        for (int input = 0; input < 4; ++input) converter.set_input_code(input, 0x11 * (input + 1));
        claim();
        ad_pcf8591_init(0, 2550);
    }

    wlsim::Pcf8574 &display_port = bench.add_pcf8574(0);
    wlsim::Hd44780 &display = bench.add<wlsim::Hd44780>(wlsim::kCom1, display_port);
    wlsim::Pcf8574 &expander = bench.add_pcf8574(1);
    wlsim::Pcf8591 &converter = bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
};

TEST_F(TwoThreads, ExpanderWritesAndConverterReadsNeverInterleave) {
    std::vector<uint8_t> sent;
    std::thread writer([&] {
        for (int i = 0; i < kRounds; ++i) {
            const auto value = static_cast<uint8_t>(i * 37);
            if (iic_tx_pcf8574(value, 1) == 1) sent.push_back(value);
        }
    });
    int wrong_readings = 0;
    for (int i = 0; i < kRounds; ++i) {
        const int32_t channel = i % 4;
        if (ad_pcf8591_readchan(channel, 0) != 0x11 * (channel + 1)) ++wrong_readings;
    }
    writer.join();
    EXPECT_EQ(sent.size(), static_cast<size_t>(kRounds));
    EXPECT_EQ(expander.writes(), sent);
    EXPECT_EQ(wrong_readings, 0);
    EXPECT_THAT(converter.controls(),
                ::testing::Each(::testing::AllOf(::testing::Ge(0x44), ::testing::Le(0x47))));
    EXPECT_THAT(converter.dac_writes(), ::testing::IsEmpty());
    EXPECT_THAT(bench.bus().monitor().violations(), ::testing::IsEmpty());
}

// Buffers of exactly count + 1 bytes on the heap, where AddressSanitizer
// sees a byte beyond them.
TEST_F(TwoThreads, DisplayReadsWriteOnlyTheirOwnCount) {
    ASSERT_EQ(lcd_init(), 1);
    lcd_write_str("Hello, bench");
    std::atomic<bool> long_reads_done{false};
    std::vector<std::string> long_texts;
    std::thread long_reader([&] {
        for (int i = 0; i < 3; ++i) {
            auto text = std::make_unique<char[]>(32);
            if (lcd_read_str(31, 0, text.get()) == 1) long_texts.emplace_back(text.get());
        }
        long_reads_done = true;
    });
    int empty_reads = 0;
    while (!long_reads_done) {
        auto text = std::make_unique<char[]>(1);
        text[0] = 'x';
        if (lcd_read_str(0, 0, text.get()) == 1 && text[0] == '\0') ++empty_reads;
    }
    long_reader.join();
    EXPECT_GT(empty_reads, 0);
    const std::string expected = "Hello, bench" + std::string(19, ' ');
    EXPECT_THAT(long_texts, ::testing::ElementsAre(expected, expected, expected));
}

}  // namespace
