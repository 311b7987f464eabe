// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/ArtSet.h"
#include "TestSupport.h"
#include "image/Image.h"
#include "objects/ImagePrefetch.h"
#include "objects/LanguagePack.h"
#include "objects/Texture.h"
#include "utils/CompiledCatalogue.h"
#include "utils/Log.h"
#include "utils/TempDir.h"
#include "utils/Translation.h"

#include <GL/gl.h>
#include <png.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kBlack{0, 0, 0, 255};
const Rgba kRed{255, 0, 0, 255};

// A base pack with a green 16 × 8 picture, a fine pack beside it with
// `fine` under the same name, and game.log in the test's folder.
class ArtSetTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        ASSERT_TRUE(Log::open("game.log"));
        m_base.add("dat/swatch.tga", tgaFile(Picture(16, 8, kGreen)));
    }
    void TearDown() override
    {
        LanguagePack::use(m_base.pack(), "", "en");
        ArtSet::closeFine();
        ArtSet::choose(1.0f);
        Log::open("");
        GlTest::TearDown();
    }
    bool openFine(const Bytes& picture, const std::string& name = "dat/swatch.tga")
    {
        TestPack fine;
        fine.add(name, picture);
        fine.pack().setKey(kMainPackKey);
        EXPECT_TRUE(fine.pack().save("data2x.pk"));
        return ArtSet::openFine(m_base.pack(), "data2x.pk");
    }
    static int uploadedWidth()
    {
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        return width;
    }

    TempDir m_dir;
    TestPack m_base;
};

} // namespace

TEST_F(ArtSetTest, FinePicturesUploadTwiceThePixelsAndDrawAtTheBaseSize)
{
    ASSERT_TRUE(openFine(tgaFile(Picture(32, 16, kBlue))));
    EXPECT_FALSE(ArtSet::choose(1.49f));
    EXPECT_TRUE(ArtSet::choose(1.5f));
    EXPECT_FALSE(ArtSet::choose(0.0f));
    EXPECT_TRUE(ArtSet::fineInUse());
    auto texture = Texture::load(&m_base.pack(), "dat/swatch.tga");
    clear(0, 0, 0);
    texture->draw(100, 50, 0);
    EXPECT_EQ(texture->width(), 16);
    EXPECT_EQ(texture->height(), 8);
    EXPECT_EQ(uploadedWidth(), 32);
    EXPECT_TRUE(sameColour(pixel(100, 50), kBlue));
    EXPECT_TRUE(sameColour(pixel(115, 57), kBlue));
    EXPECT_TRUE(sameColour(pixel(116, 57), kBlack));
    EXPECT_TRUE(sameColour(pixel(115, 58), kBlack));

    // Back below the threshold: the pictures are read again from the base set.
    EXPECT_TRUE(ArtSet::choose(1.2f));
    Texture::unloadAll();
    clear(0, 0, 0);
    texture->draw(100, 50, 0);
    EXPECT_EQ(uploadedWidth(), 16);
    EXPECT_TRUE(sameColour(pixel(110, 55), kGreen));
    EXPECT_NE(TempDir::readFile("game.log").find("Drawing the base pictures (1.20 pixels a unit)"),
              std::string::npos);
}

TEST_F(ArtSetTest, AFinePictureOfAnotherSizeOrThatDoesNotDecodeLeavesTheBasePictureAndALogLine)
{
    for (const Bytes& unfit : {tgaFile(Picture(24, 12, kBlue)), Bytes{'n', 'o', 't'}}) {
        ASSERT_TRUE(openFine(unfit));
        ArtSet::choose(2.0f);
        auto texture = Texture::load(&m_base.pack(), "dat/swatch.tga");
        clear(0, 0, 0);
        texture->draw(0, 0, 0);
        EXPECT_EQ(uploadedWidth(), 16);
        EXPECT_TRUE(sameColour(pixel(8, 4), kGreen));
        EXPECT_EQ(texture->width(), 16);
    }
    EXPECT_NE(TempDir::readFile("game.log")
                  .find("dat/swatch.tga in data2x.pk is not a picture of twice the base size"),
              std::string::npos)
        << TempDir::readFile("game.log");
}

