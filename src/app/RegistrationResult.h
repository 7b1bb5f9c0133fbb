#pragma once

#include <cstdint>

namespace tessellar::app {

// The outcome of registering the global shortcut.
struct RegistrationResult {
    enum class Kind { failed, registered, alreadyInUse };
    Kind kind = Kind::failed;
    std::int32_t status = 0; // only meaningful for failed

    static RegistrationResult registered() { return {Kind::registered, 0}; }
    static RegistrationResult alreadyInUse() { return {Kind::alreadyInUse, 0}; }
    static RegistrationResult failed(std::int32_t status) { return {Kind::failed, status}; }

    bool operator==(const RegistrationResult&) const = default;
};

} // namespace tessellar::app
