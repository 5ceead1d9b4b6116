#include "library_binding.h"

#include <wirelink.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

struct ReportedError {
  QString message;
};

// Stands in for the message box: records the message and unwinds instead of
// ending the process.
class ThrowingReporter final : public ErrorReporter {
 public:
  void fatal(const QString &message) override {
    ++reports;
    throw ReportedError{message};
  }
  int reports = 0;
};

QString reportOf(const std::function<void()> &call) {
  try {
    call();
  } catch (const ReportedError &error) {
    return error.message;
  }
  return {};
}

TEST(WirelinkFunctionList, HoldsFiftySixDistinctNames) {
  const std::set<std::string_view> distinct(kWirelinkFunctionNames.begin(),
                                            kWirelinkFunctionNames.end());
  EXPECT_EQ(kWirelinkFunctionNames.size(), 56u);
  EXPECT_EQ(distinct.size(), 56u);
}

// The library's own export list: name and kind of every export.
std::map<std::string, std::string> libraryExports() {
  std::map<std::string, std::string> kinds;
  std::ifstream list(RIGCHECK_EXPORT_LIST);
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    std::string name;
    std::string kind;
    if (fields >> name >> kind && name[0] != '#') {
      kinds[name] = kind;
    }
  }
  return kinds;
}

TEST(WirelinkFunctionList, BindsEveryUndecoratedEntryOfTheLibraryAndNothingElse) {
  const auto exports = libraryExports();
  ASSERT_FALSE(exports.empty());
  const std::set<std::string_view> bound(kWirelinkFunctionNames.begin(),
                                         kWirelinkFunctionNames.end());
  for (const auto &[name, kind] : exports) {
    EXPECT_EQ(bound.count(name), kind == "entry" ? 1u : 0u) << name << " (" << kind << ")";
  }
  for (std::string_view name : kWirelinkFunctionNames) {
    const auto found = exports.find(std::string(name));
    EXPECT_TRUE(found != exports.end() && found->second == "entry") << name;
  }
}

// The signatures the binding casts to are the ones the library declares.
#define RIGCHECK_SAME_SIGNATURE(name, ...)                    \
  static_assert(std::is_same_v<decltype(::name), __VA_ARGS__>, \
                #name " is bound with another signature");
RIGCHECK_WIRELINK_FUNCTIONS(RIGCHECK_SAME_SIGNATURE)
#undef RIGCHECK_SAME_SIGNATURE

TEST(LibraryBinding, BindsEveryNameButLoadsNothingBeforeTheFirstCall) {
  ThrowingReporter reporter;
  LibraryBinding binding(QStringLiteral("libno_such_wirelink.so"), reporter);
  WirelinkApi api = bindWirelinkLazily(binding);
#define RIGCHECK_EXPECT_BOUND(name, ...) \
  EXPECT_TRUE(static_cast<bool>(api.name)) << #name;
  RIGCHECK_WIRELINK_FUNCTIONS(RIGCHECK_EXPECT_BOUND)
#undef RIGCHECK_EXPECT_BOUND
  EXPECT_FALSE(binding.isLoaded());
  EXPECT_EQ(reporter.reports, 0);
}

TEST(LibraryBinding, FirstCallLoadsTheLibraryAndPassesArgumentsAndResults) {
  ThrowingReporter reporter;
  LibraryBinding binding(QStringLiteral(RIGCHECK_STUB_LIBRARY), reporter);
  WirelinkApi api = bindWirelinkLazily(binding);
  EXPECT_EQ(api.set_port_delay(10), 10);
  EXPECT_TRUE(binding.isLoaded());
  EXPECT_EQ(api.set_port_delay(77), 77);
  EXPECT_EQ(api.init_iic(0), 0x3F8);
  EXPECT_EQ(api.ad_pcf8591_readchan(2, 0), 12);
  EXPECT_EQ(reporter.reports, 0);
}

TEST(LibraryBinding, MissingLibraryIsReportedByNameAtTheFirstCall) {
  ThrowingReporter reporter;
  LibraryBinding binding(QStringLiteral("libno_such_wirelink.so"), reporter);
  WirelinkApi api = bindWirelinkLazily(binding);
  const QString message = reportOf([&] { api.set_port_delay(10); });
  EXPECT_TRUE(message.contains("libno_such_wirelink.so")) << message.toStdString();
  EXPECT_EQ(reporter.reports, 1);
}

TEST(LibraryBinding, MissingEntryPointIsReportedByName) {
  ThrowingReporter reporter;
  LibraryBinding binding(QStringLiteral(RIGCHECK_STUB_LIBRARY), reporter);
  WirelinkApi api = bindWirelinkLazily(binding);
  EXPECT_EQ(api.init_iic(0), 0x3F8);
  const QString message = reportOf([&] { api.ad_pcf8591_init(0, 2550); });
  EXPECT_TRUE(message.contains("ad_pcf8591_init")) << message.toStdString();
  EXPECT_EQ(reporter.reports, 1);
}

}  // namespace
