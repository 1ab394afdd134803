// Test entry: takes the locale from the environment, as the GUI does, so a run under a
// decimal-comma locale proves that no number conversion depends on it. Settings and user
// data go to a private folder, so no test reads or changes the real user's files.
#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include "kx_test_support.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    kxtest::TTempDir home;
    const std::string config = (home / "config").string();
    const std::string system = (home / "system").string();
    const std::string data = (home / "data").string();
    setenv("KORVEX_CONFIG_DIR", config.c_str(), 1);
    setenv("KORVEX_SYSTEM_CONFIG_DIR", system.c_str(), 1);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
