// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/Font.h"
#include "TestSupport.h"
#include "objects/Texture.h"

#include <GL/gl.h>

namespace {

const Rgba kInk{255, 255, 255, 255};
const Rgba kNone{0, 0, 0, 0};
constexpr int kLineRows = 11; // 10 row steps: at size 20 one texel is 2 units

// A font picture: each line a marker run of 2 columns, then glyph runs of the
// given widths, one empty column apart; lines 3 empty rows apart.
struct FontPicture {
    Picture picture;
    std::vector<std::vector<int>> runStarts;
};

FontPicture makeFont(const std::vector<std::vector<int>>& lines, int width)
{
    const int height = static_cast<int>(lines.size()) * (kLineRows + 3) + 3;
    FontPicture font{Picture(width, height, kNone), {}};
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const int top = 2 + static_cast<int>(line) * (kLineRows + 3);
        auto ink = [&](int x0, int w) {
            for (int y = top; y < top + kLineRows; ++y)
                for (int x = x0; x < x0 + w; ++x)
                    font.picture.at(x, y) = kInk;
        };
        ink(1, 2);
        int x = 4;
        font.runStarts.emplace_back();
        for (int w : lines[line]) {
            ink(x, w);
            font.runStarts.back().push_back(x);
            x += w + 1;
        }
    }
    return font;
}

// 94 glyphs of widths 1, 2, 3, 1, 2, 3 ... over two lines; "A" (index 32) is 3 wide.
std::vector<std::vector<int>> twoLines()
{
    std::vector<std::vector<int>> lines(2);
    for (int i = 0; i < Font::kGlyphCount; ++i)
        lines[i < 50 ? 0 : 1].push_back(i % 3 + 1);
    return lines;
}

// After the ASCII glyphs, a space run as wide as "A" and the 223 Latin
// letters, U+00A1 … U+017F, of widths 1, 2, 3, 4, 1, 2 ... 56 to a line.
std::vector<std::vector<int>> latinLines()
{
    std::vector<std::vector<int>> lines = twoLines();
    lines[1].push_back(3);
    for (int i = 0; i < Font::kMaxGlyphs - Font::kGlyphCount; ++i) {
        if (i % 56 == 0)
            lines.emplace_back();
        lines.back().push_back(i % 4 + 1);
    }
    return lines;
}

int widthOf(char c)
{
    return (c - Font::kFirstChar) % 3 + 1;
}

// Logical width of a glyph at size 20: two units for each texel of run plus margin.
float glyphWidth(char c)
{
    return 2.0f * static_cast<float>(widthOf(c) + 1);
}

constexpr float kSpace = 2.0f * (3 + 1); // from "A"

float latinWidth(char32_t code)
{
    const int index = code < 0x100 ? int(code) - 0xA1 : 95 + int(code) - 0x100;
    return 2.0f * static_cast<float>(index % 4 + 1 + 1) + kSpace / 10.0f;
}

struct LoadedFont {
    Bytes file;
    Font font;
};

void load(LoadedFont& loaded, const FontPicture& picture)
{
    loaded.file = tgaFile(picture.picture);
    ASSERT_TRUE(loaded.font.load(loaded.file.data(), loaded.file.size(), nullptr));
}

} // namespace

TEST(FontScanTest, GlyphsAreFoundLineByLineAfterEachMarker)
{
    const FontPicture picture = makeFont(twoLines(), 220);
    LoadedFont loaded;
    load(loaded, picture);
    const Font& font = loaded.font;
    EXPECT_EQ(font.glyphCount(), 94);
    const float w = 220.0f;
    const float h = static_cast<float>(picture.picture.height);
    // Line 1 occupies visual rows 2..12: rows h-3 down to h-13 counted from the bottom.
    const Font::Glyph& first = font.glyph(0);
    EXPECT_FLOAT_EQ(first.top, (h - 3) / h);
    EXPECT_FLOAT_EQ(first.bottom, (h - 13) / h);
    EXPECT_FLOAT_EQ(first.left, 3.0f / w);
    EXPECT_FLOAT_EQ(first.right, 5.0f / w);
    const Font::Glyph& secondLine = font.glyph(50);
    EXPECT_FLOAT_EQ(secondLine.left, (picture.runStarts[1][0] - 1) / w);
    EXPECT_FLOAT_EQ(secondLine.top, (h - 3 - 14) / h);
    EXPECT_FLOAT_EQ(font.lineHeight(), 10.0f / h);
}

TEST(FontScanTest, RunsAfterTheSpaceBoxAreLatinLettersUpToTheirCount)
{
    std::vector<std::vector<int>> lines(2, std::vector<int>(80, 1));
    LoadedFont loaded;
    load(loaded, makeFont(lines, 200));
    EXPECT_EQ(loaded.font.glyphCount(), 159) << "94, the space box, then 65 letters";
    EXPECT_TRUE(loaded.font.hasGlyph(0xA1 + 64));
    EXPECT_FALSE(loaded.font.hasGlyph(0xA1 + 65));
    lines.assign(8, std::vector<int>(80, 1));
    load(loaded, makeFont(lines, 200));
    EXPECT_EQ(loaded.font.glyphCount(), Font::kMaxGlyphs);
    EXPECT_TRUE(loaded.font.hasGlyph(0x17F));
}

