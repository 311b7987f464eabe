// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

class FilePack;
class Image;

// Pictures the first screens draw, read and decoded on a thread of their own
// while the window and its OpenGL context are being made, so that drawing
// them the first time only uploads them. A picture that does not decode is
// left to its texture, which decodes and reports it as ever; so is one whose
// decoding fails with an exception, which the log tells.
class ImagePrefetch {
public:
    using Decoder = std::unique_ptr<Image> (*)(const FilePack& pack, const std::string& name);

    // Decodes `names` of `pack`, in their order, with `decoder` (null: the
    // picture files' own decoding); the pack must stay until stop.
    static void start(const FilePack& pack, std::vector<std::string> names,
                      Decoder decoder = nullptr);
    // Gives up the pictures not begun yet for `names` of `pack`, when the
    // first screens turn out to draw those instead (the pack must stay until
    // stop). Nothing while no decoding was started.
    static void redirect(const FilePack& pack, std::vector<std::string> names);
    // The decoded picture of `name` from `pack`, once: waits while it is being
    // decoded and decodes it at once when it was not begun yet. Nothing when
    // it was not asked for or does not decode.
    static std::unique_ptr<Image> take(const FilePack* pack, const std::string& name);
    // The picture of `name` decoded ahead, else decoded now; nothing when the
    // file is missing or does not decode.
    static std::unique_ptr<Image> takeOrDecode(const FilePack& pack, const std::string& name);
    // Gives up `name` of `pack` without decoding it (its picture is drawn
    // from elsewhere); its memory goes at once or as soon as it is decoded.
    static void drop(const FilePack* pack, const std::string& name);
    // Waits for the thread and drops the pictures nobody took.
    static void stop();
    // Pictures asked for and not yet taken (decoded, being decoded or waiting).
    static std::size_t untakenCount();
};
