#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tessellar::testing {

// Sets an environment variable (TZ, LC_ALL …) for the life of the object, then restores it,
// so a test can run under another zone or locale than the one CTest pins.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str()))
            previous_ = old;
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (previous_)
            ::setenv(name_.c_str(), previous_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// The zone and locale the tests are written for, whatever the shell says.
struct PinnedZoneAndLocale {
    ScopedEnvironment zone{"TZ", "America/New_York"};
    ScopedEnvironment all{"LC_ALL", ""};
    ScopedEnvironment time{"LC_TIME", ""};
    ScopedEnvironment lang{"LANG", "en_US.UTF-8"};
};

} // namespace tessellar::testing
