#include "logos/logo_list.h"

#include <gtest/gtest.h>

#include <thread>

namespace stampa {
namespace {

void AppendNamed(CLogoList& list, const std::string& name, std::uint32_t size = 0) {
    ASSERT_EQ(list.Append(list.Length(), name, "/p/" + name, "/c/" + name, size, 10, 20, 1), 1);
}

TEST(LogoList, AppendChecksTheNumberAgainstTheLength) {
    CLogoList list;
    EXPECT_EQ(list.Append(1, "a", "p", "c", 0, 0, 0, 0), 0);
    EXPECT_EQ(list.Length(), 0);
    EXPECT_EQ(list.Append(-1, "a", "p", "c", 0, 0, 0, 0), 0);
    EXPECT_EQ(list.Append(0, "a", "p", "c", 0, 0, 0, 0), 1);
    EXPECT_EQ(list.Append(1, "b", "p", "c", 0, 0, 0, 0), 1);
    // The number is stored, never used as the insertion position.
    EXPECT_EQ(list.Append(0, "c", "p", "c", 0, 0, 0, 0), 1);
    EXPECT_EQ(list.GetName(2), "c");
    EXPECT_EQ(list.Append(4, "d", "p", "c", 0, 0, 0, 0), 0);
    EXPECT_EQ(list.Length(), 3);
}

TEST(LogoList, RemoveAtMovesLaterEntriesDownWithAllTheirFields) {
    CLogoList list;
    AppendNamed(list, "one");
    AppendNamed(list, "two");
    ASSERT_EQ(list.Append(2, "three", "/p/3", "/c/3", 300, 33, 44, 3), 1);
    EXPECT_EQ(list.RemoveAt(1), 1);
    EXPECT_EQ(list.Length(), 2);
    EXPECT_EQ(list.GetName(1), "three");
    EXPECT_EQ(list.GetPath(1), "/p/3");
    EXPECT_EQ(list.GetConvertedPath(1), "/c/3");
    EXPECT_EQ(list.GetSize(1), 300u);
    EXPECT_EQ(list.GetWidth(1), 33u);
    EXPECT_EQ(list.GetHeight(1), 44u);
    EXPECT_EQ(list.GetMode(1), 3);
    EXPECT_EQ(list.RemoveAt(2), 0);
    EXPECT_EQ(list.RemoveAt(-1), 0);
    EXPECT_EQ(list.Length(), 2);
}

TEST(LogoList, RemoveAllThenAppendShowsOnlyTheNewValues) {
    CLogoList list;
    AppendNamed(list, "old");
    AppendNamed(list, "older");
    EXPECT_EQ(list.RemoveAll(), 1);
    ASSERT_EQ(list.Append(0, "new", "np", "nc", 7, 8, 9, -1), 1);
    EXPECT_EQ(list.GetName(0), "new");
    EXPECT_EQ(list.GetPath(0), "np");
    EXPECT_EQ(list.GetConvertedPath(0), "nc");
    EXPECT_EQ(list.GetSize(0), 7u);
    EXPECT_EQ(list.GetWidth(0), 8u);
    EXPECT_EQ(list.GetHeight(0), 9u);
    EXPECT_EQ(list.GetMode(0), -1);
    EXPECT_EQ(list.Length(), 1);
}

TEST(LogoList, OutOfRangeReadsGiveZeroAndWritesChangeNothing) {
    CLogoList list;
    AppendNamed(list, "only", 40);
    EXPECT_EQ(list.GetName(-1), "0");
    EXPECT_EQ(list.GetName(1), "0");
    EXPECT_EQ(list.GetPath(1), "0");
    EXPECT_EQ(list.GetConvertedPath(1), "0");
    EXPECT_EQ(list.GetSize(1), 0u);
    EXPECT_EQ(list.GetMode(-5), 0);
    EXPECT_EQ(list.SetWidth(1, 99), 0);
    EXPECT_EQ(list.SetConvertedPath(-1, "x"), 0);
    EXPECT_EQ(list.SetWidth(0, 99), 1);
    EXPECT_EQ(list.GetWidth(0), 99u);
    EXPECT_EQ(list.Length(), 1);
}

TEST(LogoList, CountStopsAtTheFirstEmptyName) {
    CLogoList list;
    EXPECT_EQ(list.Count(), 0);
    AppendNamed(list, "a");
    ASSERT_EQ(list.Append(1, "", "p", "c", 0, 0, 0, 0), 1);
    AppendNamed(list, "c");
    EXPECT_EQ(list.Length(), 3);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Entries().size(), 1u);
}

TEST(LogoList, CopyRenumbersAndTakesEveryField) {
    CLogoList source;
    CLogoList target;
    AppendNamed(target, "stale");
    ASSERT_EQ(source.Append(0, "a", "pa", "ca", 1, 2, 3, 2), 1);
    ASSERT_EQ(source.Append(0, "b", "pb", "cb", 4, 5, 6, 3), 1);
    CopyLogoList(source, target);
    ASSERT_EQ(target.Length(), 2);
    const auto entries = target.Entries();
    EXPECT_EQ(entries[0].number, 0);
    EXPECT_EQ(entries[1].number, 1);
    EXPECT_EQ(entries[1].convertedPath, "cb");
    EXPECT_EQ(entries[1].mode, 3);
    EXPECT_EQ(entries[1].height, 6u);
}

// The download worker rewrites converted paths while the user-interface thread
// reads the list; with the list's own lock this is free of data races (run
// under ThreadSanitizer to see it).
TEST(LogoList, ConcurrentWritersAndReadersKeepTheListConsistent) {
    CLogoList list;
    for (int i = 0; i < 50; ++i)
        AppendNamed(list, "logo" + std::to_string(i));
    std::thread writer([&] {
        for (int round = 0; round < 200; ++round) {
            for (int i = 0; i < 50; ++i)
                list.SetConvertedPath(i, "conv" + std::to_string(round));
        }
    });
    std::thread reader([&] {
        for (int round = 0; round < 200; ++round) {
            for (const auto& e : list.Entries()) {
                const bool initial = e.convertedPath == "/c/" + e.name;
                ASSERT_TRUE(initial || e.convertedPath.rfind("conv", 0) == 0) << e.convertedPath;
            }
        }
    });
    writer.join();
    reader.join();
    EXPECT_EQ(list.GetConvertedPath(49), "conv199");
}

}  // namespace
}  // namespace stampa
