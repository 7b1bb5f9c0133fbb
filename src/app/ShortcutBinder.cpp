#include "app/ShortcutBinder.h"

namespace tessellar::app {

std::optional<std::string> ShortcutBinder::Outcome::failureMessage() const {
    switch (kind) {
    case Kind::failed:
        return "macOS refused that shortcut (error " + std::to_string(status) +
               "), so Tessellar kept the previous one. Try a different combination.";
    case Kind::bound:
        return std::nullopt;
    case Kind::needsModifier:
        return "That key on its own would be taken from every app. Add \u2318, \u2325 or \u2303 and press it "
               "again.";
    case Kind::alreadyInUse:
        return "Another app already owns that shortcut, so Tessellar kept the previous one. Try a different "
               "combination, or quit the app that has it.";
    }
    return std::nullopt;
}

ShortcutBinder::Outcome ShortcutBinder::outcomeOf(const RegistrationResult& result) {
    switch (result.kind) {
    case RegistrationResult::Kind::registered:
        return {Outcome::Kind::bound, 0};
    case RegistrationResult::Kind::alreadyInUse:
        return {Outcome::Kind::alreadyInUse, 0};
    case RegistrationResult::Kind::failed:
        break;
    }
    return {Outcome::Kind::failed, result.status};
}

ShortcutBinder::Outcome ShortcutBinder::apply(const Shortcut& shortcut) {
    if (!shortcut.hasRegisterableModifier())
        return {Outcome::Kind::needsModifier, 0};
    const auto previous = preferences_.shortcut();
    const auto first = outcomeOf(register_(shortcut));
    if (first.kind == Outcome::Kind::bound) {
        preferences_.setShortcut(shortcut);
        if (onBindingChanged_)
            onBindingChanged_(shortcut, first);
        return first;
    }
    // Registering drops the old grab first, so the previous shortcut is put back.
    const auto restored = outcomeOf(register_(previous));
    if (onBindingChanged_)
        onBindingChanged_(previous, restored);
    return first;
}

} // namespace tessellar::app
