// Entry of a GUI test: the program's application object, and settings and user data in a
// private folder so no test reads or changes the real user's files.
#pragma once

#include <QTemporaryDir>
#include <QtTest>

#include "app/u_application.h"

#define KX_GUI_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                            \
        QTemporaryDir home;                                                                      \
        qputenv("KORVEX_CONFIG_DIR", (home.path() + QStringLiteral("/config")).toUtf8());        \
        qputenv("KORVEX_SYSTEM_CONFIG_DIR", (home.path() + QStringLiteral("/system")).toUtf8()); \
        qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());              \
        qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/xdgconfig")).toUtf8());       \
        kx::TkxApplication app(argc, argv);                                                      \
        TestClass test;                                                                          \
        return QTest::qExec(&test, argc, argv);                                                  \
    }
