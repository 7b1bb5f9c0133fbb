#pragma once

#include <curl/curl.h>

namespace tessellar {

// The libcurl functions the kit calls, from the network module (modules/curl), so libcurl and
// the TLS, Kerberos and LDAP libraries behind it load only when a link is read or something
// goes on the network.
struct CurlApi {
    static constexpr const char* moduleFile = "libtessellar_curl.so";
    static constexpr const char* entryPoint = "tessellar_curl_api";

    CURLcode (*global_init)(long flags);
    CURL* (*easy_init)();
    void (*easy_cleanup)(CURL* handle);
    CURLcode (*easy_setopt)(CURL* handle, CURLoption option, ...);
    CURLcode (*easy_perform)(CURL* handle);
    CURLcode (*easy_getinfo)(CURL* handle, CURLINFO info, ...);
    const char* (*easy_strerror)(CURLcode code);
    curl_slist* (*slist_append)(curl_slist* list, const char* line);
    void (*slist_free_all)(curl_slist* list);

    // The loaded functions, with curl_global_init done once; nullptr when the module can't be
    // loaded (logged in `category`).
    static const CurlApi* get();
};

} // namespace tessellar
