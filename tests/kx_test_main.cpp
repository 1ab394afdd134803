// Test entry: takes the locale from the environment, as the GUI does, so a run under a
// decimal-comma locale proves that no number conversion depends on it.
#include <clocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
