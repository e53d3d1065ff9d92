// A core application gives Qt its plugin paths, so that the tests can use
// Qt's own image readers as a second opinion on the portrait decoders. No
// window, settings file or home directory is touched.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
