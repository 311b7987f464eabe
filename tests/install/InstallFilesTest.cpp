#include "InstallScratch.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const std::string kId = "org.vellomar.Vellomar";

// Regular files under the staging root, as absolute paths of the installed system.
std::set<std::string> stagedFiles(const InstallScratch& scratch)
{
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(scratch.stage()))
        if (entry.is_regular_file())
            files.insert("/" + fs::relative(entry.path(), scratch.stage()).string());
    return files;
}

std::set<std::string> lines(const std::string& text)
{
    std::set<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.insert(line);
    return out;
}

} // namespace

TEST(InstallTree, DesktopEntryMetadataIconsAndManualPassTheirChecks)
{
    InstallScratch scratch;
    ASSERT_TRUE(scratch.install()) << InstallScratch::read(scratch.file("install.log"));
    const fs::path share = scratch.prefix() / "share";
    const std::string desktop = (share / "applications" / (kId + ".desktop")).string();
    const std::string metainfo = (share / "metainfo" / (kId + ".metainfo.xml")).string();
    EXPECT_EQ(std::system(("desktop-file-validate '" + desktop + "'").c_str()), 0);
    EXPECT_EQ(std::system(("appstreamcli validate --no-net '" + metainfo + "'").c_str()), 0);
    const std::string release = "<release version=\"" VM_VERSION "\"";
    EXPECT_NE(InstallScratch::read(metainfo).find(release), std::string::npos);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = share / "icons/hicolor" / folder / "apps" / (kId + ".png");
        EXPECT_EQ(InstallScratch::output("identify -format '%wx%h' '" + icon.string() + "'"),
                  folder);
    }
    EXPECT_TRUE(fs::is_regular_file(share / "icons/hicolor/scalable/apps" / (kId + ".svg")));
    const std::string manual = (share / "man/man6/vellomar.6").string();
    EXPECT_EQ(InstallScratch::output("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '" + manual +
                                     "' 2>&1 >/dev/null"),
              "");
    EXPECT_TRUE(fs::is_regular_file(scratch.prefix() / "share/vellomar/data/data.pk"));
    EXPECT_TRUE(fs::is_regular_file(scratch.prefix() / "share/vellomar/data/data2x.pk"));
    EXPECT_EQ(InstallScratch::output("'" + (scratch.prefix() / "games/vellomar").string() +
                                     "' --version"),
              "vellomar " VM_VERSION "\n");
}

TEST(InstallPackage, IsLintianCleanAndHoldsWhatTheInstallRulesInstall)
{
    InstallScratch scratch;
    ASSERT_TRUE(scratch.install()) << InstallScratch::read(scratch.file("install.log"));
    const fs::path out = scratch.file("deb");
    const std::string command = std::string("bash '") + VM_SOURCE_DIR + "/scripts/make-deb.sh' '" +
                                VM_BUILD_DIR + "' '" + out.string() + "' >'" +
                                scratch.file("make-deb.log").string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << InstallScratch::read(scratch.file("make-deb.log"))
                                               << InstallScratch::read(out / "package.log");
    const std::string deb = InstallScratch::output("ls '" + out.string() + "'/vellomar_*.deb");
    ASSERT_NE(deb.find("vellomar_" VM_VERSION "_"), std::string::npos) << deb;
    const std::string path = deb.substr(0, deb.find('\n'));

    std::set<std::string> expected;
    for (const std::string& file : stagedFiles(scratch))
        expected.insert(file.rfind("/usr/share/man/", 0) == 0 ? file + ".gz" : file);
    expected.insert("/usr/share/doc/vellomar/copyright");
    expected.insert("/usr/share/doc/vellomar/changelog.gz");
    const auto packaged = lines(InstallScratch::output(
        "dpkg-deb --fsys-tarfile '" + path + "' | tar -t | grep -v '/$' | sed 's|^\\.||'"));
    EXPECT_EQ(packaged, expected);
    EXPECT_EQ(InstallScratch::output("dpkg-deb -f '" + path + "' Version"), VM_VERSION "\n");
}
