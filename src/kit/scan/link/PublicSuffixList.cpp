#include "kit/scan/link/PublicSuffixList.h"

#include <libpsl.h>
#include <memory>
#include <string>

namespace tessellar {
namespace {

struct ContextDeleter {
    void operator()(psl_ctx_t* context) const { psl_free(context); }
};

// The system list is newer than the one compiled into libpsl; loaded once, read-only after.
const psl_ctx_t* context() {
    static const std::unique_ptr<psl_ctx_t, ContextDeleter> latest(psl_latest(nullptr));
    return latest ? latest.get() : psl_builtin();
}

} // namespace

bool PublicSuffixList::isKnownTopLevelDomain(std::string_view label) {
    const psl_ctx_t* list = context();
    if (!list || label.empty() || label.find('.') != std::string_view::npos)
        return false;
    const std::string name(label);
    return psl_is_public_suffix2(list, name.c_str(), PSL_TYPE_ANY | PSL_TYPE_NO_STAR_RULE) != 0;
}

bool PublicSuffixList::isPublicSuffix(std::string_view host) {
    const psl_ctx_t* list = context();
    if (!list || host.empty())
        return false;
    const std::string name(host);
    return psl_is_public_suffix2(list, name.c_str(), PSL_TYPE_ICANN | PSL_TYPE_NO_STAR_RULE) != 0;
}

} // namespace tessellar
