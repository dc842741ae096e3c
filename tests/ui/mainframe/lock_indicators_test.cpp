#include "mainframe/lock_indicators.h"
#include "ui_fixture.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

namespace kestra {
namespace {

using LockIndicatorsFrameTest = UiTest;

TEST(LockIndicatorsTest, EachShowsItsWordWhileItsLockIsOnAndFollowsTheKeyboard) {
    QStatusBar bar;
    KeyboardLocks locks{true, false, std::nullopt};
    const CLockIndicators indicators(bar, [&locks] { return locks; });
    const auto shown = [&indicators](CLockIndicators::Lock lock) {
        const QLabel* label = indicators.Indicator(lock);
        return label->isVisibleTo(label->parentWidget()) ? label->text() : QStringLiteral("(hidden)");
    };
    EXPECT_EQ(shown(CLockIndicators::Lock::Caps), QStringLiteral("CAPS"));
    EXPECT_EQ(shown(CLockIndicators::Lock::Num), QString());
    EXPECT_EQ(shown(CLockIndicators::Lock::Scroll), QStringLiteral("(hidden)")); // a lock nobody can read

    locks = KeyboardLocks{false, true, true};
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return shown(CLockIndicators::Lock::Num) == QStringLiteral("NUM"); }, 2000));
    EXPECT_EQ(shown(CLockIndicators::Lock::Caps), QString());
    EXPECT_EQ(shown(CLockIndicators::Lock::Scroll), QStringLiteral("SCRL"));
}

// Qt's offscreen platform, like Wayland, lets no program read the locks.
TEST_F(LockIndicatorsFrameTest, ThePlatformWithoutLockStatesHidesThem) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "runs on the offscreen platform";
    StartFrame();
    for (const auto lock :
         {CLockIndicators::Lock::Caps, CLockIndicators::Lock::Num, CLockIndicators::Lock::Scroll}) {
        const QLabel* label = m_frame->LockIndicators().Indicator(lock);
        EXPECT_EQ(label->parentWidget(), m_frame->statusBar());
        EXPECT_FALSE(label->isVisible());
    }
}

} // namespace
} // namespace kestra
