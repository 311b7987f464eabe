#include "image/JpegDecoder.h"

#include "image/Image.h"

#include <cstdio> // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <new>
#include <vector>

namespace {

// Progressive files with endless scans would take minutes; real ones have a dozen.
constexpr int kMaxScans = 500;

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

bool readPicture(jpeg_decompress_struct& info, Image& image, std::vector<std::uint8_t>& rows)
{
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        return false;
    if (!Image::sizeAllowed(info.image_width, info.image_height))
        return false;
    jpeg_start_decompress(&info);
    const int components = info.output_components;
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * components;
    const JDIMENSION height = info.output_height;
    rows.resize(rowBytes * height);
    while (info.output_scanline < height) {
        JSAMPROW row = rows.data() + rowBytes * (height - 1 - info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    image.setPicture(static_cast<int>(info.output_width), static_cast<int>(height), components,
                     Image::formatForComponents(components, image.fileName()), false);
    std::copy(rows.begin(), rows.end(), image.allocatePixels(rows.size()));
    return true;
}

} // namespace

void JpegDecoder::decode(const std::uint8_t* bytes, std::size_t size, Image& image)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    std::vector<std::uint8_t> rows; // outside the jump, so a longjmp skips no destructor
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.emit_message = stayQuiet;
    progress.progress_monitor = limitScans;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&info);
        info.progress = &progress;
        jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
        try {
            if (readPicture(info, image, rows))
                image.markValid();
        } catch (const std::bad_alloc&) {
            image.reset();
        }
    }
    jpeg_destroy_decompress(&info);
}
