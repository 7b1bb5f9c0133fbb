#pragma once

#include "kit/base/Url.h"
#include "kit/model/FolderDestination.h"
#include "kit/model/InboxItem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessellar {

struct ActionPreview;

// How an action reaches the user. Actions call it from worker threads; the application's
// implementation hands each call to the GUI thread and blocks the worker until the user
// answers, so every operation here is a plain blocking call.
class ActionHost {
public:
    virtual ~ActionHost() = default;

    // Shows the preview and waits: the edited value or the chosen option's value; absent
    // when the user cancelled.
    virtual std::optional<std::string> confirm(const ActionPreview& preview) = 0;
    // Shows the in-app preview of the file.
    virtual void presentQuickLook(const Url& fileURL) = 0;
    // Shows a text result (a decoded token, a summary …) as the result of `sourceItem`.
    virtual void presentResult(const std::string& title, const std::string& body,
                               const InboxItem& sourceItem) = 0;
    // One line of text from the user; absent when cancelled.
    virtual std::optional<std::string> askForText(const std::string& prompt,
                                                  const std::string& placeholder) = 0;
    // Lets the user pick the folder for the destination `named`, stores it in the preferences
    // and returns it; absent when cancelled.
    virtual std::optional<FolderDestination> chooseFolder(const std::string& named) = 0;
    // Access granted for the folder (remembered, or asked for with `reason`); absent when declined.
    virtual std::optional<std::vector<std::uint8_t>> accessBookmark(const Url& folderURL,
                                                                    const std::string& reason) = 0;
    virtual void openSettings() = 0;
    // Shows (text present) or clears (absent) the progress line of a long action.
    virtual void reportProgress(const std::optional<std::string>& text) = 0;
    // Asks for consent to send the content described by `summary` to the provider.
    virtual bool confirmSendingOffDevice(const std::string& summary, const std::string& providerName) = 0;
};

} // namespace tessellar
