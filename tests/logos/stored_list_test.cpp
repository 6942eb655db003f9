#include "logos/stored_list.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

// A full disk is simulated with a POSIX file-size limit, which Windows lacks.
#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include "common/bytes.h"
#include "logos/gbk_text.h"
#include "logos/logo_store.h"
#include "support/temp_dir.h"

namespace stampa {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

class StoredListTest : public ::testing::Test {
  protected:
    LogoStore logos;

    // A FLASH logo as a download leaves it: converted path and mode set, which
    // the file does not keep.
    void AddFlashLogo(const std::string& name, std::uint32_t width, std::uint32_t height,
                      std::uint32_t size) {
        ASSERT_EQ(logos.FlashLogos.Append(logos.FlashLogos.Length(), name, "/logos/" + name,
                                          "/logos/conv-" + name, size, width, height, 3),
                  1);
    }

    TempDir dir;
    std::string file = dir.File("RP-820");
};

TEST_F(StoredListTest, WritesHeaderAndRecordsWithLineEndsExpanded) {
    AddFlashLogo("a.bmp", 10, 5, 20);  // width 10 = 0x0A: stored as 0D 0A
    AddFlashLogo("b.bmp", 13, 7, 28);  // width 13 = 0x0D: a lone 0D stays
    AddFlashLogo("c.bmp", 26, 3, 12);  // width 26 = 0x1A
    ASSERT_EQ(SaveLogoList(logos, file), 1);

    const auto bytes = ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), 796u * 4 + 1);  // one 0x0A in all the records
    EXPECT_EQ(ReadI32(&bytes[780]), 3);     // header count
    for (std::size_t i = 0; i < 796; ++i) {
        if (i < 780 || i >= 784) {
            ASSERT_EQ(bytes[i], 0) << "header byte " << i;
        }
    }
    const unsigned char* a = &bytes[796];
    EXPECT_EQ(ReadI32(a), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(a + 4)), "a.bmp");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(a + 260)), "/logos/a.bmp");
    EXPECT_EQ(a[520], 0);  // converted path not kept
    EXPECT_EQ(ReadU32(a + 780), 20u);
    const std::vector<unsigned char> width10(a + 784, a + 789);
    EXPECT_EQ(width10, (std::vector<unsigned char>{0x0D, 0x0A, 0, 0, 0}));
    EXPECT_EQ(ReadU32(a + 789), 5u);  // height, shifted by the extra byte
    EXPECT_EQ(ReadI32(a + 793), 0);   // mode not kept
    const unsigned char* b = &bytes[796 * 2 + 1];
    EXPECT_EQ(ReadI32(b), 1);
    EXPECT_EQ(ReadU32(b + 784), 13u);
    const unsigned char* c = &bytes[796 * 3 + 1];
    EXPECT_EQ(ReadI32(c), 2);
    EXPECT_EQ(ReadU32(c + 784), 26u);
}

TEST_F(StoredListTest, ReadsBackWhatItWroteIncludingTrickyBytes) {
    AddFlashLogo("a.bmp", 10, 10, 0x0A0D);  // 0D 0A inside a field: 0D 0D 0A on disk
    AddFlashLogo("b.bmp", 26, 13, 0x1A);
    AddFlashLogo("c.bmp", 13, 0x0D0A, 0x0A0A0A0A);
    ASSERT_EQ(SaveLogoList(logos, file), 1);
    ASSERT_EQ(LoadLogoList(logos, file), 1);
    const auto got = logos.StoredFlashLogos.Entries();
    const auto want = logos.FlashLogos.Entries();
    ASSERT_EQ(got.size(), 3u);
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].name, want[i].name);
        EXPECT_EQ(got[i].path, want[i].path);
        EXPECT_EQ(got[i].convertedPath, "");
        EXPECT_EQ(got[i].size, want[i].size);
        EXPECT_EQ(got[i].width, want[i].width);
        EXPECT_EQ(got[i].height, want[i].height);
        EXPECT_EQ(got[i].mode, 0);
    }
}

TEST_F(StoredListTest, TwelveLogosSurviveTheNumberTenRecord) {
    for (int i = 0; i < 12; ++i)
        AddFlashLogo("logo" + std::to_string(i) + ".bmp", 64, 32, 256);
    ASSERT_EQ(SaveLogoList(logos, file), 1);
    const auto bytes = ReadFileBytes(file);
    // Entry 10 starts after the header and ten records, none with a 0x0A.
    const std::vector<unsigned char> number10(&bytes[796 * 11], &bytes[796 * 11 + 5]);
    EXPECT_EQ(number10, (std::vector<unsigned char>{0x0D, 0x0A, 0, 0, 0}));
    ASSERT_EQ(LoadLogoList(logos, file), 1);
    ASSERT_EQ(logos.StoredFlashLogos.Count(), 12);
    EXPECT_EQ(logos.StoredFlashLogos.GetName(11), "logo11.bmp");
    EXPECT_EQ(logos.StoredFlashLogos.GetWidth(11), 64u);
}

TEST_F(StoredListTest, ChineseNamesAreStoredInTheCodePageAndComeBack) {
    AddFlashLogo("中文.bmp", 8, 8, 32);
    AddFlashLogo("标志 €.bmp", 8, 8, 32);  // the euro sign is not in GBK: GB18030 keeps it
    ASSERT_EQ(SaveLogoList(logos, file), 1);
    const auto bytes = ReadFileBytes(file);
    const std::vector<unsigned char> name(&bytes[796 + 4], &bytes[796 + 4 + 9]);
    EXPECT_EQ(name, (std::vector<unsigned char>{0xD6, 0xD0, 0xCE, 0xC4, '.', 'b', 'm', 'p', 0}));
    ASSERT_EQ(LoadLogoList(logos, file), 1);
    EXPECT_EQ(logos.StoredFlashLogos.GetName(0), "中文.bmp");
    EXPECT_EQ(logos.StoredFlashLogos.GetPath(0), "/logos/中文.bmp");
    EXPECT_EQ(logos.StoredFlashLogos.GetName(1), "标志 €.bmp");
}

