#include "library_binding.h"

#include <wirelink.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <type_traits>

namespace {

// The signatures the binding casts to are the ones the library declares.
#define RIGCHECK_ENTRY(name, ...) \
    static_assert(std::is_same_v<decltype(::name), __VA_ARGS__>, #name " is bound with another signature");
#include "wirelink_functions.h"
#undef RIGCHECK_ENTRY

// Read from the table as the build reads it, as text, so that a slip in the
// expansion (a kind spelt otherwise, a line lost) shows.
TEST(WirelinkFunctionList, IsExactlyTheUndecoratedEntriesOfTheLibrary) {
    std::set<std::string> entries;
    std::ifstream table(RIGCHECK_EXPORT_LIST);
    const std::string opening = "WIRELINK_FUNCTION(";
    for (std::string line; std::getline(table, line);) {
        if (line.rfind(opening, 0) != 0) continue;
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos) continue;
        std::size_t kind = comma + 1;
        while (kind < line.size() && line[kind] == ' ') ++kind;
        if (line.compare(kind, 6, "entry,") == 0)
            entries.insert(line.substr(opening.size(), comma - opening.size()));
    }
    const std::set<std::string> bound(kWirelinkFunctionNames.begin(), kWirelinkFunctionNames.end());
    EXPECT_EQ(bound.size(), kWirelinkFunctionNames.size()) << "a name is bound twice";
    EXPECT_EQ(bound, entries);
}

// A report would end the test program with the message.
TEST(LibraryBinding, LoadsNothingBeforeTheFirstCallThenPassesArgumentsAndResults) {
    MessageBoxErrorReporter reporter;
    LibraryBinding binding(QStringLiteral(RIGCHECK_STUB_LIBRARY), reporter);
    WirelinkApi api = bindWirelinkLazily(binding);
#define RIGCHECK_ENTRY(name, ...) EXPECT_TRUE(static_cast<bool>(api.name)) << #name;
#include "wirelink_functions.h"
#undef RIGCHECK_ENTRY
    EXPECT_FALSE(binding.isLoaded());
    EXPECT_EQ(api.set_port_delay(10), 10);
    EXPECT_TRUE(binding.isLoaded());
    EXPECT_EQ(api.set_port_delay(77), 77);
    EXPECT_EQ(api.init_iic(0), 0x3F8);
    EXPECT_EQ(api.ad_pcf8591_readchan(2, 0), 12);
}

}  // namespace
