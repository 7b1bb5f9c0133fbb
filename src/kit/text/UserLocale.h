#pragma once

#include <memory>
#include <string>
#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace tessellar::user_locale {

// The user's formatting locale: LC_ALL, then LC_TIME, then LANG ("de_DE.UTF-8" -> de_DE).
// Unset, "C" or "POSIX" means en_US.
icu::Locale locale();

// The user's time zone: TZ when set, otherwise the system's.
std::unique_ptr<icu::TimeZone> timeZone();

// The locale's two-letter region ("US" when it names none).
std::string regionCode();

} // namespace tessellar::user_locale
