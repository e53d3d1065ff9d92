// The user-interface tests run on the offscreen platform, with the settings
// file in a temporary directory that is removed at the end, never in the
// real home directory.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "cannot create a temporary configuration directory\n");
        return 2;
    }
    ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tresolvin"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
