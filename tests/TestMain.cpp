#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Test binaries are also run at build time to list their cases, without the
// test environment, so the headless platform is chosen here.
int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
