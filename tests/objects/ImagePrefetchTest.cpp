// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/ImagePrefetch.h"
#include "TestSupport.h"
#include "image/Image.h"
#include "utils/Log.h"
#include "utils/TempDir.h"

#include <png.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

Picture striped(int width, int height)
{
    Picture picture(width, height, Rgba{0, 0, 255, 255});
    for (int x = 0; x < width; x += 3)
        picture.at(x, height / 2) = Rgba{255, 255, 0, 255};
    return picture;
}

std::vector<std::uint8_t> pixelsOf(const Image& image)
{
    return {image.pixels(), image.pixels() + image.dataSize()};
}

std::vector<std::uint8_t> decodedNow(FilePack& pack, const std::string& name)
{
    const PackEntry entry = pack.getFile(name);
    Image image;
    image.load(name, entry.data.data(), entry.data.size());
    return pixelsOf(image);
}

// Decodes as the game does, but throws for a.png.
std::unique_ptr<Image> failingOnA(const FilePack& pack, const std::string& name)
{
    if (name == "mui/a.png")
        throw std::runtime_error("no memory left");
    const PackEntry entry = pack.getFile(name);
    auto image = std::make_unique<Image>();
    image->load(name, entry.data.data(), entry.data.size());
    return image;
}

class ImagePrefetchTest : public testing::Test {
protected:
    void SetUp() override
    {
        files.add("mui/a.png", pngFile(striped(40, 30), PNG_COLOR_TYPE_RGB_ALPHA));
        files.add("mui/b.jpg", jpegFile(striped(64, 48)));
        files.add("mui/c.tga", tgaFile(striped(17, 5)));
        files.add("mui/broken.png", Bytes{137, 80, 78, 71, 1, 2, 3});
    }
    void TearDown() override { ImagePrefetch::stop(); }

    TestPack files;
};

} // namespace

TEST_F(ImagePrefetchTest, EachPictureIsHandedOutOnceAsItsOwnDecodingWouldGiveIt)
{
    ImagePrefetch::start(files.pack(), {"mui/a.png", "mui/b.jpg", "mui/c.tga"});
    EXPECT_EQ(ImagePrefetch::untakenCount(), 3u);
    for (const char* name : {"mui/c.tga", "mui/a.png", "mui/b.jpg"}) {
        const std::unique_ptr<Image> image = ImagePrefetch::take(&files.pack(), name);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->fileName(), name);
        EXPECT_EQ(pixelsOf(*image), decodedNow(files.pack(), name)) << name;
        EXPECT_EQ(ImagePrefetch::take(&files.pack(), name), nullptr) << name;
    }
    EXPECT_EQ(ImagePrefetch::untakenCount(), 0u);
}

TEST_F(ImagePrefetchTest, OtherNamesOtherPacksAndBrokenPicturesAreLeftToTheCaller)
{
    TestPack other;
    other.add("mui/a.png", pngFile(striped(40, 30), PNG_COLOR_TYPE_RGB_ALPHA));
    ImagePrefetch::start(files.pack(), {"mui/a.png", "mui/broken.png", "mui/absent.png"});
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/b.jpg"), nullptr);
    EXPECT_EQ(ImagePrefetch::take(&other.pack(), "mui/a.png"), nullptr);
    EXPECT_EQ(ImagePrefetch::take(nullptr, "mui/a.png"), nullptr);
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/broken.png"), nullptr);
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/absent.png"), nullptr);
    EXPECT_NE(ImagePrefetch::take(&files.pack(), "mui/a.png"), nullptr);
}

TEST_F(ImagePrefetchTest, StopDropsWhatNobodyTookAndAStartAfresh)
{
    ImagePrefetch::start(files.pack(), {"mui/a.png", "mui/b.jpg"});
    ImagePrefetch::stop();
    EXPECT_EQ(ImagePrefetch::untakenCount(), 0u);
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/a.png"), nullptr);
    ImagePrefetch::start(files.pack(), {"mui/b.jpg"});
    ImagePrefetch::start(files.pack(), {"mui/c.tga"});
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/b.jpg"), nullptr);
    EXPECT_NE(ImagePrefetch::take(&files.pack(), "mui/c.tga"), nullptr);
}

TEST_F(ImagePrefetchTest, ADroppedPictureIsNeverHandedOut)
{
    ImagePrefetch::start(files.pack(), {"mui/b.jpg", "mui/a.png", "mui/c.tga"});
    ImagePrefetch::drop(&files.pack(), "mui/c.tga");
    ImagePrefetch::drop(&files.pack(), "mui/b.jpg");
    EXPECT_EQ(ImagePrefetch::untakenCount(), 1u);
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/c.tga"), nullptr);
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/b.jpg"), nullptr);
    EXPECT_NE(ImagePrefetch::take(&files.pack(), "mui/a.png"), nullptr);
}

TEST_F(ImagePrefetchTest, ARedirectGivesUpThePicturesNotBegunForThoseOfAnotherPack)
{
    ImagePrefetch::redirect(files.pack(), {"mui/a.png"}); // without a start: nothing
    EXPECT_EQ(ImagePrefetch::untakenCount(), 0u);
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/a.png"), nullptr);
    TestPack fine;
    fine.add("mui/b.jpg", jpegFile(striped(128, 96)));
    ImagePrefetch::start(files.pack(), {"mui/a.png", "mui/b.jpg"});
    EXPECT_NE(ImagePrefetch::take(&files.pack(), "mui/a.png"), nullptr);
    // The thread may well have ended by now: a redirect starts it again.
    ImagePrefetch::redirect(fine.pack(), {"mui/b.jpg"});
    const std::unique_ptr<Image> image = ImagePrefetch::take(&fine.pack(), "mui/b.jpg");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 128);
    EXPECT_LE(ImagePrefetch::untakenCount(), 1u); // the base b.jpg when it had been begun
    ImagePrefetch::drop(&files.pack(), "mui/b.jpg");
    EXPECT_EQ(ImagePrefetch::untakenCount(), 0u);
}

TEST_F(ImagePrefetchTest, AFailureOfTheDecodingThreadIsLoggedAndThePictureLeftToTheCaller)
{
    TempDir folder;
    ASSERT_TRUE(Log::open("game.log"));
    ImagePrefetch::start(files.pack(), {"mui/a.png", "mui/c.tga"}, failingOnA);
    const std::string said = "Decoding mui/a.png ahead failed: no memory left";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (TempDir::readFile("game.log").find(said) == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_NE(TempDir::readFile("game.log").find(said), std::string::npos);
    EXPECT_EQ(ImagePrefetch::take(&files.pack(), "mui/a.png"), nullptr);
    EXPECT_NE(ImagePrefetch::take(&files.pack(), "mui/c.tga"), nullptr);
    ImagePrefetch::stop();
    Log::open("");
}
