// SPDX-License-Identifier: GPL-3.0-or-later
// The play-screen resource set built from the game's own pack (no OpenGL
// context is needed: textures keep their source and size), and the hint
// overlay that shows its pictures.
#include <gtest/gtest.h>

#include <filesystem>

#include "effects/GameResources.h"
#include "effects/HintOverlay.h"
#include "utils/FilePack.h"
#include "utils/XmlNode.h"

#ifdef VM_HAVE_AUDIO
#include "audio/CSoundManager.h"
#endif

namespace {
namespace fs = std::filesystem;

class Resources : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_before = fs::current_path();
        fs::current_path(VM_GAME_DIR); // the sound files lie beside the program
        FilePack* pack = packExists("main") ? &getPack("main") : &createPack("main");
        pack->setKey(kMainPackKey);
        ASSERT_TRUE(pack->load(VM_GAME_DIR "/data/data.pk"));
#ifdef VM_HAVE_AUDIO
        CSoundManager::create();
#endif
    }
    void TearDown() override
    {
        GameResources::destroy();
        destroyPack("main");
#ifdef VM_HAVE_AUDIO
        CSoundManager::destroy();
#endif
        fs::current_path(m_before);
    }

    fs::path m_before;
};

std::size_t hintElements()
{
    Xml::XmlNode root;
    const PackEntry entry = getPack("main").getFile("dat/hints/hints.xml");
    root.parse(entry.chars(), entry.data.size());
    return root.children().size();
}
} // namespace

TEST_F(Resources, BuildsEveryMemberAndReleasesAllItLoaded)
{
    const std::size_t texturesBefore = Texture::registeredCount();
    GameResources& res = GameResources::create(getPack("main"));
    EXPECT_EQ(&res, &GameResources::get());
    EXPECT_EQ(&GameResources::create(getPack("main")), &res) << "built once";
    EXPECT_GT(res.glyphCount(), 0);
    EXPECT_EQ(res.texture(), res.m_fontTexture.get());
    for (const auto& skin : res.m_skins)
        ASSERT_NE(skin, nullptr);
    EXPECT_NE(res.m_skins[0].get(), res.m_skins[1].get());
    for (const Texture* t :
         {res.m_background.get(), res.m_smallBackground.get(), res.m_statistics.get(),
          res.m_mainMenuButton.get(), res.m_dynamite.get(), res.m_dynamiteGrey.get()}) {
        ASSERT_NE(t, nullptr);
        EXPECT_GT(t->width(), 0) << t->fileName();
    }
    for (const Sprite* s : {res.m_cellBack.get(), res.m_cellBackSmall.get(), res.m_pathPoint.get(),
                            res.m_particles.get(), res.m_insect.get(), res.m_block.get(),
                            res.m_gameplay1.get(), res.m_gameplay2.get()})
        ASSERT_NE(s, nullptr);
    EXPECT_TRUE(res.m_gameplay1->flipped());
    EXPECT_EQ(res.m_mainMenuButton->mipmaps(), TextureMipmaps::Build);
    EXPECT_EQ(res.m_background->mipmaps(), TextureMipmaps::None);

    ASSERT_EQ(res.m_hintPlaces.size(), hintElements());
    ASSERT_FALSE(res.m_hintPlaces.empty());
    for (std::size_t i = 0; i < res.m_hintPlaces.size(); ++i) {
        ASSERT_NE(res.m_hintPlaces[i]->picture, nullptr);
        EXPECT_EQ(res.m_hintPlaces[i]->picture->fileName(),
                  GameResources::hintPictureName(static_cast<int>(i)));
    }
    EXPECT_GT(Texture::registeredCount(), texturesBefore);

    GameResources::destroy();
    EXPECT_FALSE(GameResources::exists());
    EXPECT_EQ(Texture::registeredCount(), texturesBefore) << "a texture outlived the resources";
}

TEST(HintPlaces, AttributesAreReadWithZeroForMissingOnes)
{
    const std::string xml = "<hints><a posx=\"10\" posy=\"20\" posxcb=\"5\" posycb=\"-4\"/>"
                            "<b posy=\"7.5\" posx=\"oops\"/></hints>";
    Xml::XmlNode root;
    root.parse(xml.data(), xml.size());
    const auto places = GameResources::readHintPlaces(root);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_FLOAT_EQ(places[0]->x, 10.0f);
    EXPECT_FLOAT_EQ(places[0]->checkX, 15.0f);
    EXPECT_FLOAT_EQ(places[0]->checkY, 16.0f);
    EXPECT_FLOAT_EQ(places[1]->x, 0.0f);
    EXPECT_FLOAT_EQ(places[1]->y, 7.5f);
    EXPECT_FLOAT_EQ(places[1]->checkX, 0.0f);
    const std::string none = "<hints></hints>";
    root.parse(none.data(), none.size());
    EXPECT_TRUE(GameResources::readHintPlaces(root).empty());
}

TEST_F(Resources, HintWithoutAPlaceDrawsNothing)
{
    GameResources::create(getPack("main")).m_hintPlaces.clear();
    HintOverlay hint(0);
    EXPECT_EQ(hint.place(), nullptr);
    hint.render(); // returns before touching OpenGL: there is no context here
    EXPECT_FALSE(hint.update(30.0f));
    GameResources::destroy();
    HintOverlay orphan(0);
    EXPECT_EQ(orphan.place(), nullptr);
    orphan.render();
}

TEST(HintFade, FadesInOverSixHundredMillisecondsAndOutAfterDismissFromWhereItIs)
{
    HintOverlay hint(3);
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(hint.update(30.0f));
    EXPECT_NEAR(hint.alpha(), 1.0f, 1e-4f);
    hint.update(30.0f);
    EXPECT_NEAR(hint.alpha(), 1.0f, 1e-4f) << "a shown hint waits for dismiss";
    hint.dismiss();
    int updates = 0;
    do
        ++updates;
    while (!hint.update(30.0f) && updates < 100);
    EXPECT_NEAR(updates, 20, 1);
    HintOverlay early(0);
    for (int i = 0; i < 4; ++i)
        early.update(30.0f);
    const float peak = early.alpha();
    early.dismiss();
    early.dismiss(); // a second dismiss changes nothing
    EXPECT_LT(early.fadeSpeed(), 0.0f);
    early.update(30.0f);
    EXPECT_LT(early.alpha(), peak);
    // Fading out from exactly 0 goes on, or the overlay (and the board paused
    // under it) would stay for good.
    HintOverlay faint(0);
    faint.update(60.0f); // alpha 0.1
    faint.dismiss();
    EXPECT_FALSE(faint.update(60.0f)); // back to 0: kept
    EXPECT_TRUE(faint.update(1.0f));
}
