// Any bytes as a hand-edited settings file: parsing is total, and what was read is written back
// and read again unchanged.
#include "FuzzInput.h"
#include "kit/storage/SettingsFileFormat.h"

using namespace tessellar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto values = settings_file::parse(fuzz::text(data, size));
    for (const auto& [key, value] : values)
        fuzz::require(settings_file::isValidKey(key));
    fuzz::require(settings_file::parse(settings_file::serialize(values)) == values);
    return 0;
}
