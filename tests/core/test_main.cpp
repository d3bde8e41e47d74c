#include <clocale>
#include <cstdio>

#include <gtest/gtest.h>

// The window toolkit sets the process locale from the environment at start-up; the core
// must not care. Run every test under a locale that writes and reads "1,5".
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
    const char* german = "German_Germany.1252";
#else
    const char* german = "de_DE.UTF-8";
#endif
    if (std::setlocale(LC_ALL, german) == nullptr) {
        std::fprintf(stderr, "locale %s is missing (localedef -i de_DE -f UTF-8 de_DE.UTF-8)\n", german);
        return 1;
    }
    return RUN_ALL_TESTS();
}
