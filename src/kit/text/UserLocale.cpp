#include "kit/text/UserLocale.h"

#include <cstdlib>
#include <string_view>

namespace tessellar::user_locale {
namespace {

std::string localeVariable() {
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return {};
}

} // namespace

icu::Locale locale() {
    std::string id = localeVariable();
    // Drop the encoding and modifier: "de_DE.UTF-8@euro" -> "de_DE".
    if (const auto cut = id.find_first_of(".@"); cut != std::string::npos)
        id.resize(cut);
    if (id.empty() || id == "C" || id == "POSIX")
        return icu::Locale("en_US");
    icu::Locale result(id.c_str());
    if (result.isBogus() || std::string_view(result.getLanguage()).empty())
        return icu::Locale("en_US");
    return result;
}

std::unique_ptr<icu::TimeZone> timeZone() {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
    if (!zone)
        zone.reset(icu::TimeZone::getGMT()->clone());
    return zone;
}

std::string regionCode() {
    const std::string region = locale().getCountry();
    return region.empty() ? "US" : region;
}

} // namespace tessellar::user_locale
