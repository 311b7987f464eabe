// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class FilePack;
class Image;

// Whether a texture repeats beyond its edges or clamps to them.
enum class TextureWrap { Clamp, Repeat };
// Whether a texture gets a mipmap chain (stored levels, else a built chain).
enum class TextureMipmaps { None, Build };

// An OpenGL texture made from an image file of a pack (or the disk, or bytes
// kept in memory). Every texture is in a global registry so it can be uploaded
// again whenever the OpenGL context is recreated. A texture made while no
// context exists still knows its size; reloadAll() uploads it later. Loaded
// textures know their size from the file's header and are decoded and
// uploaded when first bound, so start-up pays only for what is drawn.
class Texture {
public:
    // Remembers where the picture comes from; nothing is read yet.
    Texture(FilePack* pack, std::string fileName, TextureWrap wrap, TextureMipmaps mipmaps);
    // A texture whose file bytes are kept in memory instead of a pack.
    Texture(std::string fileName, std::vector<std::uint8_t> fileBytes, TextureWrap wrap,
            TextureMipmaps mipmaps);
    virtual ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Creates it knowing its size; the picture is decoded and uploaded on the
    // first bind. A file found nowhere, or one whose header does not read (or,
    // later, that does not decode), ends the program with a message naming it.
    static std::unique_ptr<Texture> load(FilePack* pack, const std::string& fileName,
                                         TextureWrap wrap = TextureWrap::Clamp,
                                         TextureMipmaps mipmaps = TextureMipmaps::None);

    // (Re)reads and decodes the file and, when a context is current, creates
    // the OpenGL texture from it. While the fine pictures are drawn (ArtSet)
    // their pixels are uploaded, and the texture keeps its base size.
    void upload();
    // Skips the OpenGL call when this texture is already the last one bound;
    // uploads first when a context exists and the texture has none yet.
    void bind() const;
    // One quad of the texture's own size with its top-left corner at (x, y)
    // in the 2D view (y downwards); the buffer's first row lies along y + h.
    void draw(float x, float y, float z) const;
    // Deletes the OpenGL texture; the source and the size are kept.
    void deleteTexture();
    // From the next upload on, under a software renderer, colours are stored
    // multiplied by their alpha (where the picture allows; see
    // hasPremultipliedAlpha once uploaded).
    void usePremultipliedAlpha();
    bool hasPremultipliedAlpha() const { return m_premultiplied; }
    // A premultiplied texture with sides of powers of two also holds each
    // smaller level down to one texel, for drawing a chosen level with
    // GL_TEXTURE_BASE_LEVEL.
    int levels() const { return m_levels; }
    // Texels across the uploaded base level (twice width() for fine pictures).
    int levelZeroWidth() const { return m_levelZeroWidth; }
    // Which upload gave this texture its pixels: OpenGL may hand out a
    // deleted name again for other pixels.
    std::uint64_t uploadNumber() const { return m_upload; }

    // Over the registry, around a change of the OpenGL context.
    static void reloadAll();
    static void deleteAll();
    // Deletes every OpenGL texture of the current context, which stays: each
    // is uploaded again when next bound, and other names held stay valid.
    static void unloadAll();
    static std::size_t registeredCount();
    // Counts the context changes (every deleteAll), so holders of other
    // OpenGL names can tell theirs are gone.
    static std::uint64_t contextGeneration();
    // For code that binds names of its own: the next bind() always binds.
    static void forgetBinding();
    // Counts the pictures given to OpenGL, so a frame built on the last one
    // knows when a texture's content may have changed under the same name.
    static std::uint64_t uploadCount();
    // How many binds reached OpenGL; lets tests see the cheap binding at work.
    static std::uint64_t bindsIssued();

    unsigned name() const { return m_name; }
    bool isUploaded() const { return m_name != 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int components() const { return m_components; }
    const std::string& fileName() const { return m_fileName; }
    FilePack* pack() const { return m_pack; }
    TextureWrap wrap() const { return m_wrap; }
    TextureMipmaps mipmaps() const { return m_mipmaps; }

private:
    std::vector<std::uint8_t> fetchBytes() const;
    std::unique_ptr<Image> decodeBase() const;
    std::unique_ptr<Image> decodeFine() const;
    // Size and components from the file's header; false when it does not read.
    bool readHeader();

    FilePack* m_pack = nullptr;
    std::string m_fileName;
    TextureWrap m_wrap;
    TextureMipmaps m_mipmaps;
    unsigned m_name = 0;
    int m_width = 0;
    int m_height = 0;
    int m_components = 0;
    std::vector<std::uint8_t> m_memoryBytes;
    bool m_fromMemory = false;
    bool m_wantsPremultiplied = false;
    bool m_premultiplied = false;
    int m_levels = 1;
    int m_levelZeroWidth = 0;
    std::uint64_t m_upload = 0;
};