TEST_F(ArtSetTest, AMissingOrBrokenFinePackLeavesTheBaseSetAtEverySize)
{
    EXPECT_FALSE(ArtSet::openFine(m_base.pack(), "absent2x.pk"));
    TempDir::writeFile("broken2x.pk", "XY not a pack");
    EXPECT_FALSE(ArtSet::openFine(m_base.pack(), "broken2x.pk"));
    EXPECT_FALSE(ArtSet::hasFine());
    EXPECT_FALSE(ArtSet::choose(3.0f));
    EXPECT_FALSE(ArtSet::fineInUse());
    auto texture = Texture::load(&m_base.pack(), "dat/swatch.tga");
    clear(0, 0, 0);
    texture->draw(0, 0, 0);
    EXPECT_EQ(uploadedWidth(), 16);
    const std::string log = TempDir::readFile("game.log");
    EXPECT_NE(log.find("absent2x.pk is missing or not a pack"), std::string::npos) << log;
    EXPECT_NE(log.find("broken2x.pk is missing or not a pack"), std::string::npos) << log;
}

TEST_F(ArtSetTest, OnlyPicturesOfTheBasePackComeFromTheFineSet)
{
    ASSERT_TRUE(openFine(tgaFile(Picture(32, 16, kBlue))));
    ArtSet::choose(2.0f);
    TestPack other;
    other.add("dat/swatch.tga", tgaFile(Picture(16, 8, kGreen)));
    auto texture = Texture::load(&other.pack(), "dat/swatch.tga");
    Texture inMemory("dat/swatch.tga", tgaFile(Picture(16, 8, kGreen)), TextureWrap::Clamp,
                     TextureMipmaps::None);
    inMemory.upload();
    clear(0, 0, 0);
    texture->draw(0, 0, 0);
    inMemory.draw(0, 20, 0);
    EXPECT_TRUE(sameColour(pixel(8, 4), kGreen));
    EXPECT_TRUE(sameColour(pixel(8, 24), kGreen));
}

TEST_F(ArtSetTest, MipmappedFinePicturesOfAnySizeUploadAsTheyAre)
{
    m_base.add("mui/button.png", pngFile(Picture(12, 6, kGreen), PNG_COLOR_TYPE_RGB_ALPHA));
    ASSERT_TRUE(
        openFine(pngFile(Picture(24, 12, kBlue), PNG_COLOR_TYPE_RGB_ALPHA), "mui/button.png"));
    ArtSet::choose(2.0f);
    auto texture =
        Texture::load(&m_base.pack(), "mui/button.png", TextureWrap::Clamp, TextureMipmaps::Build);
    clear(0, 0, 0);
    texture->draw(10, 10, 0);
    EXPECT_EQ(uploadedWidth(), 24); // not stretched to 32 by the mipmap builder
    EXPECT_TRUE(sameColour(pixel(15, 12), kBlue));
    EXPECT_EQ(texture->width(), 12);
}

// A fine picture decoded ahead is the one drawn, and its base picture is let go.
TEST_F(ArtSetTest, AFinePictureDecodedAheadIsDrawnAndItsBasePictureDropped)
{
    ASSERT_TRUE(openFine(tgaFile(Picture(32, 16, kBlue))));
    ASSERT_NE(ArtSet::finePack(), nullptr);
    EXPECT_EQ(ArtSet::finePackFor(&m_base.pack()), nullptr);
    ArtSet::choose(2.0f);
    EXPECT_EQ(ArtSet::finePackFor(&m_base.pack()), ArtSet::finePack());
    ImagePrefetch::start(m_base.pack(), {"dat/swatch.tga"});
    ImagePrefetch::redirect(*ArtSet::finePack(), {"dat/swatch.tga"});
    auto texture = Texture::load(&m_base.pack(), "dat/swatch.tga");
    clear(0, 0, 0);
    texture->draw(100, 50, 0);
    EXPECT_EQ(uploadedWidth(), 32);
    EXPECT_TRUE(sameColour(pixel(115, 57), kBlue));
    EXPECT_EQ(ImagePrefetch::untakenCount(), 0u);
    ImagePrefetch::stop();
}

