#include "platform/TestApplication.h"

#include <cstdlib>

// Fontconfig, which Qt uses for the window's text, keeps caches it never
// frees; the sanitizer build's leak check is not about them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "fotakle_platform_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *application;
}
