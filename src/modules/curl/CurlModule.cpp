#include "kit/base/CurlApi.h"

// curl.h wraps these in type-checking macros; the table needs the functions themselves.
#undef curl_easy_setopt
#undef curl_easy_getinfo

extern "C" __attribute__((visibility("default"))) void* tessellar_curl_api() {
    static const tessellar::CurlApi api{
        curl_global_init,  curl_easy_init,     curl_easy_cleanup, curl_easy_setopt,    curl_easy_perform,
        curl_easy_getinfo, curl_easy_strerror, curl_slist_append, curl_slist_free_all,
    };
    return const_cast<tessellar::CurlApi*>(&api);
}
