#include "kit/actions/files/SafeFileMove.h"

#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;

void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
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

// The next free name is taken, past the hundredth clash, and nothing is ever replaced.
TEST(SafeFileMove, TakesTheNextFreeNamePastTheHundredthClash) {
    TempDir source, target;
    write(target / "a.txt", "0");
    for (int number = 2; number <= 120; ++number)
        write(target / ("a-" + std::to_string(number) + ".txt"), std::to_string(number));
    write(source / "a.txt", "new");

    const fs::path moved = SafeFileMove::moveInto(source / "a.txt", target.path(), "a.txt");

    EXPECT_EQ(moved, target / "a-121.txt");
    EXPECT_FALSE(fs::exists(source / "a.txt"));
    EXPECT_EQ(readFile(target / "a.txt"), "0");
    EXPECT_EQ(readFile(target / "a-2.txt"), "2");
    EXPECT_EQ(readFile(target / "a-99.txt"), "99");
    EXPECT_EQ(readFile(moved), "new");
}

// Names that leave the folder are refused; any failure leaves the file where it was.
TEST(SafeFileMove, RefusalsAndFailuresLeaveTheFileInPlace) {
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
    EXPECT_THROW(SafeFileMove::moveInto(source / "a.txt", target / "gone", "a.txt"), std::system_error);
    EXPECT_THROW(SafeFileMove::moveInto(source / "missing.txt", target.path(), "missing.txt"),
                 std::system_error);
    if (::geteuid() != 0) {
        fs::permissions(target.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(SafeFileMove::moveInto(source / "a.txt", target.path(), "a.txt"), std::system_error);
        fs::permissions(target.path(), fs::perms::owner_all);
    }
    EXPECT_EQ(readFile(source / "a.txt"), "keep");
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
    EXPECT_EQ(readFile(moved), big);
    EXPECT_EQ(readFile(target / "big.bin"), "already here");
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
        EXPECT_EQ(readFile(folder / "c.txt"), "original");
        EXPECT_EQ(namesIn(target.path()), (std::vector<std::string>{"big-2.bin", "big.bin"}));
    }
    fs::remove_all(folder);
}

// Eight threads move a thousand files sharing ten names into one folder.
TEST(SafeFileMove, EightThreadsMovingClashingNamesLoseNothing) {
    constexpr std::size_t files = 1000;
    TempDir source, target;
    std::vector<fs::path> paths;
    for (std::size_t index = 0; index < files; ++index) {
        fs::create_directory(source / std::to_string(index));
        paths.push_back(source / std::to_string(index) / ("scan-" + std::to_string(index % 10) + ".pdf"));
        write(paths.back(), std::to_string(index));
    }
    std::atomic<std::size_t> next{0};
    std::atomic<int> failures{0};
    {
        std::vector<std::jthread> workers;
        for (int worker = 0; worker < 8; ++worker)
            workers.emplace_back([&] {
                for (std::size_t index = next++; index < files; index = next++)
                    try {
                        SafeFileMove::moveInto(paths[index], target.path(), paths[index].filename().string());
                    } catch (const std::system_error&) {
                        ++failures;
                    }
            });
    }
    EXPECT_EQ(failures.load(), 0);
    const auto names = namesIn(target.path());
    std::set<std::string> contents;
    for (const auto& name : names)
        contents.insert(readFile(target / name));
    EXPECT_EQ(names.size(), files);
    EXPECT_EQ(contents.size(), files);
    for (std::size_t index = 0; index < files; ++index) {
        EXPECT_TRUE(contents.contains(std::to_string(index))) << index;
        EXPECT_FALSE(fs::exists(paths[index]));
    }
}

} // namespace
} // namespace tessellar
