#include "error_report.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

TEST(ErrorReport, OffscreenPlatformCannotShowABox) {
  ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
  EXPECT_FALSE(platformCanShowMessageBox());
}

TEST(ErrorReport, MessageBoxShowsTheMessageUntilDismissed) {
  QString shown;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  // Dismisses the box as soon as it is up, like a user pressing OK.
  QTimer dismisser;
  QObject::connect(&dismisser, &QTimer::timeout, [&] {
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
      shown = box->text();
      icon = box->icon();
      box->accept();
    }
  });
  dismisser.start(10);
  showErrorMessageBox(QStringLiteral("The library libwirelink.so is missing."));
  EXPECT_EQ(shown, "The library libwirelink.so is missing.");
  EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(ErrorReportDeathTest, FatalReportEndsTheProgramWithAMessage) {
  MessageBoxErrorReporter reporter;
  EXPECT_EXIT(reporter.fatal(QStringLiteral("no entry point deinit_iic")),
              ::testing::ExitedWithCode(1), "rigcheck: no entry point deinit_iic");
}

}  // namespace
