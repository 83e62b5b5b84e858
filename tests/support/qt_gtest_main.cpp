#include "screen_area.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widget tests need a QApplication; they always run headless.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and fall-back memory files go to a folder of this run, never the user's own.
    QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The offscreen screen is 800 by 800, too narrow for the main window at its designed place.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        SetScreenArea(LargeScreen, LargeScreen);
    return RUN_ALL_TESTS();
}
