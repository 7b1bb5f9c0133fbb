#include "kit/text/ISO8601.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace tessellar::iso8601 {
namespace {

bool digits(std::string_view s, std::size_t at, std::size_t count, int& out) {
    if (at + count > s.size())
        return false;
    out = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

} // namespace

std::string format(Timestamp time) {
    using namespace std::chrono;
    const auto whole = static_cast<long long>(std::floor(time.unixSeconds));
    const sys_seconds tp{seconds{whole}};
    const auto day = floor<days>(tp);
    const year_month_day ymd{day};
    const hh_mm_ss hms{tp - day};
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<long long>(hms.hours().count()), static_cast<long long>(hms.minutes().count()),
                  static_cast<long long>(hms.seconds().count()));
    return buf;
}

std::optional<Timestamp> parse(std::string_view s) {
    using namespace std::chrono;
    int y, mo, d, h, mi, sec;
    if (!digits(s, 0, 4, y) || s.size() < 20 || s[4] != '-' || !digits(s, 5, 2, mo) || s[7] != '-' ||
        !digits(s, 8, 2, d) || (s[10] != 'T' && s[10] != 't') || !digits(s, 11, 2, h) || s[13] != ':' ||
        !digits(s, 14, 2, mi) || s[16] != ':' || !digits(s, 17, 2, sec))
        return std::nullopt;
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || h > 23 || mi > 59 || sec > 60)
        return std::nullopt;
    std::size_t i = 19;
    double fraction = 0;
    if (i < s.size() && s[i] == '.') {
        ++i;
        double scale = 0.1;
        const std::size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            fraction += (s[i] - '0') * scale;
            scale /= 10;
            ++i;
        }
        if (i == start)
            return std::nullopt;
    }
    int offsetSeconds = 0;
    if (i < s.size() && (s[i] == 'Z' || s[i] == 'z')) {
        ++i;
    } else if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        int oh, om;
        if (!digits(s, i + 1, 2, oh) || i + 3 >= s.size() || s[i + 3] != ':' || !digits(s, i + 4, 2, om) ||
            oh > 23 || om > 59)
            return std::nullopt;
        offsetSeconds = (oh * 3600 + om * 60) * (s[i] == '-' ? -1 : 1);
        i += 6;
    } else {
        return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;
    const auto dayStart = sys_days{ymd}.time_since_epoch();
    const double unix = static_cast<double>(duration_cast<seconds>(dayStart).count()) + h * 3600.0 +
                        mi * 60.0 + sec + fraction - offsetSeconds;
    return Timestamp::fromUnix(unix);
}

} // namespace tessellar::iso8601