// The decoding thread may be reading the fine pack when it closes.
TEST_F(ArtSetTest, ClosingTheFineSetWaitsForThePictureBeingDecodedFromIt)
{
    ASSERT_TRUE(openFine(tgaFile(Picture(32, 16, kBlue))));
    enum Stage { Idle, Decoding, PackStayed, PackClosed };
    static std::atomic<Stage> stage;
    stage = Idle;
    ImagePrefetch::start(*ArtSet::finePack(), {"dat/swatch.tga"},
                         [](const FilePack& pack, const std::string&) -> std::unique_ptr<Image> {
                             stage = Decoding;
                             // Long enough for a close that does not wait to go on.
                             std::this_thread::sleep_for(std::chrono::milliseconds(200));
                             stage = ArtSet::finePack() == &pack ? PackStayed : PackClosed;
                             return nullptr;
                         });
    while (stage == Idle)
        std::this_thread::yield();
    ArtSet::closeFine();
    ImagePrefetch::stop();
    EXPECT_EQ(stage, PackStayed);
}

namespace {

void saveLanguagePack(const std::string& path,
                      const std::vector<std::pair<std::string, Bytes>>& files)
{
    TestPack pack;
    for (const auto& [name, bytes] : files)
        pack.add(name, bytes);
    pack.pack().setKey(kMainPackKey);
    TempDir::writeFile(path, "");
    ASSERT_TRUE(pack.pack().save(path));
}

const Bytes kGerman =
    compiled({{"", "Content-Type: text/plain; charset=UTF-8\n"}, {"Quit", "Beenden"}});

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

} // namespace

// The language's picture replaces the base one at every size: its fine pack
// lacks it, so the English fine picture is not drawn. Others stay fine.
TEST_F(ArtSetTest, ALanguagePackReplacesOnlyItsPicturesAndSpeaksItsCatalogue)
{
    m_base.add("dat/other.tga", tgaFile(Picture(16, 8, kGreen)));
    TestPack fine;
    for (const char* name : {"dat/swatch.tga", "dat/other.tga"})
        fine.add(name, tgaFile(Picture(32, 16, kBlue)));
    fine.pack().setKey(kMainPackKey);
    ASSERT_TRUE(fine.pack().save("data2x.pk"));
    ASSERT_TRUE(ArtSet::openFine(m_base.pack(), "data2x.pk"));
    saveLanguagePack("game/data/lang/de.pk", {{"dat/swatch.tga", tgaFile(Picture(16, 8, kRed))},
                                              {"lang/vellomar.mo", kGerman},
                                              {"lang/untranslated.txt",
                                               bytesOf("Hints\tmui/a.tga, mui/b.tga\n\nLevel\n")}});
    saveLanguagePack("game/data/lang/de2x.pk",
                     {{"dat/unused.tga", tgaFile(Picture(32, 16, kRed))}});
    ArtSet::choose(2.0f);
    ASSERT_TRUE(LanguagePack::use(m_base.pack(), "game/", "de"));
    EXPECT_EQ(Translation::code(), "de");
    EXPECT_STREQ(tr("Quit"), "Beenden");
    EXPECT_STREQ(tr("Hints"), "Hints");
    auto swatch = Texture::load(&m_base.pack(), "dat/swatch.tga");
    auto other = Texture::load(&m_base.pack(), "dat/other.tga");
    clear(0, 0, 0);
    swatch->draw(0, 0, 0);
    other->draw(0, 20, 0);
    EXPECT_TRUE(sameColour(pixel(8, 4), kRed));
    EXPECT_TRUE(sameColour(pixel(8, 24), kBlue));

    ASSERT_TRUE(LanguagePack::use(m_base.pack(), "game/", "en"));
    Texture::unloadAll();
    clear(0, 0, 0);
    swatch->draw(0, 0, 0);
    EXPECT_TRUE(sameColour(pixel(8, 4), kBlue));
    EXPECT_STREQ(tr("Quit"), "Quit");

    // The words its pictures show in English are said once, as tr()'s misses.
    const std::string log = TempDir::readFile("game.log");
    const std::string hints =
        "No de translation of \"Hints\"; it is shown in English (in mui/a.tga, mui/b.tga)\n";
    EXPECT_NE(log.find(hints), std::string::npos) << log;
    EXPECT_EQ(log.find("\"Hints\""), log.rfind("\"Hints\"")) << log;
    EXPECT_NE(log.find("No de translation of \"Level\"; it is shown in English\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("\"Quit\""), std::string::npos) << log;
}

