// The folder list's entries: path splitting for drive and network roots, the way down to the
// current folder, its sorted subfolders and the full path behind every entry.
#include <gtest/gtest.h>

#include "common/FolderList.h"

namespace {

std::wstring Describe(const std::vector<FolderEntry>& entries)
{
    std::wstring out;
    for (const FolderEntry& e : entries)
        out += std::to_wstring(e.level) + (e.open ? L"+" : L"-") + e.name + L"=" + e.path + L"\n";
    return out;
}

TEST(FolderList, SplitsDriveAndNetworkPaths)
{
    std::wstring root;
    std::vector<std::wstring> names;
    ASSERT_TRUE(SplitFolderPath(L"c:\\Users\\me\\", root, names));
    EXPECT_EQ(root, L"c:\\");
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Users", L"me"}));
    ASSERT_TRUE(SplitFolderPath(L"D:/walls//2026", root, names));
    EXPECT_EQ(root, L"D:\\");
    EXPECT_EQ(names, (std::vector<std::wstring>{L"walls", L"2026"}));
    ASSERT_TRUE(SplitFolderPath(L"C:\\", root, names));
    EXPECT_TRUE(names.empty());
    ASSERT_TRUE(SplitFolderPath(L"\\\\server\\share\\pics", root, names));
    EXPECT_EQ(root, L"\\\\server\\share\\");
    EXPECT_EQ(names, (std::vector<std::wstring>{L"pics"}));
    ASSERT_TRUE(SplitFolderPath(L"\\\\server\\share", root, names));
    EXPECT_TRUE(names.empty());

    for (const wchar_t* relative : {L"", L"rose", L"walls\\rose", L"C:rose", L"\\rose", L"\\\\server", L"\\\\\\x"})
        EXPECT_FALSE(SplitFolderPath(relative, root, names)) << relative;
}

TEST(FolderList, DrivesThenTheWayDownThenSortedSubfolders)
{
    const auto entries =
        FolderEntries({L"A:\\", L"C:\\", L"Z:\\"}, L"C:\\walls\\2026", {L"zebra", L"Alpha", L"beta", L"Beta"});
    EXPECT_EQ(Describe(entries), L"0-A:\\=A:\\\n"
                                 L"0+C:\\=C:\\\n"
                                 L"1+walls=C:\\walls\n"
                                 L"2+2026=C:\\walls\\2026\n"
                                 L"3-Alpha=C:\\walls\\2026\\Alpha\n"
                                 L"3-Beta=C:\\walls\\2026\\Beta\n"
                                 L"3-beta=C:\\walls\\2026\\beta\n"
                                 L"3-zebra=C:\\walls\\2026\\zebra\n"
                                 L"0-Z:\\=Z:\\\n");
    EXPECT_EQ(CurrentFolderEntry(entries), 3);
}

TEST(FolderList, RootsAndUnknownRoots)
{
    // At a drive's root the subfolders hang right below it; the drive letter's case does not
    // make a second entry.
    auto entries = FolderEntries({L"C:\\", L"D:\\"}, L"d:\\", {L"pics"});
    EXPECT_EQ(Describe(entries), L"0-C:\\=C:\\\n0+d:\\=d:\\\n1-pics=d:\\pics\n");
    EXPECT_EQ(CurrentFolderEntry(entries), 1);

    // A network folder is not among the drives: its root comes last.
    entries = FolderEntries({L"C:\\"}, L"\\\\nas\\photos\\walls", {});
    EXPECT_EQ(Describe(entries), L"0-C:\\=C:\\\n0+\\\\nas\\photos\\=\\\\nas\\photos\\\n"
                                 L"1+walls=\\\\nas\\photos\\walls\n");

    // No usable current folder: the drives alone, nothing current.
    entries = FolderEntries({L"C:\\"}, L"", {L"x"});
    EXPECT_EQ(Describe(entries), L"0-C:\\=C:\\\n");
    EXPECT_EQ(CurrentFolderEntry(entries), -1);
}

} // namespace
