#include "TempDir.h"
#include "utils/KeyValueFile.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

struct ToolRun {
    int status;
    std::string output;
};

ToolRun run(const std::string& command)
{
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    std::string output;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, got);
    return {::pclose(pipe), output};
}

const std::string kTools = VM_TOOLS_DIR;

} // namespace

TEST(PackerTool, BuildsListsAndExtracts)
{
    TempDir dir;
    TempDir::writeFile("src/a.txt", "alpha");
    TempDir::writeFile("src/b b.bin", std::string("\0\1\2beta", 7));
    TempDir::writeFile("list.txt", "n dat/a.txt src/a.txt\n# comment\ny Dat/B.bin src/b b.bin\n");
    ASSERT_EQ(run(kTools + "/packer build out.pk list.txt").status, 0);
    EXPECT_EQ(run(kTools + "/packer list out.pk").output, "dat/a.txt 5 n\ndat/b.bin 7 y\n");
    EXPECT_EQ(run(kTools + "/packer extract out.pk dat/b.bin").output, TempDir::readFile("src/b b.bin"));
    EXPECT_NE(run(kTools + "/packer extract out.pk absent").status, 0);
    EXPECT_NE(run(kTools + "/packer list absent.pk").status, 0);
    TempDir::writeFile("bad.txt", "maybe x src/a.txt\n");
    const ToolRun bad = run(kTools + "/packer build bad.pk bad.txt");
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
    EXPECT_EQ(run(kTools + "/kvdump data.tbl secret").output, "a.first\t3\nz.last\ttwo words\n");
    EXPECT_NE(run(kTools + "/kvdump missing.tbl").status, 0);
}
