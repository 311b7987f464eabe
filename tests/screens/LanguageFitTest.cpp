// SPDX-License-Identifier: GPL-3.0-or-later
// Every language's texts fit where the game draws them: each screen and
// dialog is drawn whole in each built catalogue's language while the font
// records what it is asked to draw, and every line is measured with the
// font's own metrics against the box it belongs to and against the others.
#include "screens/GameRun.h"

#include "game/HudLayout.h"
#include "game/LevelPlay.h"
#include "game/NewElementNotice.h"
#include "objects/Font.h"
#include "screens/ContinueDialog.h"
#include "screens/HelpScreen.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/NameDialog.h"
#include "screens/SaveFailureNotice.h"
#include "screens/TextBlock.h"
#include "utils/Translation.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iterator>
#include <sstream>

namespace {

struct Box {
    float x0, y0, x1, y1;
    bool holds(float x, float y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    float area() const { return (x1 - x0) * (y1 - y0); }
};

constexpr Box kScreen{0.0f, 0.0f, 800.0f, 600.0f};
// Inside the results panel's gold frame, and its statistics' frame.
constexpr Box kResultsPanel{184.0f, 64.0f, 616.0f, 536.0f};
constexpr Box kStatistics{202.0f, 256.0f, 598.0f, 466.0f};
// The top of the play screen between its corner plaques, where notices stand.
constexpr Box kBetweenPlaques{HudLayout::kScore.x1, 0.0f, HudLayout::kGauge.x0,
                              HudLayout::kScore.y1};
// The level choice's number between the preview and the slider, left of
// the next button, and the open levels between the slider's end labels.
constexpr Box kLevelNumber{80.0f, 350.0f, 660.0f, 410.0f};
constexpr Box kOpenLevels{170.0f, 450.0f, 630.0f, 486.0f};
// Inside the frames of the name dialog and of the continue dialog, between
// the latter's greeting and its first button.
constexpr Box kNameDialogRoom{30.0f, 20.0f, 482.0f, 240.0f};
constexpr Box kContinueRoom{118.0f, 151.0f, 394.0f, 290.0f};
// Rounding, and the outline's one unit around the letters.
constexpr float kSlack = 1.0f;

struct Line {
    std::string text;
    Box box; // where its glyphs land
};

// One line per line of every text drawn; an outlined text's shadow copies,
// one unit off in each direction, are the same line.
class DrawnLines : public Font::DrawObserver {
public:
    DrawnLines() { Font::setDrawObserver(this); }
    ~DrawnLines() override { Font::setDrawObserver(nullptr); }
    DrawnLines(const DrawnLines&) = delete;
    DrawnLines& operator=(const DrawnLines&) = delete;

    void drawn(const Font& font, const char* text, float size, float x, float y,
               TextSpacing) override
    {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        std::istringstream lines(text);
        std::string line;
        for (float top = y - size; std::getline(lines, line); top += size) {
            // Spaces at the end draw nothing.
            line.erase(line.find_last_not_of(" \t\r") + 1);
            if (line.empty())
                continue;
            const float width = font.measure(line.c_str(), size);
            const Box at{m[0] * x + m[12], m[5] * top + m[13], m[0] * (x + width) + m[12],
                         m[5] * (top + size) + m[13]};
            if (!isCopy(line, at))
                m_lines.push_back({line, at});
        }
    }
    const std::vector<Line>& lines() const { return m_lines; }

private:
    bool isCopy(const std::string& text, const Box& at) const
    {
        for (const Line& other : m_lines)
            if (other.text == text && std::abs(other.box.x0 - at.x0) <= 2.0f * kSlack &&
                std::abs(other.box.y0 - at.y0) <= 2.0f * kSlack &&
                std::abs(other.box.y1 - at.y1) <= kSlack)
                return true;
        return false;
    }
    std::vector<Line> m_lines;
};

bool overlap(const Box& a, const Box& b)
{
    return std::min(a.x1, b.x1) - std::max(a.x0, b.x0) > kSlack &&
           std::min(a.y1, b.y1) - std::max(a.y0, b.y0) > kSlack;
}

std::string describe(const Box& b)
{
    std::ostringstream out;
    out << "(" << b.x0 << ", " << b.y0 << ")-(" << b.x1 << ", " << b.y1 << ")";
    return out.str();
}

// The codes of po/LINGUAS, then the pseudo-language; English is the reference.
std::vector<std::string> languages()
{
    std::vector<std::string> codes{"en"};
    std::ifstream list(std::string(VM_SOURCE_DIR) + "/po/LINGUAS");
    for (std::string code; list >> code;)
        if (code[0] != '#')
            codes.push_back(code);
    codes.push_back("pseudo");
    return codes;
}

std::string cataloguePath(const std::string& code)
{
    return std::string(VM_CATALOGUE_DIR) + "/" + code + ".mo";
}

class LanguageFit : public ::testing::TestWithParam<std::string> {
protected:
    void TearDown() override { Translation::use({}, ""); }

