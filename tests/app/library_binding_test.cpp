#include "library_binding.h"

#include <wirelink.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>

namespace {

// The signatures the binding casts to are the ones the library declares.
#define RIGCHECK_SAME_SIGNATURE(name, ...) \
    static_assert(std::is_same_v<decltype(::name), __VA_ARGS__>, #name " is bound with another signature");
RIGCHECK_WIRELINK_FUNCTIONS(RIGCHECK_SAME_SIGNATURE)
#undef RIGCHECK_SAME_SIGNATURE

TEST(WirelinkFunctionList, IsExactlyTheSixtyUndecoratedEntriesOfTheLibrary) {
    std::set<std::string> entries;
    std::ifstream list(RIGCHECK_EXPORT_LIST);
    for (std::string line; std::getline(list, line);) {
        std::istringstream fields(line);
        std::string name;
        std::string kind;
        if (fields >> name >> kind && name[0] != '#' && kind == "entry") entries.insert(name);
    }
    const std::set<std::string> bound(kWirelinkFunctionNames.begin(), kWirelinkFunctionNames.end());
    EXPECT_EQ(kWirelinkFunctionNames.size(), 60u);
    EXPECT_EQ(bound, entries);
}

// A report would end the test program with the message.
TEST(LibraryBinding, LoadsNothingBeforeTheFirstCallThenPassesArgumentsAndResults) {
    MessageBoxErrorReporter reporter;
    LibraryBinding binding(QStringLiteral(RIGCHECK_STUB_LIBRARY), reporter);
    WirelinkApi api = bindWirelinkLazily(binding);
#define RIGCHECK_EXPECT_BOUND(name, ...) EXPECT_TRUE(static_cast<bool>(api.name)) << #name;
    RIGCHECK_WIRELINK_FUNCTIONS(RIGCHECK_EXPECT_BOUND)
#undef RIGCHECK_EXPECT_BOUND
    EXPECT_FALSE(binding.isLoaded());
    EXPECT_EQ(api.set_port_delay(10), 10);
    EXPECT_TRUE(binding.isLoaded());
    EXPECT_EQ(api.set_port_delay(77), 77);
    EXPECT_EQ(api.init_iic(0), 0x3F8);
    EXPECT_EQ(api.ad_pcf8591_readchan(2, 0), 12);
}

}  // namespace
