#pragma once

#include <compare>
#include <functional>
#include <string>

namespace tessellar {

// The identifier of an action ("copy", "createReminder" …). In JSON it is the bare string.
struct ActionID {
    std::string rawValue;

    ActionID() = default;
    explicit ActionID(std::string raw) : rawValue(std::move(raw)) {}

    auto operator<=>(const ActionID&) const = default;

    // The built-in identifiers, each named as its raw string. Unknown strings are legal too.
    static const ActionID copy;
    static const ActionID revealInFinder;
    static const ActionID quickLook;
    static const ActionID smartRename;
    static const ActionID moveToFolder;
    static const ActionID askAI;
    static const ActionID summarize;
    static const ActionID openURL;
    static const ActionID copyURL;
    static const ActionID saveForLater;
    static const ActionID openInMaps;
    static const ActionID copyAddress;
    static const ActionID createReminder;
    static const ActionID createCalendarEvent;
    static const ActionID extractText;
    static const ActionID openFile;
    static const ActionID explainError;
    static const ActionID searchWeb;
    static const ActionID decodeJWT;
    static const ActionID formatJSON;
    static const ActionID generateSwiftModel;
    static const ActionID convertTimestamp;
    static const ActionID cleanStackTrace;
    static const ActionID openInAgent;
    static const ActionID copyExtractedText;
    static const ActionID describeImage;
};

inline const ActionID ActionID::copy{"copy"};
inline const ActionID ActionID::revealInFinder{"revealInFinder"};
inline const ActionID ActionID::quickLook{"quickLook"};
inline const ActionID ActionID::smartRename{"smartRename"};
inline const ActionID ActionID::moveToFolder{"moveToFolder"};
inline const ActionID ActionID::askAI{"askAI"};
inline const ActionID ActionID::summarize{"summarize"};
inline const ActionID ActionID::openURL{"openURL"};
inline const ActionID ActionID::copyURL{"copyURL"};
inline const ActionID ActionID::saveForLater{"saveForLater"};
inline const ActionID ActionID::openInMaps{"openInMaps"};
inline const ActionID ActionID::copyAddress{"copyAddress"};
inline const ActionID ActionID::createReminder{"createReminder"};
inline const ActionID ActionID::createCalendarEvent{"createCalendarEvent"};
inline const ActionID ActionID::extractText{"extractText"};
inline const ActionID ActionID::openFile{"openFile"};
inline const ActionID ActionID::explainError{"explainError"};
inline const ActionID ActionID::searchWeb{"searchWeb"};
inline const ActionID ActionID::decodeJWT{"decodeJWT"};
inline const ActionID ActionID::formatJSON{"formatJSON"};
inline const ActionID ActionID::generateSwiftModel{"generateSwiftModel"};
inline const ActionID ActionID::convertTimestamp{"convertTimestamp"};
inline const ActionID ActionID::cleanStackTrace{"cleanStackTrace"};
inline const ActionID ActionID::openInAgent{"openInAgent"};
inline const ActionID ActionID::copyExtractedText{"copyExtractedText"};
inline const ActionID ActionID::describeImage{"describeImage"};

} // namespace tessellar

template <> struct std::hash<tessellar::ActionID> {
    std::size_t operator()(const tessellar::ActionID& id) const noexcept {
        return std::hash<std::string>{}(id.rawValue);
    }
};
