#include "error_report.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

TEST(ErrorReport, MessageBoxShowsTheMessageAndHoldsOtherTimersUntilDismissed) {
    int ticks = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { ++ticks; });
    poll.start(5);
    QString shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int ticksWhileShown = -1;
    // Runs in the box's own event loop and waits there as a user would.
    QMetaObject::invokeMethod(
        &poll,
        [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            const int before = ticks;
            QTest::qWait(100);
            ticksWhileShown = ticks - before;
            shown = box->text();
            icon = box->icon();
            box->accept();
        },
        Qt::QueuedConnection);
    showErrorMessageBox(QStringLiteral("The library libwirelink.so is missing."));
    EXPECT_EQ(shown, "The library libwirelink.so is missing.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(ticksWhileShown, 0);
    QTest::qWait(50);
    EXPECT_GT(ticks, 0) << "timers run again once the box is gone";
}

}  // namespace
