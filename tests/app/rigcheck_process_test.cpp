// Runs the rigcheck program itself against library directories that lack
// wirelink or one of its entry points.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace {

struct Outcome {
  bool finished;
  QProcess::ExitStatus status;
  int exitCode;
  QString errors;
};

Outcome runRigcheckWithLibraryPath(const QString &libraryDir) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("LD_LIBRARY_PATH"), libraryDir);
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QProcess rigcheck;
  rigcheck.setProcessEnvironment(environment);
  rigcheck.start(QStringLiteral(RIGCHECK_EXECUTABLE), {});
  const bool finished = rigcheck.waitForFinished(30000);
  if (!finished) {
    rigcheck.kill();
    rigcheck.waitForFinished();
  }
  return {finished, rigcheck.exitStatus(), rigcheck.exitCode(),
          QString::fromLocal8Bit(rigcheck.readAllStandardError())};
}

TEST(RigcheckProcess, MissingLibraryEndsTheProgramWithAMessage) {
  const Outcome outcome = runRigcheckWithLibraryPath(RIGCHECK_EMPTY_LIBRARY_DIR);
  ASSERT_TRUE(outcome.finished) << "rigcheck kept running without its library";
  EXPECT_EQ(outcome.status, QProcess::NormalExit);
  EXPECT_NE(outcome.exitCode, 0);
  EXPECT_TRUE(outcome.errors.contains("libwirelink.so")) << outcome.errors.toStdString();
}

TEST(RigcheckProcess, MissingEntryPointEndsTheProgramWithAMessage) {
  const Outcome outcome = runRigcheckWithLibraryPath(RIGCHECK_STUB_DIR);
  ASSERT_TRUE(outcome.finished) << "rigcheck kept running without an entry point";
  EXPECT_EQ(outcome.status, QProcess::NormalExit);
  EXPECT_NE(outcome.exitCode, 0);
  EXPECT_TRUE(outcome.errors.contains("ad_pcf8591_init")) << outcome.errors.toStdString();
}

}  // namespace
