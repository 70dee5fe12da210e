#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Discovery runs the binary at build time, where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // ctest runs test processes side by side: each gets settings of its own (recent projects,
    // window bounds) instead of racing on the user's.
    QTemporaryDir Settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Settings.path());
    return RUN_ALL_TESTS();
}
