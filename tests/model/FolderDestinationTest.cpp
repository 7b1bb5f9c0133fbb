#include "kit/model/FolderDestination.h"

#include "kit/model/InboxItemJSON.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

TEST(FolderDestination, DefaultsAreFourFoldersUnderHomeWithFreshIds) {
    const auto defaults = FolderDestination::defaults("/home/ana");
    ASSERT_EQ(defaults.size(), 4u);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"Finance", "/home/ana/Documents/Finance"},
        {"Receipts", "/home/ana/Documents/Receipts"},
        {"Work", "/home/ana/Documents/Work"},
        {"Screenshots", "/home/ana/Pictures/Screenshots"}};
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        EXPECT_EQ(defaults[i].name, expected[i].first);
        EXPECT_EQ(defaults[i].path, expected[i].second);
        EXPECT_FALSE(defaults[i].bookmark);
    }
    EXPECT_NE(defaults[0].id, defaults[1].id);
    EXPECT_NE(FolderDestination::defaults("/home/ana")[0].id, defaults[0].id);
}

TEST(FolderDestination, EncodesWithoutBookmarkAsIdNameAndPathOnly) {
    const FolderDestination d{*Uuid::parse("6F9619FF-8B86-D011-B42D-00C04FC964FF"), "Work", "/home/ana/Work",
                              std::nullopt};
    const nlohmann::json j = d;
    EXPECT_EQ(j.dump(),
              R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","name":"Work","path":"/home/ana/Work"})");
    EXPECT_EQ(j.get<FolderDestination>(), d);
}

TEST(FolderDestination, BookmarkIsBase64AndRoundTrips) {
    for (const std::vector<std::uint8_t>& bytes :
         {std::vector<std::uint8_t>{}, {'M'}, {'M', 'a'}, {'M', 'a', 'n'}, {0x00, 0xFF, 0xFE, 0x7F}}) {
        const FolderDestination d{Uuid::random(), "Tax", "/t", bytes};
        const nlohmann::json j = d;
        EXPECT_EQ(j.get<FolderDestination>(), d);
    }
    const nlohmann::json binary =
        FolderDestination{Uuid::random(), "A", "/a", std::vector<std::uint8_t>{0xFB, 0xFF, 0xBF}};
    EXPECT_EQ(binary["bookmark"], "+/+/");
}

TEST(FolderDestination, DecodingRejectsMissingOrMistypedKeys) {
    const auto decode = [](const char* text) { return nlohmann::json::parse(text).get<FolderDestination>(); };
    const auto ok =
        decode(R"({"path":"/p","name":"N","id":"6f9619ff-8b86-d011-b42d-00c04fc964ff","extra":1})");
    EXPECT_EQ(ok.id.string(), "6F9619FF-8B86-D011-B42D-00C04FC964FF");
    EXPECT_FALSE(ok.bookmark);
    EXPECT_FALSE(
        decode(R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","name":"N","path":"/p","bookmark":null})")
            .bookmark);
    const std::string id = R"("id":"6F9619FF-8B86-D011-B42D-00C04FC964FF")";
    for (const std::string& bad : std::vector<std::string>{
             std::string(R"({"name":"N","path":"/p"})"), R"({"id":"nope","name":"N","path":"/p"})",
             "{" + id + R"(,"name":3,"path":"/p"})", "{" + id + R"(,"name":"N"})",
             "{" + id + R"(,"name":"N","path":"/p","bookmark":"TW=E"})",
             "{" + id + R"(,"name":"N","path":"/p","bookmark":"TWF="})", std::string("[]")})
        EXPECT_THROW(decode(bad.c_str()), DecodingError) << bad;
}

} // namespace
} // namespace tessellar
