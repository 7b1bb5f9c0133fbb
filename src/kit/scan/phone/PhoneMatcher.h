#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessellar {

// libphonenumber behind the phone module's boundary (modules/phone): valid numbers written in
// one short window of text, for a region code such as "US".
class PhoneMatcher {
public:
    struct Found {
        std::size_t start = 0; // byte offset in the window
        std::string raw;       // the number as written
        bool operator==(const Found&) const = default;
    };

    static constexpr const char* moduleFile = "libtessellar_phone.so";
    static constexpr const char* entryPoint = "tessellar_phone_matcher";

    virtual std::vector<Found> matches(const std::string& window, const std::string& region) const = 0;

protected:
    ~PhoneMatcher() = default;
};

} // namespace tessellar
