#pragma once
// Switches the process to a German locale (decimal comma) for one test and back. When the system
// lacks de_DE, it is compiled into a temporary folder with localedef; when that fails too, the
// locale stays as it was and Active() is false, so the test can skip with a note.

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define ZEVIK_GERMAN_LOCALE_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEVIK_GERMAN_LOCALE_LSAN 1
#endif
#endif
#ifdef ZEVIK_GERMAN_LOCALE_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace zevik::test {

// glibc keeps the locale path it parsed from LOCPATH for the life of the process; the leak checker
// is told not to count what the locale switches allocate.
class LocaleAllocations {
public:
#ifdef ZEVIK_GERMAN_LOCALE_LSAN
    LocaleAllocations() { __lsan_disable(); }
    ~LocaleAllocations() { __lsan_enable(); }
#else
    LocaleAllocations() = default;
#endif
    LocaleAllocations(const LocaleAllocations&) = delete;
    LocaleAllocations& operator=(const LocaleAllocations&) = delete;
};

class GermanLocale {
public:
    GermanLocale() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        previous_ = current != nullptr ? current : "C";
        if (Try()) return;
        folder_ = std::filesystem::temp_directory_path() / ("zevik-locale-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (folder_ / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) >= 0) {
            ::setenv("LOCPATH", folder_.c_str(), 1);
            Try();
        }
    }
    ~GermanLocale() {
        [[maybe_unused]] LocaleAllocations kept;
        std::setlocale(LC_ALL, previous_.c_str());
        std::locale::global(std::locale::classic());
        if (!folder_.empty()) {
            ::unsetenv("LOCPATH");
            std::error_code ec;
            std::filesystem::remove_all(folder_, ec);
        }
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    bool Active() const { return active_; }

private:
    bool Try() {
        [[maybe_unused]] LocaleAllocations kept;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                try {
                    std::locale::global(std::locale(name));
                } catch (const std::exception&) {
                    // The C library's locale is the one printf and strtod follow; enough for the test.
                }
                active_ = true;
                return true;
            }
        }
        return false;
    }

    std::string previous_;
    std::filesystem::path folder_;
    bool active_ = false;
};

}  // namespace zevik::test
