#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

TEST(TestEnvironment, ScreenIsPinnedTo96Dpi)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(qRound(screen->logicalDotsPerInchY()), 96);
    EXPECT_TRUE(QFontDatabase::families().contains("Liberation Serif"));
}
