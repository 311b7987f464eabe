// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/PngDecoder.h"

#include "image/Image.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr std::size_t kSignatureSize = 8;
// Deflate cannot pack more than about 1032 bytes into one.
constexpr std::size_t kMaxInflation = 1100;
// No chunk may claim more memory than the picture's own RGBA pixels, or this
// much for small pictures (room for a colour profile).
constexpr png_alloc_size_t kMinChunkMemory = png_alloc_size_t{1} << 20;
constexpr png_uint_32 kMaxStoredChunks = 32;
// Metadata the game never uses: skipped in small pieces instead of being read
// whole into memory, so a lying length costs nothing.
constexpr png_byte kSkippedChunks[] = "tEXt\0zTXt\0iTXt\0sPLT\0pCAL\0sCAL\0eXIf\0"
                                      "hIST\0tIME\0pHYs\0oFFs\0sTER\0";
constexpr int kSkippedChunkCount = (sizeof kSkippedChunks - 1) / 5;

struct MemoryReader {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t pos;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->size - reader->pos < count)
        png_error(png, "read past the end of the file");
    std::memcpy(out, reader->bytes + reader->pos, count);
    reader->pos += count;
}

void ignoreWarning(png_structp, png_const_charp) {}

// Errors land back in decode through the jump buffer; nothing is printed.
void raiseError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void setTransformations(png_structp png, png_infop info)
{
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_color_16p background = nullptr;
    if (png_get_bKGD(png, info, &background))
        png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double fileGamma = 0.0;
    if (png_get_gAMA(png, info, &fileGamma))
        png_set_gamma(png, 2.2, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

std::uint32_t readU32BigEndian(const std::uint8_t* at)
{
    return (static_cast<std::uint32_t>(at[0]) << 24) | (static_cast<std::uint32_t>(at[1]) << 16) |
           (static_cast<std::uint32_t>(at[2]) << 8) | at[3];
}

// Taken from the header chunk, which must come first; libpng refuses any
// other order before it allocates.
png_alloc_size_t chunkMemoryLimit(const std::uint8_t* bytes, std::size_t size)
{
    constexpr std::size_t kHeaderEnd = kSignatureSize + 8 + 8; // length, type, width, height
    if (size < kHeaderEnd)
        return kMinChunkMemory;
    const std::uint32_t width = readU32BigEndian(bytes + kSignatureSize + 8);
    const std::uint32_t height = readU32BigEndian(bytes + kSignatureSize + 12);
    if (!Image::sizeAllowed(width, height))
        return kMinChunkMemory;
    return std::max<png_alloc_size_t>(kMinChunkMemory, png_alloc_size_t{width} * height * 4);
}

void limitMemory(png_structp png, const std::uint8_t* bytes, std::size_t size)
{
    png_set_user_limits(png, Image::kMaxDimension, Image::kMaxDimension);
    png_set_chunk_malloc_max(png, chunkMemoryLimit(bytes, size));
    png_set_chunk_cache_max(png, kMaxStoredChunks);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
}

// Decodes top-down straight into the image's buffer, last row first, so the
// rows end up bottom-up.
void readPicture(png_structp png, png_infop info, std::size_t fileSize, Image& image,
                 std::vector<png_bytep>& rowPointers)
{
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!Image::sizeAllowed(width, height))
        png_error(png, "picture too large");
    const std::size_t packedRow = png_get_rowbytes(png, info) + 1;
    if (packedRow * height / kMaxInflation > fileSize)
        png_error(png, "more pixels than the file can hold");
    setTransformations(png, info);
    const int components = png_get_channels(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (components != 3 && components != 4)
        png_error(png, "unexpected channel count");
    if (rowBytes != static_cast<std::size_t>(width) * components)
        png_error(png, "unexpected row size");
    image.setPicture(static_cast<int>(width), static_cast<int>(height), components,
                     Image::formatForComponents(components, image.fileName()), false);
    std::uint8_t* pixels = nullptr;
    try {
        pixels = image.allocatePixels(rowBytes * height);
        rowPointers.resize(height);
    } catch (const std::bad_alloc&) {
        pixels = nullptr;
    }
    if (pixels == nullptr)
        png_error(png, "Visual PNG: out of memory");
    for (png_uint_32 y = 0; y < height; ++y)
        rowPointers[y] = pixels + rowBytes * (height - 1 - y);
    png_read_image(png, rowPointers.data());
    png_read_end(png, nullptr);
    image.markValid();
}

} // namespace

void PngDecoder::decode(const std::uint8_t* bytes, std::size_t size, Image& image)
{
    if (size < kSignatureSize || png_sig_cmp(bytes, 0, kSignatureSize) != 0)
        return;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, raiseError, ignoreWarning);
    if (png == nullptr)
        return;
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{bytes, size, 0};
    // Owned outside the jump so that a longjmp cannot skip its destructor.
    std::vector<png_bytep> rowPointers;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_set_read_fn(png, &reader, readFromMemory);
        limitMemory(png, bytes, size);
        readPicture(png, info, size, image, rowPointers);
    }
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
}
