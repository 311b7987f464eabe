// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditBox.h"
#include "platform/Clipboard.h"
#include "platform/VirtualKey.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

class FakeClipboard : public Clipboard {
public:
    bool hasText() const override { return available; }
    std::string text() const override { return contents; }
    void setText(const std::string& text) override { contents = text; }
    bool available = true;
    std::string contents;
};

class EditBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clipboard::install(&clipboard);
        box.setPosition(100.0f, 100.0f, 0.0f);
    }
    void TearDown() override { Clipboard::install(nullptr); }
    void typeText(const std::string& text)
    {
        for (char c : text)
            box.onChar(std::uint8_t(c), 1);
    }

    FakeClipboard clipboard;
    std::unique_ptr<Texture> texture = makeTexture(200, 60); // two frames of 30
    OwnerWindow owner;
    EditBox box{owner, nullptr, 16.0f, texture.get()};
};

TEST_F(EditBoxTest, TakesItsSizeFromOneOfTheTwoFrames)
{
    EXPECT_EQ(box.width(), 200.0f);
    EXPECT_EQ(box.height(), 30.0f);
    EXPECT_EQ(box.maxLength(), 10u);
}

TEST_F(EditBoxTest, OnlyAFocusedBoxTakesCharactersAndEditingKeys)
{
    typeText("abc");
    EXPECT_EQ(box.text(), "");
    EXPECT_TRUE(box.onLeftButtonDown(150, 110, 0));
    EXPECT_TRUE(box.hasFocus());
    typeText("abc");
    EXPECT_EQ(box.text(), "abc");
    EXPECT_FALSE(box.onLeftButtonDown(10, 10, 0));
    EXPECT_FALSE(box.hasFocus());
    typeText("d");
    box.onKeyDown(VirtualKey::Backspace);
    box.onKeyDown(VirtualKey::Home);
    EXPECT_EQ(box.text(), "abc") << "nor editing keys";
    EXPECT_EQ(box.caret(), 3u);
    // A release inside focuses too, but one outside changes nothing.
    EXPECT_TRUE(box.onLeftButtonUp(150, 110, 0));
    EXPECT_TRUE(box.hasFocus());
    EXPECT_FALSE(box.onLeftButtonUp(10, 10, 0));
    EXPECT_TRUE(box.hasFocus());
    EXPECT_TRUE(box.onMouseMove(150, 110, 0));
    EXPECT_FALSE(box.onMouseMove(10, 10, 0));
}

TEST_F(EditBoxTest, CharactersOutside32To126AreNeverInserted)
{
    box.setFocus(true);
    for (unsigned c : {8u, 9u, 13u, 27u, 31u, 127u, 200u, 0x263au})
        box.onChar(std::uint16_t(c), 1);
    EXPECT_EQ(box.text(), "");
    typeText(" ~");
    EXPECT_EQ(box.text(), " ~");
}

TEST_F(EditBoxTest, LettersTheFontHasCountAsOneCharacterEachTypedPastedOrErased)
{
    const std::vector<std::uint8_t> bytes = blockFontTga(Font::kMaxGlyphs + 1);
    Font font;
    ASSERT_TRUE(font.load(bytes.data(), bytes.size(), nullptr));
    EditBox named(owner, &font, 16.0f, texture.get());
    named.setFocus(true);
    // "€" and the emoji have no glyph; the tenth character fills the box.
    for (char32_t c : std::u32string(U"Zo\u00eb\u20ac \U0001F600\u0141ukasz\u0105"))
        named.onChar(c, 1);
    EXPECT_EQ(named.text(), "Zo\xc3\xab \xc5\x81ukasz");
    named.onKeyDown(VirtualKey::Home);
    for (int i = 0; i < 3; ++i)
        named.onKeyDown(VirtualKey::Right);
    EXPECT_EQ(named.caret(), 4u) << "after the two bytes of \"\xc3\xab\"";
    named.onKeyDown(VirtualKey::Backspace);
    named.onKeyDown(VirtualKey::Right);
    named.onKeyDown(VirtualKey::Delete);
    EXPECT_EQ(named.text(), "Zo ukasz");
    named.onKeyDown(VirtualKey::End);
    clipboard.contents = "\xc3\x89\xff\xe2\x82\xac!";
    named.paste();
    EXPECT_EQ(named.text(), "Zo ukasz\xc3\x89 ") << "cut after ten characters";
}

