// Runs the rigcheck program itself against library directories that lack
// wirelink or one of its entry points.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace {

TEST(RigcheckProcess, AMissingLibraryOrEntryPointEndsItWithAMessageAndAFailureStatus) {
    const std::pair<const char *, const char *> cases[] = {{RIGCHECK_EMPTY_LIBRARY_DIR, "libwirelink.so"},
                                                           {RIGCHECK_STUB_DIR, "ad_pcf8591_init"}};
    for (const auto &[libraryDir, missing] : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), QString::fromUtf8(libraryDir));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess rigcheck;
        rigcheck.setProcessEnvironment(environment);
        rigcheck.start(QStringLiteral(RIGCHECK_EXECUTABLE), {});
        if (!rigcheck.waitForFinished(30000)) {
            rigcheck.kill();
            rigcheck.waitForFinished();
            ADD_FAILURE() << "rigcheck kept running without " << missing;
            continue;
        }
        EXPECT_EQ(rigcheck.exitStatus(), QProcess::NormalExit) << missing;
        EXPECT_NE(rigcheck.exitCode(), 0) << missing;
        const QString errors = QString::fromLocal8Bit(rigcheck.readAllStandardError());
        EXPECT_TRUE(errors.contains(missing)) << errors.toStdString();
    }
}

}  // namespace
