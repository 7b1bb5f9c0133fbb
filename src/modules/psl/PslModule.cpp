#include "kit/scan/link/PublicSuffixBackend.h"

#include <libpsl.h>
#include <memory>

namespace tessellar {
namespace {

struct ContextDeleter {
    void operator()(psl_ctx_t* context) const { psl_free(context); }
};

class PslBackend final : public PublicSuffixBackend {
public:
    bool isPublicSuffix(const std::string& name, bool icannOnly) const override {
        const psl_ctx_t* list = latest_ ? latest_.get() : psl_builtin();
        if (!list)
            return false;
        const int type = (icannOnly ? PSL_TYPE_ICANN : PSL_TYPE_ANY) | PSL_TYPE_NO_STAR_RULE;
        return psl_is_public_suffix2(list, name.c_str(), type) != 0;
    }

private:
    // The system list is newer than the one compiled into libpsl; loaded once, read-only after.
    std::unique_ptr<psl_ctx_t, ContextDeleter> latest_{psl_latest(nullptr)};
};

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_psl_backend() {
    static tessellar::PslBackend backend;
    return static_cast<tessellar::PublicSuffixBackend*>(&backend);
}
