// The user-interface tests run on the offscreen platform (a test may give it
// options), with the settings file in a temporary directory, never in the
// real home directory. The application is made as the program makes it
// (Startup.h): Qt's Russian texts, its style and the screen fit included.
#include "Startup.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    QTemporaryDir config;
    if (!config.isValid())
        return 2;
    ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    if (const char* platform = std::getenv("QT_QPA_PLATFORM"); !platform || std::strncmp(platform, "offscreen", 9) != 0)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const auto app = CreateApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tresolvin"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
