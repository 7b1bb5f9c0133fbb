// Two Tessellar processes (the app and the CLI) write one history file at the same time.
#include "kit/storage/SQLiteHistoryStore.h"
#include "support/Items.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace tessellar {
namespace {

constexpr int processCount = 2;
constexpr int itemsPerProcess = 150;

// Saves this process's items into `path` once `go` is readable; the exit status says how it went.
[[noreturn]] void writer(const std::string& path, int process, int go) {
    int status = 0;
    try {
        SQLiteHistoryStore store(path);
        char byte = 0;
        if (read(go, &byte, 1) < 0)
            _exit(3);
        for (int i = 0; i < itemsPerProcess; ++i) {
            auto item = testing::makeItem("p" + std::to_string(process) + "-" + std::to_string(i),
                                          1'700'000'000.0 + process * itemsPerProcess + i);
            item.originalText =
                std::string(2'000, static_cast<char>('a' + i % 26)); // pages fill, the log grows
            store.save(item);
        }
    } catch (...) {
        status = 2;
    }
    _exit(status);
}

TEST(SQLiteHistoryStoreProcesses, TwoProcessesSavingAtOnceLoseNothing) {
    testing::TempDir dir;
    const std::string path = (dir / "history.sqlite").string();
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    std::vector<pid_t> children;
    for (int process = 0; process < processCount; ++process) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(pipeEnds[1]);
            writer(path, process, pipeEnds[0]);
        }
        children.push_back(pid);
    }
    close(pipeEnds[0]);
    close(pipeEnds[1]); // both writers start together
    for (const pid_t pid : children) {
        int status = -1;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
    }

    SQLiteHistoryStore store(path);
    const std::vector<InboxItem> all = store.recent(10'000);
    ASSERT_EQ(all.size(), static_cast<std::size_t>(processCount * itemsPerProcess));
    std::set<std::string> seen;
    for (const InboxItem& item : all) {
        EXPECT_TRUE(seen.insert(item.title).second) << item.title << " twice";
        EXPECT_EQ(store.item(item.id), item);
        EXPECT_EQ(item.originalText->size(), 2'000u);
    }
}

} // namespace
} // namespace tessellar
