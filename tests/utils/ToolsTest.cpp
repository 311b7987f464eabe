// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"
#include "support/ToolRun.h"
#include "utils/KeyValueFile.h"

#include <gtest/gtest.h>

namespace {

const std::string kTools = VM_TOOLS_DIR;

} // namespace

TEST(PackerTool, BuildsListsAndExtracts)
{
    TempDir dir;
    TempDir::writeFile("src/a.txt", "alpha");
    TempDir::writeFile("src/b b.bin", std::string("\0\1\2beta", 7));
    TempDir::writeFile("list.txt", "n dat/a.txt src/a.txt\n# comment\ny Dat/B.bin src/b b.bin\n");
    ASSERT_EQ(runTool(kTools + "/packer build out.pk list.txt").status, 0);
    EXPECT_EQ(runTool(kTools + "/packer list out.pk").output, "dat/a.txt 5 n\ndat/b.bin 7 y\n");
    EXPECT_EQ(runTool(kTools + "/packer extract out.pk dat/b.bin").output,
              TempDir::readFile("src/b b.bin"));
    EXPECT_NE(runTool(kTools + "/packer extract out.pk absent").status, 0);
    EXPECT_NE(runTool(kTools + "/packer list absent.pk").status, 0);
    TempDir::writeFile("bad.txt", "maybe x src/a.txt\n");
    const ToolRun bad = runTool(kTools + "/packer build bad.pk bad.txt");
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.output.find("bad.txt:1"), std::string::npos);
}

TEST(KvdumpTool, PrintsScrambledFilesInKeyOrder)
{
    TempDir dir;
    KeyValueFile store;
    store.setString("z.last", "two words");
    store.setInt("a.first", 3);
    store.save("data.tbl", "secret", 6);
    EXPECT_EQ(runTool(kTools + "/kvdump data.tbl secret").output,
              "a.first\t3\nz.last\ttwo words\n");
    EXPECT_NE(runTool(kTools + "/kvdump missing.tbl").status, 0);
}
