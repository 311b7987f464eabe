// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding full-size pictures and drawing a busy frame of sprites and text.
#include "image/Image.h"
#include "objects/Font.h"
#include "objects/GridSprite.h"
#include "objects/Texture.h"
#include "platform/GlContext.h"
#include "utils/FilePack.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <jpeglib.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kSide = 1024;

// A gradient with some noise, so it compresses like a painted background.
Bytes rgbPicture(int width, int height)
{
    Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    unsigned noise = 12345;
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        noise = noise * 1103515245u + 12345u;
        const int x = static_cast<int>(i / 3 % width);
        const int y = static_cast<int>(i / 3 / width);
        rgb[i] = static_cast<std::uint8_t>(x / 4 + (noise >> 28));
        rgb[i + 1] = static_cast<std::uint8_t>(y / 4 + (noise >> 29));
        rgb[i + 2] = static_cast<std::uint8_t>((x + y) / 8);
    }
    return rgb;
}

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

Bytes encodePng(const Bytes& rgb, int width, int height)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0)
        std::abort();
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgb.data() + static_cast<std::size_t>(y) * width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes encodeJpeg(const Bytes& rgb, int width, int height)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) +
                       static_cast<std::size_t>(info.next_scanline) * width * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

void decode(benchmark::State& state, const char* name, const Bytes& file)
{
    for (auto _ : state) {
        Image image;
        image.load(name, file.data(), file.size());
        if (!image.isValid())
            state.SkipWithError("the picture did not decode");
        benchmark::DoNotOptimize(image.dataSize());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void decodeJpeg1024(benchmark::State& state)
{
    decode(state, "bench.jpg", encodeJpeg(rgbPicture(kSide, kSide), kSide, kSide));
}
BENCHMARK(decodeJpeg1024)->Unit(benchmark::kMillisecond);

void decodePng1024(benchmark::State& state)
{
    decode(state, "bench.png", encodePng(rgbPicture(kSide, kSide), kSide, kSide));
}
BENCHMARK(decodePng1024)->Unit(benchmark::kMillisecond);

void writeFile(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

Bytes tgaFile(int width, int height, const std::function<std::uint32_t(int, int)>& bgra)
{
    Bytes out(18, 0);
    out[2] = 2;
    out[12] = width & 0xff;
    out[13] = width >> 8;
    out[14] = height & 0xff;
    out[15] = height >> 8;
    out[16] = 32;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < 4; ++i)
                out.push_back(static_cast<std::uint8_t>(bgra(x, y) >> (8 * i)));
    return out;
}

// The 800 x 600 2D view on a hidden window; null when there is no display.
std::unique_ptr<GlContext> openView()
{
    auto context = GlContext::createHidden(800, 600);
    if (!context)
        return nullptr;
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 600, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return context;
}

void draw1000SpriteInstances(benchmark::State& state)
{
    auto context = openView();
    if (!context) {
        state.SkipWithError("no OpenGL display");
        return;
    }
    // A real loaded sprite: 8 frames x 4 groups of 32 x 32 from a pack.
    const std::string dir = "/tmp/vm_media_bench_" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    writeFile(dir + "/skin.tga", tgaFile(256, 128, [](int x, int y) {
                  return 0x80000000u | static_cast<std::uint32_t>(x ^ y);
              }));
    const std::string description = "file_name dat/skin.tga frames 8 groups 4";
    writeFile(dir + "/skin.spr", Bytes(description.begin(), description.end()));
    FilePack pack;
    pack.addFile(dir + "/skin.tga", "dat/skin.tga", false);
    pack.addFile(dir + "/skin.spr", "dat/skin.spr", false);
    auto sprite = Sprite::load(pack, "dat/skin.spr");
    std::filesystem::remove_all(dir);
    std::vector<std::unique_ptr<Sprite>> instances;
    for (int i = 0; i < 1000; ++i) {
        instances.push_back(sprite->newInstance());
        instances.back()->setGroup(i % 4);
        instances.back()->setFps(static_cast<float>(15 + i % 30));
        instances.back()->setBlend(true);
        instances.back()->setFlipped(true);
    }
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        for (std::size_t i = 0; i < instances.size(); ++i) {
            instances[i]->update(16.0f);
            glPushMatrix();
            glTranslatef(static_cast<float>(i % 40) * 20.0f, static_cast<float>(i / 40) * 24.0f,
                         0.0f);
            instances[i]->draw();
            glPopMatrix();
        }
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    instances.clear();
}
BENCHMARK(draw1000SpriteInstances)->Unit(benchmark::kMillisecond);

void draw1000Glyphs(benchmark::State& state)
{
    auto context = openView();
    if (!context) {
        state.SkipWithError("no OpenGL display");
        return;
    }
    // One line: a marker and 94 glyphs of 3 columns each.
    const Bytes file = tgaFile(400, 16, [](int x, int y) {
        const bool ink = y > 2 && y < 14 && x > 0 && x < 396 && x % 4 != 0;
        return ink ? 0xffffffffu : 0u;
    });
    Texture texture("mui/font.tga", file, TextureWrap::Clamp, TextureMipmaps::None);
    texture.upload();
    Font font;
    font.load(file.data(), file.size(), &texture);
    std::string line(50, 'A');
    for (std::size_t i = 0; i < line.size(); ++i)
        line[i] = static_cast<char>('!' + i * 7 % 94);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        for (int row = 0; row < 20; ++row)
            font.draw(line.c_str(), 20, 10, 30 + row * 28.0f, 0, TextColour{1, 1, 0, 1});
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(draw1000Glyphs)->Unit(benchmark::kMillisecond);

} // namespace
BENCHMARK_MAIN();