    // Draws the front screen whole, then `extra` over it, and checks every
    // line drawn: in the innermost of the boxes (or the screen) holding its
    // start, apart from the others, every character drawable.
    void expectFit(const std::string& screen, std::vector<Box> boxes,
                   const std::function<void()>& extra = {})
    {
        boxes.push_back(kScreen);
        std::vector<Line> lines;
        {
            DrawnLines drawn;
            m_run->app().redrawWhole();
            m_run->driver().runFrames(1);
            if (extra)
                extra();
            lines = drawn.lines();
        }
        const std::string where = GetParam() + ", " + screen + ": \"";
        const Font& font = m_run->main().resources().font();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Line& line = lines[i];
            const char32_t missing = font.firstMissingGlyph(line.text.c_str());
            EXPECT_EQ(missing, 0u)
                << where << line.text << "\" has no glyph for U+" << std::hex << std::uppercase
                << std::setw(4) << std::setfill('0') << std::uint32_t(missing);
            const Box* box = &kScreen;
            for (const Box& b : boxes)
                if (b.holds(line.box.x0 + kSlack, line.box.y0 + kSlack) && b.area() < box->area())
                    box = &b;
            EXPECT_TRUE(line.box.x0 >= box->x0 - kSlack && line.box.x1 <= box->x1 + kSlack &&
                        line.box.y0 >= box->y0 - kSlack && line.box.y1 <= box->y1 + kSlack)
                << where << line.text << "\" at " << describe(line.box) << " leaves its box "
                << describe(*box);
            for (std::size_t j = i + 1; j < lines.size(); ++j)
                EXPECT_FALSE(overlap(line.box, lines[j].box))
                    << where << line.text << "\" at " << describe(line.box) << " overlaps \""
                    << lines[j].text << "\" at " << describe(lines[j].box);
        }
    }

    void back() { m_run->press(Config::get().m_backKey); }
    void open(const char* button) { m_run->click(m_run->main().button(button)); }

    void checkHelpPages()
    {
        open("m_help_btn");
        HelpScreen& help = *m_run->main().helpScreen();
        for (int page = 1; page <= help.pageCount(); ++page) {
            std::vector<Box> boxes;
            for (const auto& item : help.items()) {
                if (item->page != page || item->block == nullptr)
                    continue;
                boxes.push_back({item->x, item->y - item->fontSize, item->x + item->width,
                                 item->y + (item->height - 1.0f) * item->fontSize});
                EXPECT_EQ(item->block->shownLines(), item->block->lines().size())
                    << GetParam() << ", help page " << page << ": \"" << item->text
                    << "\" needs more lines than its box holds";
            }
            expectFit("help page " + std::to_string(page), boxes);
            m_run->click(help.nextButton());
        }
        back();
    }

    // The finished board's panel for a level played with `lives`, won or lost.
    void checkResults(KeyValueFile file, const std::string& name, int level, int lives, bool won)
    {
        GameWindow& game = *m_run->main().game();
        file.setInt("game.m_level", level);
        file.setInt("game.m_lives", lives);
        ASSERT_TRUE(game.load(file)) << name;
        runIntro(*m_run, game);
        Field& field = *game.field();
        if (won)
            LevelPlay::clearBoard(field);
        else
            LevelPlay::fillBoard(field);
        ASSERT_TRUE(m_run->driver().runUntil([&] { return field.resultsAlpha() >= 1.0f; })) << name;
        expectFit("results panel, " + name, {kResultsPanel, kStatistics});
    }