// A damaged list of words left English is passed over; the language is spoken.
TEST_F(ArtSetTest, ALanguagePacksDamagedListOfEnglishWordsIsLeftUnsaid)
{
    const std::string large(LanguagePack::kMaxUntranslatedSize + 1, 'a');
    const std::pair<const char*, std::string> lists[] = {
        {"fr", "Hints\xff\n"}, {"nl", std::string("Hi\0nts\n", 7)}, {"pl", large}};
    for (const auto& [code, list] : lists) {
        saveLanguagePack(std::string("game/data/lang/") + code + ".pk",
                         {{"lang/vellomar.mo", kGerman}, {"lang/untranslated.txt", bytesOf(list)}});
        EXPECT_TRUE(LanguagePack::use(m_base.pack(), "game/", code)) << code;
        EXPECT_STREQ(tr("Quit"), "Beenden");
    }
    const std::string log = TempDir::readFile("game.log");
    for (const char* code : {"fr", "nl", "pl"})
        EXPECT_NE(log.find(std::string("Language ") + code +
                           ": the lang/untranslated.txt in game/data/lang/" + code +
                           ".pk is damaged and left unread."),
                  std::string::npos)
            << log;
    EXPECT_EQ(log.find("translation of"), std::string::npos) << log;
}

TEST_F(ArtSetTest, AMissingOrDamagedLanguagePackLeavesEnglishAndALogLine)
{
    saveLanguagePack("game/data/lang/de.pk", {{"dat/swatch.tga", tgaFile(Picture(16, 8, kRed))},
                                              {"lang/vellomar.mo", kGerman}});
    const std::string whole = TempDir::readFile("game/data/lang/de.pk");
    TempDir::writeFile("game/data/lang/fr.pk", whole.substr(0, whole.size() - 5));
    saveLanguagePack("game/data/lang/nl.pk", {{"dat/swatch.tga", tgaFile(Picture(16, 8, kRed))}});
    saveLanguagePack("game/data/lang/pl.pk", {{"lang/vellomar.mo", Bytes(40, 7)}});
    for (const char* code : {"fr", "nl", "pl", "it"}) {
        ASSERT_TRUE(LanguagePack::use(m_base.pack(), "game/", "de"));
        EXPECT_FALSE(LanguagePack::use(m_base.pack(), "game/", code)) << code;
        EXPECT_EQ(Translation::code(), "") << code;
        EXPECT_STREQ(tr("Quit"), "Quit");
        auto texture = Texture::load(&m_base.pack(), "dat/swatch.tga");
        clear(0, 0, 0);
        texture->draw(0, 0, 0);
        EXPECT_TRUE(sameColour(pixel(8, 4), kGreen)) << code;
    }
    const std::string log = TempDir::readFile("game.log");
    for (const char* reason :
         {"Language fr: game/data/lang/fr.pk has a damaged table of contents: 1 of its 2 files "
          "are whole; the game speaks English.",
          "Language nl: game/data/lang/nl.pk holds no lang/vellomar.mo; the game speaks English.",
          "Language pl: the catalogue in game/data/lang/pl.pk is damaged",
          "Language it: game/data/lang/it.pk is missing; the game speaks English."})
        EXPECT_NE(log.find(reason), std::string::npos) << reason << "\n" << log;
}
