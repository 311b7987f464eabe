// SPDX-License-Identifier: GPL-3.0-or-later
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
    EXPECT_EQ(std::system(("appstreamcli validate --pedantic --no-net '" + metainfo + "'").c_str()),
              0);
    const std::string release = "<release version=\"" VM_VERSION "\"";
    EXPECT_NE(InstallScratch::read(metainfo).find(release), std::string::npos);
    for (int size : {16, 32, 48, 64, 128, 256, 512}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = share / "icons/hicolor" / folder / "apps" / (kId + ".png");
        EXPECT_EQ(InstallScratch::output("identify -format '%wx%h' '" + icon.string() + "'"),
                  folder);
    }
    EXPECT_TRUE(fs::is_regular_file(share / "icons/hicolor/scalable/apps" / (kId + ".svg")));
    EXPECT_TRUE(
        fs::is_regular_file(share / "icons/hicolor/symbolic/apps" / (kId + "-symbolic.svg")));
    const std::string manual = (share / "man/man6/vellomar.6").string();
    EXPECT_EQ(InstallScratch::output("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '" + manual +
                                     "' 2>&1 >/dev/null"),
              "");
    EXPECT_TRUE(fs::is_regular_file(scratch.prefix() / "share/vellomar/data/data.pk"));
    EXPECT_TRUE(fs::is_regular_file(scratch.prefix() / "share/vellomar/data/data2x.pk"));
    // Each shipped language: its packs and its words in the desktop files; the
    // pseudo-language is for tests and stays in the build.
    const fs::path langDir = scratch.prefix() / "share/vellomar/data/lang";
    std::set<std::string> packs;
    if (fs::is_directory(langDir))
        for (const auto& entry : fs::directory_iterator(langDir))
            packs.insert(entry.path().filename().string());
    std::set<std::string> expected;
    std::istringstream languages(VM_LANGUAGES);
    for (std::string code; languages >> code;) {
        expected.insert({code + ".pk", code + "2x.pk"});
        EXPECT_NE(InstallScratch::read(desktop).find("Comment[" + code + "]="), std::string::npos);
        EXPECT_NE(InstallScratch::read(metainfo).find("xml:lang=\"" + code + "\""),
                  std::string::npos);
    }
    EXPECT_EQ(packs, expected);
    EXPECT_EQ(InstallScratch::output("'" + (scratch.prefix() / "games/vellomar").string() +
                                     "' --version"),
              "vellomar " VM_VERSION "\n");
}

// The program and the data each in their package, with the files of the
// install rules between them, and the program built with Debian's hardening.
TEST(InstallPackage, IsLintianCleanHardenedAndHoldsWhatTheInstallRulesInstall)
{
    InstallScratch scratch;
    ASSERT_TRUE(scratch.install()) << InstallScratch::read(scratch.file("install.log"));
    const fs::path out = scratch.file("deb");
    // The suite runs the package's own tests already.
    const std::string command = std::string("DEB_BUILD_OPTIONS=nocheck bash '") + VM_SOURCE_DIR +
                                "/scripts/make-deb.sh' '" + VM_BUILD_DIR + "' '" + out.string() +
                                "' >'" + scratch.file("make-deb.log").string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << InstallScratch::read(scratch.file("make-deb.log"))
                                               << InstallScratch::read(out / "package.log");
    const auto debs =
        lines(InstallScratch::output("ls '" + out.string() + "'/*.deb | grep -v dbgsym_"));
    ASSERT_EQ(debs.size(), 2u) << InstallScratch::read(scratch.file("make-deb.log"));
    const std::string data = *debs.begin(), program = *debs.rbegin();
    ASSERT_NE(data.find("vellomar-data_" VM_VERSION "_all.deb"), std::string::npos) << data;
    ASSERT_NE(program.find("vellomar_" VM_VERSION "_"), std::string::npos) << program;

    std::set<std::string> expected{
        "/usr/share/doc/vellomar/copyright", "/usr/share/doc/vellomar/changelog.gz",
        "/usr/share/doc/vellomar-data/copyright", "/usr/share/doc/vellomar-data/changelog.gz"};
    for (const std::string& file : stagedFiles(scratch))
        expected.insert(file.rfind("/usr/share/man/", 0) == 0 ? file + ".gz" : file);
    std::set<std::string> packaged;
    for (const std::string& deb : debs) {
        const auto files = lines(InstallScratch::output(
            "dpkg-deb --fsys-tarfile '" + deb + "' | tar -t | grep -v '/$' | sed 's|^\\.||'"));
        packaged.insert(files.begin(), files.end());
        const bool isData = deb == data;
        for (const std::string& file : files) {
            if (file.rfind("/usr/share/doc/", 0) != 0) {
                EXPECT_EQ(file.rfind("/usr/share/vellomar/", 0) == 0, isData) << deb << file;
            }
        }
    }
    EXPECT_EQ(packaged, expected);
    EXPECT_EQ(InstallScratch::output("dpkg-deb -f '" + program + "' Version"), VM_VERSION "\n");
    EXPECT_NE(InstallScratch::output("dpkg-deb -f '" + program + "' Depends")
                  .find("vellomar-data (= " VM_VERSION ")"),
              std::string::npos);
}
