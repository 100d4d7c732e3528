#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include "ui/shell/application.h"

// Window tests build real windows on Qt's offscreen platform, in the locale
// the program gives Qt.
int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    zondari::ItalianLocale italian;
    QApplication app(argc, argv);
    italian.applicationMade();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
