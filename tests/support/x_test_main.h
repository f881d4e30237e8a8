#pragma once

#include <QTest>

#include <cstdio>

// The main of a test on the X server that ./test starts (Xvfb): the program under test shows
// its windows there through Qt's xcb platform, and refuses to run without it.
#define WARMTEGLOED_X_TEST_MAIN(TestClass, ApplicationClass)                                                 \
    int main(int argc, char *argv[])                                                                         \
    {                                                                                                        \
        const QByteArray display = qgetenv("WARMTEGLOED_TEST_DISPLAY");                                      \
        if (display.isEmpty()) {                                                                             \
            std::fputs("WARMTEGLOED_TEST_DISPLAY is not set: run the tests through ./test (Xvfb)\n",         \
                       stderr);                                                                              \
            return 1;                                                                                        \
        }                                                                                                    \
        qputenv("DISPLAY", display);                                                                         \
        qputenv("QT_QPA_PLATFORM", "xcb");                                                                   \
        ApplicationClass application(argc, argv);                                                            \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
