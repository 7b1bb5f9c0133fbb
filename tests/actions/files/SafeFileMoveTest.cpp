#include "kit/actions/files/SafeFileMove.h"

#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::ranges::sort(names);
    return names;
}

TEST(SafeFileMove, NamesAlternativesBeforeTheExtension) {
    EXPECT_EQ(SafeFileMove::alternativeName("report.pdf", 1), "report.pdf");
    EXPECT_EQ(SafeFileMove::alternativeName("report.pdf", 2), "report-2.pdf");
    EXPECT_EQ(SafeFileMove::alternativeName("archive.tar.gz", 3), "archive.tar-3.gz");
    EXPECT_EQ(SafeFileMove::alternativeName("README", 150), "README-150");
    EXPECT_EQ(SafeFileMove::alternativeName(".profile", 2), ".profile-2");
}

TEST(SafeFileMove, TakesTheNextFreeNameAndNeverReplaces) {
    TempDir source, target;
    write(target / "report.pdf", "first");
    write(target / "report-2.pdf", "second");
    write(source / "report.pdf", "third");

    const fs::path moved = SafeFileMove::moveInto(source / "report.pdf", target.path(), "report.pdf");

    EXPECT_EQ(moved, target / "report-3.pdf");
    EXPECT_FALSE(fs::exists(source / "report.pdf"));
    EXPECT_EQ(read(target / "report.pdf"), "first");
    EXPECT_EQ(read(target / "report-2.pdf"), "second");
    EXPECT_EQ(read(moved), "third");
}

TEST(SafeFileMove, GoesPastTheHundredthClash) {
    TempDir source, target;
    write(target / "a.txt", "0");
    for (int number = 2; number <= 120; ++number)
        write(target / ("a-" + std::to_string(number) + ".txt"), std::to_string(number));
    write(source / "a.txt", "new");

    const fs::path moved = SafeFileMove::moveInto(source / "a.txt", target.path(), "a.txt");

    EXPECT_EQ(moved, target / "a-121.txt");
    EXPECT_EQ(read(target / "a-99.txt"), "99");
    EXPECT_EQ(read(moved), "new");
}

TEST(SafeFileMove, RefusesNamesThatLeaveTheFolder) {
    TempDir source, target;
    write(source / "a.txt", "keep");
    for (const std::string& name : {std::string("../a.txt"), std::string("x/y.txt"), std::string("a\0b", 3),
                                    std::string(), std::string(".."), std::string(".")}) {
        try {
            SafeFileMove::moveInto(source / "a.txt", target.path(), name);
            ADD_FAILURE() << "moved as " << name;
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), std::errc::invalid_argument);
        }
    }
    EXPECT_EQ(read(source / "a.txt"), "keep");
    EXPECT_TRUE(namesIn(target.path()).empty());
}

TEST(SafeFileMove, FailuresLeaveTheFileInPlace) {
    TempDir source, target;
    write(source / "a.txt", "keep");

    EXPECT_THROW(SafeFileMove::moveInto(source / "a.txt", target / "gone", "a.txt"), std::system_error);
    EXPECT_THROW(SafeFileMove::moveInto(source / "missing.txt", target.path(), "missing.txt"),
                 std::system_error);
    if (::geteuid() != 0) {
        fs::permissions(target.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(SafeFileMove::moveInto(source / "a.txt", target.path(), "a.txt"), std::system_error);
        fs::permissions(target.path(), fs::perms::owner_all);
    }
    EXPECT_EQ(read(source / "a.txt"), "keep");
    EXPECT_TRUE(namesIn(target.path()).empty());
}

// A folder on another file system than the temporary folder, or empty when there is none.
fs::path otherFileSystem(const fs::path& near) {
    struct stat here {};
    struct stat there {};
    if (::stat(near.c_str(), &here) != 0 || ::stat("/dev/shm", &there) != 0 || here.st_dev == there.st_dev)
        return {};
    return "/dev/shm";
}

TEST(SafeFileMove, CopiesAcrossFileSystemsThenRemovesTheOriginal) {
    TempDir target;
    const fs::path shm = otherFileSystem(target.path());
    if (shm.empty())
        GTEST_SKIP() << "/dev/shm is on the same file system as " << target.path();
    const fs::path folder = shm / ("tessellar-move-test-" + std::to_string(::getpid()));
    fs::create_directory(folder);
    std::string big(300'000, 'x');
    for (std::size_t i = 0; i < big.size(); i += 7)
        big[i] = static_cast<char>('a' + i % 26);
    write(folder / "big.bin", big);
    ::chmod((folder / "big.bin").c_str(), 0640);
    write(target / "big.bin", "already here");

    const fs::path moved = SafeFileMove::moveInto(folder / "big.bin", target.path(), "big.bin");

    EXPECT_EQ(moved, target / "big-2.bin");
    EXPECT_EQ(read(moved), big);
    EXPECT_EQ(read(target / "big.bin"), "already here");
    EXPECT_EQ(fs::status(moved).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(fs::exists(folder / "big.bin"));
    EXPECT_EQ(namesIn(target.path()), (std::vector<std::string>{"big-2.bin", "big.bin"}));

    // A failed cross-device move keeps the original and leaves no hidden copy behind.
    write(folder / "c.txt", "original");
    if (::geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(SafeFileMove::moveInto(folder / "c.txt", target.path(), "c.txt"), std::system_error);
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(read(folder / "c.txt"), "original");
        EXPECT_EQ(namesIn(target.path()), (std::vector<std::string>{"big-2.bin", "big.bin"}));
    }
    fs::remove_all(folder);
}

TEST(SafeFileMove, EightThreadsMovingClashingNamesLoseNothing) {
    constexpr int threads = 8;
    constexpr int files = 1000;
    TempDir source, target;
    std::vector<fs::path> paths;
    for (int index = 0; index < files; ++index) {
        const fs::path folder = source / std::to_string(index);
        fs::create_directory(folder);
        // Ten names shared by a hundred files each.
        paths.push_back(folder / ("scan-" + std::to_string(index % 10) + ".pdf"));
        write(paths.back(), "content of file " + std::to_string(index));
    }

    std::atomic<int> next{0};
    std::atomic<int> failures{0};
    std::vector<std::jthread> workers;
    for (int worker = 0; worker < threads; ++worker)
        workers.emplace_back([&] {
            for (int index = next++; index < files; index = next++) {
                try {
                    SafeFileMove::moveInto(paths[static_cast<std::size_t>(index)], target.path(),
                                           paths[static_cast<std::size_t>(index)].filename().string());
                } catch (const std::system_error&) {
                    ++failures;
                }
            }
        });
    workers.clear();

    EXPECT_EQ(failures.load(), 0);
    std::multiset<std::string> contents;
    for (const auto& name : namesIn(target.path()))
        contents.insert(read(target / name));
    EXPECT_EQ(contents.size(), static_cast<std::size_t>(files));
    for (int index = 0; index < files; ++index) {
        EXPECT_EQ(contents.count("content of file " + std::to_string(index)), 1u) << index;
        EXPECT_FALSE(fs::exists(paths[static_cast<std::size_t>(index)]));
    }
}

} // namespace
} // namespace tessellar
