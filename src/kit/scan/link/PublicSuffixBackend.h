#pragma once

#include <string>

namespace tessellar {

// libpsl behind the suffix module's boundary (modules/psl), loaded the first time a link's
// domain is checked; libpsl brings libidn2 and libunistring with it.
class PublicSuffixBackend {
public:
    static constexpr const char* moduleFile = "libtessellar_psl.so";
    static constexpr const char* entryPoint = "tessellar_psl_backend";

    // Whether `name` (lower-case UTF-8) is a suffix on the list: any rule, or ICANN rules only.
    // Wildcard rules never match a name the list doesn't know.
    virtual bool isPublicSuffix(const std::string& name, bool icannOnly) const = 0;

    // The loaded backend; null when the module can't be loaded (logged once).
    static const PublicSuffixBackend* get();

protected:
    ~PublicSuffixBackend() = default;
};

} // namespace tessellar
