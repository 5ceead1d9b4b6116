// The window's wiring that the end-to-end tests do not reach: slider set-up,
// poll timer, status colour, Quit and closing.
#include "main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <stdexcept>

#include "fakes.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    CallLog log;
    FakeWirelink wirelink{log};
    MainWindow window{wirelink.api, QLocale(QLocale::English, QLocale::UnitedStates)};

    template <typename Widget>
    Widget &control(const QString &name) {
        auto *widget = window.findChild<Widget *>(name);
        if (widget == nullptr) throw std::runtime_error("no control " + name.toStdString());
        return *widget;
    }
};

TEST_F(MainWindowTest, LoadSetsUpAFixedWindowWithSliderStatusAndPollTimer) {
    window.load();
    EXPECT_EQ(window.windowTitle(), "Rigcheck");
    EXPECT_EQ(window.minimumSize(), QSize(528, 408));
    EXPECT_EQ(window.maximumSize(), QSize(528, 408));
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    auto &slider = control<QSlider>("Slider1");
    EXPECT_EQ(std::vector({slider.minimum(), slider.maximum(), slider.singleStep(), slider.pageStep(),
                           slider.tickInterval(), slider.value()}),
              std::vector({0, 2550, 100, 500, 100, 0}));
    EXPECT_EQ(control<QLabel>("MsgLabel").palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_TRUE(control<QTimer>("Timer1").isActive());
    EXPECT_EQ(control<QTimer>("Timer1").interval(), 1000);
}

// Quit releases the port even without an adapter; the window manager's
// close does not release it.
class QuitOrClose : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(QuitOrClose, HidesTheWindowAndOnlyQuitReleasesThePort) {
    const bool viaQuit = GetParam();
    wirelink.adapterPort = viaQuit ? 0 : 0x3F8;
    window.load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.waitForHardware();
    log.clear();
    if (viaQuit) {
        QTest::mouseClick(&control<QAbstractButton>("Command1"), Qt::LeftButton);
    } else {
        window.close();
    }
    window.waitForHardware();
    EXPECT_EQ(log, viaQuit ? CallLog{"deinit_iic()"} : CallLog{});
    EXPECT_FALSE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Button, QuitOrClose, ::testing::Bool());

}  // namespace