TEST(FontScanTest, OtherLayoutsLeaveTheFontWithoutGlyphs)
{
    Font font;
    Bytes file = tgaFile(makeFont(twoLines(), 220).picture);
    Bytes wrongType = file;
    wrongType[2] = 10;
    EXPECT_FALSE(font.load(wrongType.data(), wrongType.size(), nullptr));
    Bytes truncated(file.begin(), file.end() - 1);
    EXPECT_FALSE(font.load(truncated.data(), truncated.size(), nullptr));
    Bytes noHeight = file;
    noHeight[14] = noHeight[15] = 0;
    EXPECT_FALSE(font.load(noHeight.data(), noHeight.size(), nullptr));
    EXPECT_EQ(font.glyphCount(), 0);
    EXPECT_EQ(font.measure("AB", 20), 0.0f);
}

TEST(FontMeasureTest, WidthsSpacesAndCharactersWithoutGlyphs)
{
    LoadedFont loaded;
    load(loaded, makeFont(twoLines(), 220));
    const Font& font = loaded.font;
    const float tenth = kSpace / 10.0f;
    EXPECT_NEAR(font.measure("AB", 20), glyphWidth('A') + tenth + glyphWidth('B') + tenth, 1e-4);
    EXPECT_NEAR(font.measure("A B", 20), glyphWidth('A') + tenth + kSpace + glyphWidth('B') + tenth,
                1e-4);
    EXPECT_NEAR(font.measure("A", 40), 2.0f * (glyphWidth('A') + tenth), 1e-4);
    EXPECT_NEAR(font.measure("A\x01\xe9\x7f", 20), glyphWidth('A') + tenth, 1e-4);
    EXPECT_NEAR(font.measure("", 20), 0.0f, 1e-4);
}

TEST(FontMeasureTest, ARunAfterTheGlyphsIsTheWordSpaceAndFewGlyphsHaveNone)
{
    // A run of 5 after the 94 glyphs: the space is its box (6 texels from margin
    // to margin), not the box of "A" (4 texels).
    std::vector<std::vector<int>> lines = twoLines();
    lines[1].push_back(5);
    LoadedFont loaded;
    load(loaded, makeFont(lines, 220));
    EXPECT_EQ(loaded.font.glyphCount(), 94);
    const float space = 2.0f * (5 + 1);
    EXPECT_NEAR(loaded.font.measure(" ", 20), space, 1e-4);
    EXPECT_NEAR(loaded.font.measure("AB", 20), glyphWidth('A') + glyphWidth('B') + space / 5,
                1e-4); // A font with fewer glyphs has no space advance at all.
    LoadedFont few;
    load(few, makeFont({{2, 3}}, 40));
    EXPECT_EQ(few.font.glyphCount(), 2);
    EXPECT_FLOAT_EQ(few.font.measure("!\"A", 20), 2.0f * 3 + 2.0f * 4);
}

TEST(FontUtf8Test, EachCharacterIsOneGlyphAndNoBreakSpaceIsASpace)
{
    LoadedFont loaded;
    load(loaded, makeFont(latinLines(), 300));
    const Font& font = loaded.font;
    const float tenth = kSpace / 10.0f;
    // "Zoë Łódź"
    const float word = glyphWidth('Z') + glyphWidth('o') + 2 * tenth + latinWidth(0xEB) + kSpace +
                       latinWidth(0x141) + latinWidth(0xF3) + glyphWidth('d') + tenth +
                       latinWidth(0x17A);
    EXPECT_NEAR(font.measure("Zo\xc3\xab \xc5\x81\xc3\xb3"
                             "d\xc5\xba",
                             20),
                word, 1e-4);
    // Read byte by byte, "é" would be "Ã©", two glyphs.
    EXPECT_NEAR(font.measure("\xc3\xa9", 20), latinWidth(0xE9), 1e-4);
    EXPECT_NEAR(font.measure("\xc2\xa0", 20), kSpace, 1e-4);
    EXPECT_EQ(font.firstMissingGlyph("Zo\xc3\xab \xc2\xa0\t\r\n\xc5\xbf"), 0u);
}

