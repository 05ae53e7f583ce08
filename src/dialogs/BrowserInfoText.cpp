// The info line of a browser row: the size and the date of the file.
#include <cinttypes>
#include <cstdio>
#include <ctime>

#include "dialogs/OpenBrowser.h"

std::string BrowserSizeText(uint64_t size) {
    char text[32];
    // The whole 64-bit size: files of 4 GB and more show their true size.
    if (size >= 1024) {
        std::snprintf(text, sizeof text, "%" PRIu64 "K", size / 1024);
    } else {
        std::snprintf(text, sizeof text, "%" PRIu64 "B", size);
    }
    return text;
}

std::string BrowserDateText(std::time_t written) {
    struct tm local {};
    if (localtime_r(&written, &local) == nullptr) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}
