#pragma once

#include "app/RegistrationResult.h"
#include "kit/storage/Preferences.h"

#include <functional>
#include <optional>
#include <string>

namespace tessellar::app {

// Changes the stored shortcut safely: the previous one stays in force when the new one
// cannot be registered.
class ShortcutBinder {
public:
    struct Outcome {
        enum class Kind { failed, bound, needsModifier, alreadyInUse };
        Kind kind = Kind::bound;
        std::int32_t status = 0; // for failed
        // The sentence to show under the recorder; none for bound.
        std::optional<std::string> failureMessage() const;
        bool operator==(const Outcome&) const = default;
    };
    using Shortcut = Preferences::Shortcut;
    using Register = std::function<RegistrationResult(const Shortcut&)>;
    using BindingChanged = std::function<void(const Shortcut&, const Outcome&)>;

    ShortcutBinder(Preferences& preferences, Register registerShortcut, BindingChanged onBindingChanged = {})
        : preferences_(preferences), register_(std::move(registerShortcut)),
          onBindingChanged_(std::move(onBindingChanged)) {}

    Outcome apply(const Shortcut& shortcut);

private:
    static Outcome outcomeOf(const RegistrationResult& result);

    Preferences& preferences_;
    Register register_;
    BindingChanged onBindingChanged_;
};

} // namespace tessellar::app