TEST(FontUtf8Test, InvalidBytesAndCharactersWithoutGlyphsAreSkippedAndReported)
{
    LoadedFont loaded;
    load(loaded, makeFont(latinLines(), 300));
    const Font& font = loaded.font;
    const float ab = font.measure("AB", 20);
    // A stray continuation byte, a cut sequence, an overlong "!", a surrogate, "€".
    for (const char* text : {"A\x80"
                             "B",
                             "A\xc3"
                             "B",
                             "A\xc0\xa1"
                             "B",
                             "A\xed\xa0\x80"
                             "B",
                             "A\xe2\x82\xac"
                             "B"})
        EXPECT_NEAR(font.measure(text, 20), ab, 1e-4) << text;
    EXPECT_EQ(font.firstMissingGlyph("A\xe2\x82\xac"), U'\u20ac');
    // Past U+10FFFF too; an invalid byte is reported as U+FFFD.
    for (const char* text : {"A\x80", "A\xc3", "\xc0\xa1", "\xed\xa0\x80", "\xf4\x90\x80\x80"})
        EXPECT_EQ(font.firstMissingGlyph(text), U'\ufffd') << text;
    EXPECT_EQ(font.firstMissingGlyph("A\x01"), 1u);
    // A picture with ASCII alone has no "é".
    LoadedFont ascii;
    load(ascii, makeFont(twoLines(), 220));
    EXPECT_EQ(ascii.font.firstMissingGlyph("caf\xc3\xa9"), U'\u00e9');
    EXPECT_NEAR(ascii.font.measure("A\xc3\xa9", 20), glyphWidth('A') + kSpace / 10, 1e-4);
}

class FontDrawTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        const FontPicture picture = makeFont(latinLines(), 300);
        m_file = tgaFile(picture.picture);
        m_texture = std::make_unique<Texture>("mui/font.tga", m_file, TextureWrap::Clamp,
                                              TextureMipmaps::None);
        m_texture->upload();
        ASSERT_TRUE(m_font.load(m_file.data(), m_file.size(), m_texture.get()));
        clear(0, 0, 0);
    }

    // Sharp texels, so edges can be found to the pixel.
    void useNearestFiltering()
    {
        m_texture->bind();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }

    Bytes m_file;
    std::unique_ptr<Texture> m_texture;
    Font m_font;
};

TEST_F(FontDrawTest, TextLandsWhereMeasureSays)
{
    useNearestFiltering();
    m_font.draw("AB", 20, 50, 100, 0, TextColour{});
    const auto span = inkSpan(90, Rgba{0, 0, 0, 255});
    // One margin texel (2 units) before the ink of A; B ends 2 units before its advance.
    EXPECT_EQ(span.first, 52);
    // Lit pixels are those whose centre lies inside the glyph quads.
    EXPECT_NEAR(span.second + 1.0f, 50 + m_font.measure("AB", 20) - kSpace / 10, 0.5f);
    EXPECT_TRUE(sameColour(pixel(53, 81), kInk)); // y - size + 1: the top row
    EXPECT_TRUE(sameColour(pixel(53, 99), kInk)); // the bottom row
    EXPECT_FALSE(sameColour(pixel(53, 101), kInk));
    EXPECT_FALSE(sameColour(pixel(53, 79), kInk));
    EXPECT_TRUE(glIsEnabled(GL_BLEND) == GL_FALSE);
}

TEST_F(FontDrawTest, ATwoByteCharacterDrawsAsItsOneGlyph)
{
    useNearestFiltering();
    const char* text = "\xc3\xa9\xc5\x81"; // "éŁ"
    m_font.draw(text, 20, 50, 100, 0, TextColour{});
    const auto span = inkSpan(90, Rgba{0, 0, 0, 255});
    EXPECT_EQ(span.first, 52);
    EXPECT_NEAR(span.second + 1.0f, 50 + m_font.measure(text, 20) - kSpace / 10, 0.5f);
}

TEST_F(FontDrawTest, TabsAdvanceToTheNextMultipleOfSix)
{
    useNearestFiltering();
    const Rgba black{0, 0, 0, 255};
    m_font.draw("\tA", 20, 10, 30, 0, TextColour{});
    EXPECT_EQ(inkSpan(20, black).first, 10 + static_cast<int>(6 * kSpace) + 2);
    clear(0, 0, 0);
    m_font.draw("AAAA\tA", 20, 10, 30, 0, TextColour{});
    const float fourA = 4 * (glyphWidth('A') + kSpace / 10);
    const int fifthA = 10 + static_cast<int>(fourA + 2 * kSpace) + 2;
    EXPECT_TRUE(sameColour(pixel(fifthA, 20), kInk));
    EXPECT_FALSE(sameColour(pixel(fifthA - 1, 20), kInk));
}

TEST_F(FontDrawTest, ALineFeedStartsSizeLowerAndATenthOfASpaceRight)
{
    useNearestFiltering();
    const Rgba black{0, 0, 0, 255};
    m_font.draw("A\nA", 20, 10, 30, 0, TextColour{});
    EXPECT_EQ(inkSpan(20, black).first, 12);
    EXPECT_NEAR(inkSpan(40, black).first, 12 + kSpace / 10, 0.5f);
}

TEST_F(FontDrawTest, OutlineCopiesUseTheSquaredAlpha)
{
    useNearestFiltering();
    clear(1, 1, 1);
    m_font.drawOutlined("A", 20, 50, 100, 0, TextColour{1, 1, 1, 0.5f});
    // Left of the ink only the copy one unit to the left covers the pixel.
    EXPECT_NEAR(pixel(51, 90).r, 191, 2);
    EXPECT_NEAR(pixel(55, 90).r, 255 * 0.75 * 0.75 * 0.75 * 0.75 * 0.5 + 127, 4);
}
