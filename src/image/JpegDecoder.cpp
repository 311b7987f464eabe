// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/JpegDecoder.h"

#include "image/Image.h"

#include <cstdio> // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <new>

namespace {

// Progressive files with endless scans would take minutes; real ones have a dozen.
constexpr int kMaxScans = 500;
// What libjpeg may keep for a whole picture (progressive coefficients take
// two bytes a sample): a few bytes per output sample, or this for tiny ones.
constexpr long kMemoryPerSample = 4;
constexpr long kMinMemory = 1L << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// libjpeg's default would print and exit(); we jump back into decode instead.
void jumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void stayQuiet(j_common_ptr, int) {}

void limitScans(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans)
        jumpBack(info);
}

// Grey or colour only; anything else has no pixel format to upload with.
bool layoutSupported(jpeg_decompress_struct& info)
{
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        return false;
    if (!Image::sizeAllowed(info.image_width, info.image_height))
        return false;
    jpeg_calc_output_dimensions(&info);
    return info.output_components == 1 || info.output_components == 3;
}

void limitMemory(jpeg_decompress_struct& info)
{
    const long samples = static_cast<long>(info.output_width) *
                         static_cast<long>(info.output_height) * info.output_components;
    info.mem->max_memory_to_use = std::max(kMinMemory, samples * kMemoryPerSample);
}

// Decodes straight into the image's buffer, last row first, so the rows end
// up bottom-up.
bool readPicture(jpeg_decompress_struct& info, Image& image)
{
    jpeg_read_header(&info, TRUE);
    if (!layoutSupported(info))
        return false;
    limitMemory(info);
    jpeg_start_decompress(&info);
    const int components = info.output_components;
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * components;
    const JDIMENSION height = info.output_height;
    image.setPicture(static_cast<int>(info.output_width), static_cast<int>(height), components,
                     Image::formatForComponents(components, image.fileName()), false);
    std::uint8_t* pixels = image.allocatePixels(rowBytes * height);
    while (info.output_scanline < height) {
        JSAMPROW row = pixels + rowBytes * (height - 1 - info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

void JpegDecoder::decode(const std::uint8_t* bytes, std::size_t size, Image& image)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.emit_message = stayQuiet;
    progress.progress_monitor = limitScans;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&info);
        info.progress = &progress;
        jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
        try {
            if (readPicture(info, image))
                image.markValid();
        } catch (const std::bad_alloc&) {
            image.reset();
        }
    }
    jpeg_destroy_decompress(&info);
}