TEST_F(EditBoxTest, EditingKeysAlsoHeldMoveTheCaretAndDelete)
{
    box.setFocus(true);
    typeText("abcd");
    EXPECT_EQ(box.caret(), 4u);
    box.onKeyDown(VirtualKey::Left);
    box.onKeyDown(VirtualKey::Backspace);
    EXPECT_EQ(box.text(), "abd");
    EXPECT_EQ(box.caret(), 2u);
    EXPECT_TRUE(box.isCaretVisible());
    box.onKeyDown(VirtualKey::Delete);
    EXPECT_EQ(box.text(), "ab");
    box.onKeyDown(VirtualKey::Delete);
    EXPECT_EQ(box.text(), "ab");
    box.onKeyDown(VirtualKey::Home);
    EXPECT_EQ(box.caret(), 0u);
    box.onKeyDown(VirtualKey::Backspace);
    box.onKeyDown(VirtualKey::Left);
    EXPECT_EQ(box.caret(), 0u);
    EXPECT_EQ(box.text(), "ab");
    typeText("X");
    EXPECT_EQ(box.text(), "Xab");
    box.onKeyDown(VirtualKey::End);
    EXPECT_EQ(box.caret(), 3u);
    box.onKeyDown(VirtualKey::Right);
    EXPECT_EQ(box.caret(), 3u);
    // A held arrow keeps moving the caret through the window.
    owner.addControl(box);
    typeText("abc");
    owner.onKeyDown(VirtualKey::Left);
    for (int i = 0; i < 3; ++i)
        owner.onKeyRepeat(VirtualKey::Left);
    EXPECT_EQ(box.caret(), 2u);
}

TEST_F(EditBoxTest, TypingAndPastingStopAtMaxLength)
{
    box.setFocus(true);
    typeText("abcdefghijklmn");
    EXPECT_EQ(box.text(), "abcdefghij");
    EXPECT_EQ(box.caret(), 10u);
    box.setText("");
    clipboard.contents = "0123456789abcdefghij";
    box.paste();
    EXPECT_EQ(box.text(), "0123456789");
    EXPECT_EQ(box.caret(), 10u);
}

TEST_F(EditBoxTest, APasteTurnsCharactersItCannotShowIntoBlanksAtTheCaret)
{
    box.setFocus(true);
    typeText("ad");
    box.onKeyDown(VirtualKey::Left);
    clipboard.contents = "b\tc";
    box.paste();
    EXPECT_EQ(box.text(), "ab cd");
    EXPECT_EQ(box.caret(), 4u);
    clipboard.contents = "\xc3\xa9"; // one character, without a font to show it
    box.paste();
    EXPECT_EQ(box.text(), "ab c d");
}

TEST_F(EditBoxTest, NothingIsPastedWithoutTextOrWithoutControlOrShiftHeld)
{
    box.setFocus(true);
    clipboard.contents = "abc";
    box.onKeyDown(VirtualKey::V);
    box.onKeyDown(VirtualKey::Insert);
    clipboard.available = false;
    box.paste();
    EXPECT_EQ(box.text(), "");
}

TEST_F(EditBoxTest, TheCaretBlinksEvery500Milliseconds)
{
    const bool start = box.isCaretVisible();
    box.update(499.0f);
    EXPECT_EQ(box.isCaretVisible(), start);
    box.update(1.0f);
    EXPECT_NE(box.isCaretVisible(), start);
    box.update(250.0f);
    box.update(250.0f);
    EXPECT_EQ(box.isCaretVisible(), start);
}

} // namespace
