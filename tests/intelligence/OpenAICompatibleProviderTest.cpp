#include "kit/intelligence/OpenAICompatibleProvider.h"

#include "kit/intelligence/AIClassification.h"
#include "kit/model/TessellarError.h"
#include "kit/suggest/FilenameGenerator.h"
#include "support/ActionCases.h"
#include "support/Fixtures.h"
#include "support/ScriptedHttpServer.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <thread>

namespace tessellar {
namespace {

using nlohmann::json;
using Recovery = TessellarError::Recovery;
using testing::chatReply;
using testing::ScriptedHttpServer;
using testing::thrownError;

OpenAICompatibleProvider providerFor(const std::string& base, std::string key = "sk-test",
                                     double timeout = 5) {
    return OpenAICompatibleProvider({*Url::parse(base), "tiny-model", std::move(key), timeout});
}

TEST(OpenAICompatibleProvider, BuildsTheBody) {
    const json plain = json::parse(OpenAICompatibleProvider::requestBody("m", "sys", "usr", false));
    EXPECT_EQ(plain,
              json::parse(R"({"model":"m","temperature":0.1,"messages":[{"role":"system","content":"sys"},
                                   {"role":"user","content":"usr"}]})"));
    const json structured = json::parse(OpenAICompatibleProvider::requestBody("m", "s", "u", true));
    EXPECT_EQ(structured["response_format"], json::parse(R"({"type":"json_object"})"));
    EXPECT_TRUE(providerFor("https://x.test/v1").sendsDataOffDevice());
}

TEST(OpenAICompatibleProvider, FixtureTable) {
    using testing::Row;
    using P = OpenAICompatibleProvider;
    const FilenameRequest request{"scan.pdf", "Invoice from ACME Corp", ContentType::invoice, {}};
    EXPECT_GE(testing::checkTable(
                  testing::fixture("tables/intelligence.tsv"),
                  {{"humanize", [](const Row& c) { return humanizedKey(c[1]); }},
                   {"firstObject",
                    [](const Row& c) {
                        const auto found = firstJSONObject(c[1]);
                        return found ? std::string(*found) : "-";
                    }},
                   {"retryAfter",
                    [](const Row& c) {
                        const auto seconds = P::retryAfterSeconds(std::string_view(c[1]));
                        return seconds ? std::to_string(*seconds) : "-";
                    }},
                   {"loopback", [](const Row& c) { return testing::shown(P::isLoopbackHost(c[1])); }},
                   {"endpoint", [](const Row& c) { return P::endpoint(*Url::parse(c[1])); }},
                   {"cleanedFilename", [&](const Row& c) { return P::cleanedFilename(c[1], request); }}}),
              31);
    EXPECT_EQ(P::retryAfterSeconds(std::nullopt), std::nullopt);
}

TEST(OpenAICompatibleProvider, RefusesInsecureBasesAndBlankKeysBeforeAnyRequest) {
    ScriptedHttpServer server;
    server.respond(200, chatReply("ok"));
    const auto remote = providerFor("http://192.0.2.1/v1");
    EXPECT_EQ(
        thrownError([&] { remote.testConnection(); }),
        TessellarError(std::string(OpenAICompatibleProvider::insecureBaseMessage), {Recovery::openSettings}));

    // Three spaces are no key; a remote https base then is not configured.
    const auto blank = providerFor("https://192.0.2.1/v1", "   ");
    EXPECT_FALSE(blank.isConfigured());
    EXPECT_EQ(thrownError([&] { blank.summarize("t", SummaryStyle::bullets); }),
              TessellarError::aiNotConfigured());
    EXPECT_TRUE(server.requests().empty());
}

TEST(OpenAICompatibleProvider, SendsTheWireFormatToALocalServer) {
    ScriptedHttpServer server;
    server.respond(200, chatReply("  {\"contentType\":\"invoice\",\"title\":\"ACME {bill}\"}\n"));
    const auto provider = providerFor(server.url("/v1/"), " sk-spaced ");
    EXPECT_EQ(provider.classify({"Invoice text", "bill.pdf", "application/pdf", ContentType::invoice}),
              (AIClassification{"invoice", "ACME {bill}", std::nullopt, 0.5, {}, {}}));

    // A local server without a key is usable; no Authorization header is sent then.
    const auto keyless = providerFor(server.url("/v1"), "");
    EXPECT_TRUE(keyless.isConfigured());
    keyless.testConnection();

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0]["method"], "POST");
    EXPECT_EQ(requests[0]["path"], "/v1/chat/completions");
    EXPECT_EQ(requests[0]["headers"]["Authorization"], "Bearer  sk-spaced ");
    EXPECT_EQ(requests[0]["headers"]["Content-Type"], "application/json");
    const json body = json::parse(requests[0]["body"].get<std::string>());
    EXPECT_EQ(body["model"], "tiny-model");
    EXPECT_EQ(body["messages"][1]["content"],
              "Filename: bill.pdf\nLocal guess: invoice\nContent:\nInvoice text");
    EXPECT_EQ(body["response_format"]["type"], "json_object");
    EXPECT_FALSE(requests[1]["headers"].contains("Authorization"));
    EXPECT_FALSE(json::parse(requests[1]["body"].get<std::string>()).contains("response_format"));
}

