// SPDX-License-Identifier: GPL-3.0-or-later
#include "AssetPack.h"
#include "screens/TextBlock.h"
#include "utils/XmlNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

// Parses a document of the pack with the game's reader; failures are reported.
std::unique_ptr<Xml::XmlNode> document(const std::string& name)
{
    auto text = AssetPack::instance().bytes(name);
    if (!text || text->empty()) {
        ADD_FAILURE() << name << " is missing";
        return nullptr;
    }
    auto root = std::make_unique<Xml::XmlNode>();
    try {
        root->parse(text->data(), text->size());
    } catch (const Xml::CXmlException& e) {
        ADD_FAILURE() << name << ": " << e.message();
        return nullptr;
    }
    return root;
}

// A frame-sequence description: every frame exists and a group's frames share one size.
void expectFrameSequence(const std::string& name)
{
    auto root = document(name);
    ASSERT_TRUE(root);
    auto groups = root->children();
    ASSERT_FALSE(groups.empty()) << name;
    for (const Xml::XmlNode* group : groups) {
        auto frames = group->children();
        ASSERT_FALSE(frames.empty()) << name;
        PictureSize first = pictureSize(frames.front()->text());
        for (const Xml::XmlNode* frame : frames) {
            PictureSize size = pictureSize(frame->text());
            ASSERT_TRUE(size.valid) << name << ": " << frame->text();
            EXPECT_EQ(size.width, first.width) << frame->text();
            EXPECT_EQ(size.height, first.height) << frame->text();
        }
    }
}

} // namespace

TEST(Hints, EveryPlaceHasItsPictureOnScreen)
{
    auto root = document("dat/hints/hints.xml");
    ASSERT_TRUE(root);
    auto places = root->children();
    ASSERT_FALSE(places.empty());
    for (std::size_t i = 0; i < places.size(); ++i) {
        char picture[48];
        std::snprintf(picture, sizeof picture, "dat/hints/hint%02zu.tga", i);
        PictureSize size = pictureSize(picture);
        ASSERT_TRUE(size.valid) << picture;
        Rect placed{places[i]->floatAttribute("posx", -1), places[i]->floatAttribute("posy", -1),
                    float(size.width), float(size.height)};
        EXPECT_TRUE(placed.inside(Rect{0, 0, 800, 600})) << picture;
        for (const char* key : {"posxcb", "posycb"})
            EXPECT_NE(places[i]->attribute(key, ""), "") << picture << " lacks " << key;
    }
    // Hint 0 frames the two move animations drawn centred at (275, 300) and (525, 300).
    PictureSize first = pictureSize("dat/hints/hint00.tga");
    Rect hint{places[0]->floatAttribute("posx", 0), places[0]->floatAttribute("posy", 0),
              float(first.width), float(first.height)};
    PictureSize frame = pictureSize("dat/hints/gameplay_00.png");
    for (float centre : {275.0f, 525.0f})
        EXPECT_TRUE((Rect{centre - frame.width / 2.0f, 300 - frame.height / 2.0f,
                          float(frame.width), float(frame.height)}
                         .inside(hint)));
}

TEST(FrameSequences, GameplayAnimationsHaveAllTheirFrames)
{
    expectFrameSequence("dat/hints/gameplay.xml");
    expectFrameSequence("dat/hints/gameplay2.xml");
}

TEST(HelpPages, ExplainTheRulesWithPicturesThatExistPromiseTheBigAwardAndTellEveryKey)
{
    auto root = document("mui/help.xml");
    ASSERT_TRUE(root);
    auto pages = root->children();
    EXPECT_GE(pages.size(), 4u);
    int pictures = 0;
    for (const Xml::XmlNode* page : pages) {
        bool hasText = false;
        std::vector<Rect> taken; // what each item really covers on the page
        for (const Xml::XmlNode* item : page->children()) {
            const Xml::XmlNode* pos = item->findChild("pos");
            ASSERT_TRUE(pos) << "every item is placed";
            float x = pos->floatAttribute("x", 0), y = pos->floatAttribute("y", 0);
            float width = item->floatAttribute("width", 0);
            if (const Xml::XmlNode* text = item->findChild("text")) {
                hasText = !text->text().empty();
                EXPECT_NE(text->text().find('\n'), 0u);
                EXPECT_EQ(text->text().find('\n'), std::string::npos)
                    << "line feeds are dropped by the wrapping, joining words";
                float lines = item->floatAttribute("height", 0);
                float size = item->floatAttribute("font_size", 0);
                EXPECT_GT(size, 9.0f);
                EXPECT_TRUE(
                    (Rect{x, y - size, width, lines * size}.inside(Rect{50, 100, 700, 410})))
                    << text->text();
                EXPECT_TRUE(item->findChild("font_color"))
                    << "text on the light page needs a colour";
                TextBlock block(packFont(), width, size, int(lines));
                block.wrap(text->text());
                const auto& wrapped = block.lines();
                EXPECT_LE(wrapped.size(), std::size_t(lines)) << "cut off: " << text->text();
                float widest = 0;
                for (const std::string& l : wrapped)
                    widest = std::max(widest, packFont().measure(l.c_str(), size));
                // Half a line of room under every text keeps paragraphs apart.
                taken.push_back(Rect{x, y - size, widest, (float(wrapped.size()) + 0.5f) * size});
            }
            if (const Xml::XmlNode* image = item->findChild("image")) {
                ++pictures;
                expectFrameSequence(image->text());
                // Pictures are drawn centred on their position, as every sprite is.
                float height = item->floatAttribute("height", 0);
                Rect picture{x - width / 2, y - height / 2, width, height};
                EXPECT_TRUE(picture.inside(Rect{50, 100, 700, 410})) << image->text();
                taken.push_back(picture);
            }
        }
        EXPECT_TRUE(hasText);
        for (std::size_t a = 0; a < taken.size(); ++a)
            for (std::size_t b = a + 1; b < taken.size(); ++b)
                EXPECT_FALSE(taken[a].overlaps(taken[b]))
                    << "items " << a << " and " << b << " overlap";
    }
    EXPECT_GE(pictures, 4);
    std::vector<std::string> texts; // the texts of each page, joined
    for (const Xml::XmlNode* page : root->children()) {
        texts.emplace_back();
        for (const Xml::XmlNode* item : page->children())
            if (const Xml::XmlNode* text = item->findChild("text"))
                texts.back() += text->text() + " ";
    }
    int mentions = 0;
    for (const std::string& words : texts)
        for (auto award = words.find("25000"); award != std::string::npos;
             award = words.find("25000", award + 1)) {
            ++mentions;
            // The award goes with the last flower leaving the board; winning
            // the level (every cell cleared) brings the time and chain bonuses.
            const auto start = words.rfind(". ", award);
            const auto from = start == std::string::npos ? 0 : start + 2;
            const std::string sentence = words.substr(from, words.find('.', award) - from);
            EXPECT_NE(sentence.find("flower"), std::string::npos) << sentence;
            EXPECT_EQ(sentence.find("cell"), std::string::npos) << sentence;
        }
    EXPECT_EQ(mentions, 1);
    const auto keys = std::find_if(texts.begin(), texts.end(), [](const std::string& words) {
        return words.rfind("Keys and controller", 0) == 0;
    });
    ASSERT_NE(keys, texts.end()) << "no page titled Keys and controller";
    for (const char* told : {"arrow keys", "Tab", "Space", "Enter", "Escape", "X catches", "d-pad",
                             "left stick", "A presses", "B goes back", "Y catches", "Start"})
        EXPECT_NE(keys->find(told), std::string::npos) << told;
}
