// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/Scrambler.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text)
{
    return {text.begin(), text.end()};
}

} // namespace

TEST(Scrambler, RoundTripsRandomTextsAndKeys)
{
    std::mt19937 random(7);
    Scrambler scrambler;
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> text(1 + random() % 400);
        for (auto& b : text)
            b = static_cast<std::uint8_t>(random());
        std::string key(1 + random() % 40, ' ');
        for (auto& c : key)
            c = static_cast<char>(random());
        const auto scrambled = scrambler.scramble(text.data(), text.size(), key.data(), key.size());
        ASSERT_EQ(scrambled.size(), text.size() + 1);
        EXPECT_LT(scrambled[0], std::min<std::size_t>(text.size(), 100));
        const auto back =
            scrambler.unscramble(scrambled.data(), scrambled.size(), key.data(), key.size());
        ASSERT_EQ(back, text) << "round " << round;
    }
}

TEST(Scrambler, ChainsEveryByteWithTheKeyAndThePreviousOutput)
{
    const std::string key = "k3y";
    const auto text = bytesOf("abcdef");
    const auto out = Scrambler().scramble(text.data(), text.size(), key.data(), key.size());
    const std::size_t r = out[0];
    for (std::size_t i = 1; i <= text.size(); ++i) {
        const std::uint8_t rotated = text[(r + i - 1) % text.size()];
        const std::uint8_t p = out[i - 1];
        const std::uint8_t expected =
            static_cast<std::uint8_t>(((rotated ^ p) ^ key[i % key.size()]) + p);
        EXPECT_EQ(out[i], expected) << i;
    }
}

TEST(Scrambler, DegenerateInputsGiveEmptyResults)
{
    const std::uint8_t one[1] = {3};
    EXPECT_TRUE(Scrambler().scramble(one, 0, "k", 1).empty());
    EXPECT_TRUE(Scrambler().unscramble(one, 1, "k", 1).empty());
    EXPECT_TRUE(Scrambler().unscramble(one, 0, "k", 1).empty());
    // A damaged rotation byte stays inside the text.
    const std::uint8_t damaged[3] = {250, 1, 2};
    EXPECT_EQ(Scrambler().unscramble(damaged, 3, "k", 1).size(), 2u);
}