TEST(OpenAICompatibleProvider, MapsEveryStatusToItsText) {
    ScriptedHttpServer server;
    const auto provider = providerFor(server.url("/v1"));
    const auto statusFailure = [&](int status, json headers = json::object()) {
        server.respond(status, "{\"error\":\"x\"}", headers);
        return thrownError([&] { provider.testConnection(); });
    };
    // The texts themselves are checked with the errors; here, which status gives which error.
    EXPECT_EQ(statusFailure(401), TessellarError::aiKeyRejected());
    EXPECT_EQ(statusFailure(403), TessellarError::aiKeyLacksAccess());
    EXPECT_EQ(statusFailure(404), TessellarError::aiModelNotFound());
    EXPECT_EQ(statusFailure(429, {{"retry-after", "7"}}), TessellarError::aiRateLimited(7));
    EXPECT_EQ(statusFailure(429, {{"Retry-After", "1"}}), TessellarError::aiRateLimited(1));
    EXPECT_EQ(statusFailure(429, {{"Retry-After", "soon"}}), TessellarError::aiRateLimited(std::nullopt));
    EXPECT_EQ(statusFailure(500), TessellarError::aiUnavailable(500));
    EXPECT_EQ(statusFailure(503), TessellarError::aiUnavailable(503));
    EXPECT_EQ(statusFailure(418), TessellarError::aiUnexpectedStatus(418));
}

TEST(OpenAICompatibleProvider, MalformedRepliesGiveTheirTexts) {
    ScriptedHttpServer server;
    const auto provider = providerFor(server.url("/v1"));
    // Each row of the fixture table: a scripted response and whether it is unreadable or empty.
    const auto rows = testing::jsonFixture("intelligence-malformed-replies.json");
    ASSERT_GE(rows.size(), 9u);
    for (const auto& row : rows) {
        server.script(json::array({row["response"]}));
        EXPECT_EQ(thrownError([&] { provider.summarize("text", SummaryStyle::oneLine); }),
                  row["error"] == "empty" ? TessellarError::aiEmptyResponse()
                                          : TessellarError::aiUnreadableResponse())
            << row;
    }
}

TEST(OpenAICompatibleProvider, TransportFailuresGiveTheirTexts) {
    ScriptedHttpServer server;
    const auto fast = providerFor(server.url("/v1"), "sk", 1);
    server.script(json::array({{{"silent", true}}}));
    EXPECT_EQ(thrownError([&] { fast.testConnection(); }), TessellarError::aiTimedOut(1));

    server.script(json::array({{{"body", chatReply("a long enough reply to be cut")}, {"drop_after", 10}}}));
    EXPECT_EQ(thrownError([&] { fast.testConnection(); }), TessellarError::aiConnectionFailed());

    server.script(json::array({{{"status", 302}, {"headers", {{"Location", server.url("/elsewhere")}}}}}));
    EXPECT_EQ(thrownError([&] { fast.testConnection(); }), TessellarError::aiInsecureConnection());
    EXPECT_EQ(server.requests().size(), 3u); // the redirect was not followed

    // Nothing listens on port 9 of this machine.
    EXPECT_EQ(thrownError([&] { providerFor("http://127.0.0.1:9/v1").testConnection(); }),
              TessellarError::aiHostUnreachable());

    // A self-signed certificate is refused before anything is sent.
    ScriptedHttpServer tls(true);
    tls.respond(200, chatReply("ok"));
    const auto selfSigned = providerFor("https://localhost:" + std::to_string(tls.port()) + "/v1");
    EXPECT_EQ(thrownError([&] { selfSigned.testConnection(); }), TessellarError::aiInsecureConnection());
    EXPECT_TRUE(tls.requests().empty());
}

TEST(OpenAICompatibleProvider, StoppingCancelsAnExchangeInFlight) {
    ScriptedHttpServer server;
    server.script(json::array({{{"silent", true}}}));
    const auto provider = providerFor(server.url("/v1"), "sk", 60);
    std::stop_source source;
    std::thread canceller([&] {
        while (server.requests().empty())
            std::this_thread::yield();
        source.request_stop();
    });
    EXPECT_THROW(provider.summarize("t", SummaryStyle::bullets, source.get_token()), Cancelled);
    canceller.join();

    std::stop_source already;
    already.request_stop();
    EXPECT_THROW(provider.testConnection(already.get_token()), Cancelled);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(OpenAICompatibleProvider, CleansSmartFilenameReplies) {
    const FilenameRequest request{"scan.pdf", "Invoice from ACME Corp", ContentType::invoice, {}};
    using P = OpenAICompatibleProvider;
    EXPECT_EQ(P::cleanedFilename("///", request), FilenameGenerator::suggestion(request).filename);

    ScriptedHttpServer server;
    server.respond(200, chatReply("docs/acme-bill.txt"));
    EXPECT_EQ(providerFor(server.url("/v1")).smartFilename(request), "acme-bill.pdf");
}

} // namespace
} // namespace tessellar