TEST_F(StoredListTest, OverlongTextIsCutAtACharacterBoundaryAndKeepsItsZero) {
    std::string longName;
    for (int i = 0; i < 200; ++i)
        longName += "图";  // 2 bytes each on disk
    AddFlashLogo(longName, 8, 8, 32);
    ASSERT_EQ(SaveLogoList(logos, file), 1);
    const auto bytes = ReadFileBytes(file);
    EXPECT_EQ(bytes[796 + 4 + 254], 0);  // 127 characters, then the zero
    ASSERT_EQ(LoadLogoList(logos, file), 1);
    std::string want;
    for (int i = 0; i < 127; ++i)
        want += "图";
    EXPECT_EQ(logos.StoredFlashLogos.GetName(0), want);
    EXPECT_EQ(Gb18030FitLength(Utf8ToGb18030("a图"), 2), 1u);
}

TEST_F(StoredListTest, EmptyListLeavesTheFileUntouched) {
    WriteFileBytes(file, {1, 2, 3});
    EXPECT_EQ(SaveLogoList(logos, file), 0);
    EXPECT_EQ(ReadFileBytes(file), (std::vector<unsigned char>{1, 2, 3}));
}

#if !defined(_WIN32)
TEST_F(StoredListTest, FailedSaveKeepsTheOldFileExactly) {
    AddFlashLogo("old.bmp", 8, 8, 32);
    ASSERT_EQ(SaveLogoList(logos, file), 1);
    const auto before = ReadFileBytes(file);
    for (int i = 0; i < 5; ++i)
        AddFlashLogo("new" + std::to_string(i) + ".bmp", 8, 8, 32);

    // A file-size limit below the new file's size: the write fails as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 2000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = SaveLogoList(logos, file);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file left behind";
    EXPECT_EQ(SaveLogoList(logos, dir.File("no-such-folder/RP-820")), 0);
}
#endif

std::vector<unsigned char> Record(std::int32_t number, const std::string& name) {
    std::vector<unsigned char> r(796, 0);
    WriteI32(&r[0], number);
    std::copy(name.begin(), name.end(), r.begin() + 4);
    WriteU32(&r[784], 8);
    return r;
}

std::vector<unsigned char> FileWithCount(std::int32_t count, int records) {
    std::vector<unsigned char> bytes(796, 0);
    WriteI32(&bytes[780], count);
    for (int i = 0; i < records; ++i) {
        const auto r = Record(i, "r" + std::to_string(i));
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    return bytes;
}

TEST_F(StoredListTest, HeaderCountAgainstTheRecordsPresent) {
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        int result;
        int count;
    };
    auto cutShort = FileWithCount(3, 3);
    cutShort.resize(cutShort.size() - 100);
    const std::vector<Case> cases = {
        {"count 0", FileWithCount(0, 2), 0, 0},
        {"count above the records", FileWithCount(5, 2), 1, 2},
        {"absurd count", FileWithCount(2000000000, 2), 1, 2},
        {"negative count", FileWithCount(-1, 2), 1, 0},
        {"last record cut short", cutShort, 1, 2},
        {"half a header", std::vector<unsigned char>(400, 0), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        logos.StoredFlashLogos.RemoveAll();
        WriteFileBytes(file, c.bytes);
        EXPECT_EQ(LoadLogoList(logos, file), c.result);
        EXPECT_EQ(logos.StoredFlashLogos.Length(), c.count);
    }
}

TEST_F(StoredListTest, RecordsWithABadNumberAreSkipped) {
    std::vector<unsigned char> bytes = FileWithCount(3, 0);
    for (std::int32_t number : {0, 7, 1}) {
        const auto r = Record(number, "n" + std::to_string(number));
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    WriteFileBytes(file, bytes);
    EXPECT_EQ(LoadLogoList(logos, file), 1);
    ASSERT_EQ(logos.StoredFlashLogos.Length(), 2);
    EXPECT_EQ(logos.StoredFlashLogos.GetName(1), "n1");
}

TEST_F(StoredListTest, ReloadMarksTheListLoadedEvenWithoutAFile) {
    ASSERT_EQ(logos.StoredFlashLogos.Append(0, "stale", "p", "c", 0, 0, 0, 0), 1);
    logos.StartDirectory = dir.Path().string();
    logos.PrinterModel = "RP-999";
    ReloadStoredFlashLogos(logos);
    EXPECT_TRUE(logos.StoredListLoaded);
    EXPECT_EQ(logos.StoredFlashLogos.Length(), 0);

    AddFlashLogo("x.bmp", 8, 8, 32);
    ASSERT_EQ(SaveLogoList(logos, StoredLogoFileName(dir.Path().string(), "RP-820")), 1);
    logos.PrinterModel = "RP-820";
    ReloadStoredFlashLogos(logos);
    EXPECT_EQ(logos.StoredFlashLogos.GetName(0), "x.bmp");
    logos.PrinterModel = "";
    ReloadStoredFlashLogos(logos);
    EXPECT_EQ(logos.StoredFlashLogos.Length(), 0);
}

}  // namespace
}  // namespace stampa
