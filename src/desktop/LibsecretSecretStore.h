#pragma once

#include "kit/platform/SecretStore.h"

namespace tessellar {

// Secrets through the desktop's Secret Service (GNOME Keyring, KWallet), one item per
// service and account attribute pair in the default collection. Every call is a
// synchronous D-Bus round trip that can wait for an unlock prompt: call it from worker
// threads only, never from the GUI thread. No secret is ever written anywhere else.
class LibsecretSecretStore : public SecretStore {
public:
    Lookup lookup(std::string_view service, std::string_view account) override;
    Status store(std::string_view service, std::string_view account, std::string_view secret) override;
    Status remove(std::string_view service, std::string_view account) override;
};

} // namespace tessellar
