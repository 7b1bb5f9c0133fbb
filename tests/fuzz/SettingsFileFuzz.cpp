// Any bytes as a hand-edited settings file: parsing is total, and what was read is written back
// and read again unchanged.
#include "kit/storage/SettingsFileFormat.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace tessellar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto values = settings_file::parse(text);
    for (const auto& [key, value] : values)
        if (!settings_file::isValidKey(key))
            __builtin_trap();
    if (settings_file::parse(settings_file::serialize(values)) != values)
        __builtin_trap();
    return 0;
}
