#pragma once

#include "kit/base/Timestamp.h"

#include <cstdint>
#include <string>

namespace tessellar {

// Date and size formatters for facts, file names and inbox headers, in the user's locale
// and time zone (see UserLocale) unless a fixed format is named.
class Formatting {
public:
    static std::string dayAndTime(Timestamp date); // skeleton "MMMd jmm"
    static std::string time(Timestamp date);       // skeleton "jmm"
    // "MMMd" in the same calendar year as `reference`, else "MMMdyyyy".
    static std::string shortDate(Timestamp date, Timestamp reference);
    // "Today" / "Yesterday" (judged against Clock::now()), else "EEEEMMMd" in the reference's
    // year, else "MMMdyyyy".
    static std::string relativeDayHeader(Timestamp date, Timestamp reference);
    static std::string filenameMonth(Timestamp date); // "yyyy-MM", en_US_POSIX
    static std::string filenameDay(Timestamp date);   // "yyyy-MM-dd", en_US_POSIX
    // Decimal units, KB/MB/GB only: "245 KB", "3.1 MB", "1.2 GB".
    static std::string fileSize(std::int64_t bytes);
};

} // namespace tessellar