    void checkPlayScreen()
    {
        GameWindow& game = *m_run->main().game();
        runIntro(*m_run, game);
        const Font& font = m_run->main().resources().font();
        for (int e = 0; e < int(NewElementNotice::Element::Count); ++e) {
            const std::string words = NewElementNotice::words(NewElementNotice::Element(e));
            expectFit("new-element notice", {kBetweenPlaques},
                      [&] { NewElementNotice::drawBanner(font, words, 1.0f); });
        }
        for (const int error : {ENOSPC, EROFS, EACCES, EIO}) {
            const std::string text = SaveFailureNotice::textFor(error);
            expectFit("save-failure notice", {kBetweenPlaques},
                      [&] { SaveFailureNotice::drawLine(font, text, 1.0f); });
            // Long lines break in two rather than shrink past reading; the
            // English ones that fit stay one line.
            const auto shown = SaveFailureNotice::layout(font, text);
            EXPECT_GE(shown.size, 0.75f * SaveFailureNotice::kTextSize)
                << GetParam() << ", save-failure notice: \"" << text << "\" drawn too small";
            if (GetParam() == "en" && error != EACCES) {
                EXPECT_EQ(shown.lines.size(), 1u) << text;
            }
        }
        checkNameDialog();
        // Each ending played from the board as it began; an ordinary win
        // shows the last level's words but for the line above the title.
        KeyValueFile fresh;
        m_run->main().fillSavedGame(fresh);
        checkResults(fresh, "a life lost", 3, 3, false);
        checkResults(fresh, "game over", 3, 0, false);
        checkResults(fresh, "all levels", GameWindow::kLastLevel, 2, true);
    }

    // The room inside a dialog's frame, given from the dialog's origin.
    static std::vector<Box> inDialog(const Dialog& dialog, Box room)
    {
        return {{dialog.positionX() + room.x0, dialog.positionY() + room.y0,
                 dialog.positionX() + room.x1, dialog.positionY() + room.y1}};
    }

    void checkNameDialog()
    {
        NameDialog dialog(m_run->main().resources(), m_run->music(), 9876543);
        dialog.setScreenSize(800, 600);
        dialog.setPosition(144.0f, 172.0f, 0.0f);
        dialog.setBackgroundSize(512, 256);
        m_run->app().pushDialog(dialog);
        m_run->driver().runFrames(2);
        expectFit("name dialog", inDialog(dialog, kNameDialogRoom));
        dialog.onControl(*dialog.controls().front());
        m_run->driver().runFrames(2);
    }

    std::unique_ptr<GameRun> m_run;
};

TEST_P(LanguageFit, EveryScreenAndDialogKeepsItsTextsInTheirBoxesApartAndDrawable)
{
    const std::string code = GetParam();
    Catalogue catalogue;
    if (code != "en") {
        std::ifstream file(cataloguePath(code), std::ios::binary);
        if (!file)
            GTEST_SKIP() << cataloguePath(code) << " is not built";
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        ASSERT_TRUE(catalogue.load(bytes.data(), bytes.size())) << catalogue.problem();
    }
    GameFolder folder;
    m_run = std::make_unique<GameRun>();
    REQUIRE_GAME(*m_run);
    Translation::use(std::move(catalogue), code == "en" ? "" : code);

    expectFit("main menu", {});
    open("m_options_btn");
    expectFit("options", {});
    back();
    checkHelpPages();
    open("m_top_btn");
    expectFit("high scores", {});
    back();
    open("m_game_btn");
    LevelChoiceScreen& choice = *m_run->main().levelChoice();
    m_run->click(choice.nextButton());
    expectFit("level choice", {kLevelNumber, kOpenLevels});
    m_run->click(choice.prevButton());
    m_run->click(choice.okButton());
    ASSERT_TRUE(m_run->driver().runUntil([&] { return m_run->main().game() != nullptr; }));
    checkPlayScreen();
    back();
    open("m_game_btn");
    ASSERT_NE(m_run->main().continueDialog(), nullptr);
    expectFit("continue dialog", inDialog(*m_run->main().continueDialog(), kContinueRoom));
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageFit, ::testing::ValuesIn(languages()),
                         [](const auto& info) { return info.param; });

TEST(LanguageFitCatalogues, SomeLanguageIsBuiltToBeChecked)
{
    int built = 0;
    for (const std::string& code : languages())
        built += std::ifstream(cataloguePath(code)).good() ? 1 : 0;
    EXPECT_GT(built, 0) << "no compiled catalogue in " << VM_CATALOGUE_DIR;
}

} // namespace
