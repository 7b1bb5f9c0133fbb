#pragma once

#include "kit/platform/SecretStore.h"

namespace tessellar {

// libsecret behind the secret module's boundary (modules/secret), loaded the first time a
// secret is read or written: most runs never touch the keyring, and libsecret brings
// libgcrypt with it.
class SecretServiceBackend : public SecretStore {
public:
    static constexpr const char* moduleFile = "libtessellar_secret.so";
    static constexpr const char* entryPoint = "tessellar_secret_backend";

    using DiagnosticSink = void (*)(const char* message);

    // Failures of the Secret Service go to `sink`; they name the operation, never the secret.
    virtual void routeDiagnostics(DiagnosticSink sink) = 0;

    // The loaded backend, its diagnostics in the log; null when the module can't be loaded.
    static SecretServiceBackend* get();
};

} // namespace tessellar
