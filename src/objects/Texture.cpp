// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/Texture.h"

#include "image/Image.h"
#include "image/ImageHeader.h"
#include "objects/ArtSet.h"
#include "objects/ImagePrefetch.h"
#include "objects/VertexBatch.h"
#include "platform/GlContext.h"
#include "platform/GlDriver.h"
#include "utils/FatalError.h"
#include "utils/FilePack.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kModule = "objects/Texture";

// Never destroyed: a program ended by a fatal error takes its shell down at
// exit, after statics made later than the shell, and the shell still drops
// every texture's name.
std::vector<Texture*>& registry()
{
    static auto* const textures = new std::vector<Texture*>;
    return *textures;
}

unsigned lastBound = 0;
std::uint64_t bindCount = 0;
std::uint64_t generation = 0;
std::uint64_t uploads = 0;

void bindName(unsigned name)
{
    glBindTexture(GL_TEXTURE_2D, name);
    lastBound = name;
    ++bindCount;
}

GLint plainInternalFormat()
{
    return GlContext::desktopBitsPerPixel() >= 24 ? GL_RGBA : GL_RGBA16;
}

void uploadCompressed(const Image& image, bool withStoredLevels)
{
    using CompressedUpload = PFNGLCOMPRESSEDTEXIMAGE2DARBPROC;
    auto upload =
        reinterpret_cast<CompressedUpload>(GlContext::procAddress("glCompressedTexImage2DARB"));
    if (upload == nullptr)
        FatalError::raise("glCompressedTexImage2DARB != NULL", kModule, image.fileName());
    const GLenum format = glFormatOf(image.format());
    upload(GL_TEXTURE_2D, 0, format, image.width(), image.height(), 0,
           static_cast<GLsizei>(image.dataSize()), image.pixels());
    if (!withStoredLevels)
        return;
    for (int i = 0; i < image.mipmapCount(); ++i) {
        const MipLevel& level = image.mipmap(i);
        upload(GL_TEXTURE_2D, i + 1, format, level.width, level.height, 0,
               static_cast<GLsizei>(level.dataSize()), level.data.data());
    }
}

bool isPowerOfTwo(int size)
{
    return size > 0 && (size & (size - 1)) == 0;
}

// Only the base level of a built chain is ever sampled (the filter takes no
// mipmaps without stored levels). The utility builder also stretches other
// sizes to powers of two, so those still go through it to look the same.
void uploadBuiltChain(const Image& image, GLenum format)
{
    if (isPowerOfTwo(image.width()) && isPowerOfTwo(image.height())) {
        glTexImage2D(GL_TEXTURE_2D, 0, image.components(), image.width(), image.height(), 0, format,
                     GL_UNSIGNED_BYTE, image.pixels());
        return;
    }
    gluBuild2DMipmaps(GL_TEXTURE_2D, image.components(), image.width(), image.height(), format,
                      GL_UNSIGNED_BYTE, image.pixels());
}

void uploadPlain(const Image& image, TextureMipmaps mipmaps)
{
    const GLenum format = glFormatOf(image.format());
    if (mipmaps == TextureMipmaps::Build && image.mipmapCount() == 0) {
        uploadBuiltChain(image, format);
        return;
    }
    const GLint internalFormat = plainInternalFormat();
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, image.width(), image.height(), 0, format,
                 GL_UNSIGNED_BYTE, image.pixels());
    if (mipmaps == TextureMipmaps::None)
        return;
    for (int i = 0; i < image.mipmapCount(); ++i) {
        const MipLevel& level = image.mipmap(i);
        glTexImage2D(GL_TEXTURE_2D, i + 1, internalFormat, level.width, level.height, 0, format,
                     GL_UNSIGNED_BYTE, level.data.data());
    }
}

// Each level half the last, down to one texel across: the utility builder's
// plain average, the right filter for premultiplied texels. Other sizes it
// would stretch, so those keep their base level alone. Returns the level count.
int uploadWholeChain(const Image& image, GLenum format)
{
    const int width = image.width();
    const int height = image.height();
    if (!isPowerOfTwo(width) || !isPowerOfTwo(height)) {
        uploadPlain(image, TextureMipmaps::None);
        return 1;
    }
    gluBuild2DMipmaps(GL_TEXTURE_2D, plainInternalFormat(), width, height, format, GL_UNSIGNED_BYTE,
                      image.pixels());
    return 1 + static_cast<int>(std::log2(std::max(width, height)));
}

// Stored levels are filtered through only when they are uploaded, and the
// chain is capped at the last one stored so a short chain stays complete.
void setParameters(const Image& image, TextureWrap wrap, TextureMipmaps mipmaps)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const bool storedLevels = image.mipmapCount() > 0 && mipmaps == TextureMipmaps::Build;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    storedLevels ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (storedLevels)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, image.mipmapCount());
    const GLint mode = wrap == TextureWrap::Repeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
}

std::unique_ptr<Image> decodeBytes(const std::string& fileName,
                                   const std::vector<std::uint8_t>& bytes)
{
    auto image = std::make_unique<Image>();
    image->load(fileName, bytes.data(), bytes.size());
    return image;
}

} // namespace

Texture::Texture(FilePack* pack, std::string fileName, TextureWrap wrap, TextureMipmaps mipmaps)
    : m_pack(pack), m_fileName(std::move(fileName)), m_wrap(wrap), m_mipmaps(mipmaps)
{
    registry().push_back(this);
}

Texture::Texture(std::string fileName, std::vector<std::uint8_t> fileBytes, TextureWrap wrap,
                 TextureMipmaps mipmaps)
    : m_fileName(std::move(fileName)), m_wrap(wrap), m_mipmaps(mipmaps),
      m_memoryBytes(std::move(fileBytes)), m_fromMemory(true)
{
    registry().push_back(this);
}

Texture::~Texture()
{
    deleteTexture();
    auto& textures = registry();
    textures.erase(std::remove(textures.begin(), textures.end(), this), textures.end());
}

std::unique_ptr<Texture> Texture::load(FilePack* pack, const std::string& fileName,
                                       TextureWrap wrap, TextureMipmaps mipmaps)
{
    auto texture = std::make_unique<Texture>(pack, fileName, wrap, mipmaps);
    if (!texture->readHeader())
        texture->upload();
    return texture;
}

bool Texture::readHeader()
{
    const std::vector<std::uint8_t> bytes = fetchBytes();
    const std::optional<ImageHeader> header =
        ImageHeader::read(m_fileName, bytes.data(), bytes.size());
    if (!header)
        return false;
    m_width = header->width;
    m_height = header->height;
    m_components = header->components;
    return true;
}

std::vector<std::uint8_t> Texture::fetchBytes() const
{
    if (m_fromMemory)
        return m_memoryBytes;
    if (m_pack == nullptr)
        return {}; // the image reads the file from the disk
    return std::move(m_pack->getFile(m_fileName).data);
}

// The base set's picture: decoded ahead at start-up, else now.
std::unique_ptr<Image> Texture::decodeBase() const
{
    if (std::unique_ptr<Image> image = ImagePrefetch::take(m_pack, m_fileName))
        return image;
    return decodeBytes(m_fileName, fetchBytes());
}

// The fine set's picture when it is drawn and fits: exactly twice this
// texture's size, which stays the size it draws at.
std::unique_ptr<Image> Texture::decodeFine() const
{
    if (m_fromMemory || m_width <= 0 || m_height <= 0)
        return nullptr;
    std::unique_ptr<Image> image = ImagePrefetch::take(ArtSet::finePackFor(m_pack), m_fileName);
    if (image == nullptr) {
        const std::optional<std::vector<std::uint8_t>> bytes =
            ArtSet::fineBytes(m_pack, m_fileName);
        if (!bytes)
            return nullptr;
        image = decodeBytes(m_fileName, *bytes);
    }
    if (image->isValid() && image->width() == m_width * ArtSet::kFineFactor &&
        image->height() == m_height * ArtSet::kFineFactor)
        return image;
    ArtSet::reportUnfit(m_fileName);
    return nullptr;
}

void Texture::upload()
{
    deleteTexture();
    std::unique_ptr<Image> image = decodeFine();
    const bool fine = image != nullptr;
    if (fine) {
        ImagePrefetch::drop(m_pack, m_fileName);
    } else {
        image = decodeBase();
        m_width = image->width();
        m_height = image->height();
    }
    m_components = image->components();
    if (!GlContext::hasCurrent())
        return;
    m_premultiplied =
        m_wantsPremultiplied && GlDriver::rendersInSoftware() && image->premultiplyAlpha();
    glGenTextures(1, &m_name);
    m_upload = ++uploads;
    bindName(m_name);
    setParameters(*image, m_wrap, m_mipmaps);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows are packed without padding
    m_levelZeroWidth = image->width();
    m_levels = 1;
    if (image->isCompressed())
        uploadCompressed(*image, m_mipmaps == TextureMipmaps::Build);
    else if (m_premultiplied) // drawn one chosen level at a time (see GridSprite)
        m_levels = uploadWholeChain(*image, glFormatOf(image->format()));
    else if (fine)
        uploadPlain(*image, TextureMipmaps::None); // the builder's stretch would only blur it
    else
        uploadPlain(*image, m_mipmaps);
}

void Texture::usePremultipliedAlpha()
{
    m_wantsPremultiplied = true;
    if (isUploaded())
        deleteTexture(); // the next bind uploads it anew
}

void Texture::bind() const
{
    // Textures are always made as mutable objects; only the upload is deferred.
    if (m_name == 0 && GlContext::hasCurrent())
        const_cast<Texture*>(this)->upload();
    if (m_name != lastBound)
        bindName(m_name);
}

void Texture::draw(float x, float y, float z) const
{
    const auto w = static_cast<float>(m_width);
    const auto h = static_cast<float>(m_height);
    glEnable(GL_TEXTURE_2D);
    bind();
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.texCoord(0.0f, 1.0f);
    strip.vertex(x, y, z);
    strip.texCoord(0.0f, 0.0f);
    strip.vertex(x, y + h, z);
    strip.texCoord(1.0f, 1.0f);
    strip.vertex(x + w, y, z);
    strip.texCoord(1.0f, 0.0f);
    strip.vertex(x + w, y + h, z);
    strip.draw();
    glDisable(GL_TEXTURE_2D);
}

// A freed name may come back from glGenTextures, so the bind record must forget it.
void Texture::deleteTexture()
{
    if (m_name == 0)
        return;
    if (GlContext::hasCurrent())
        glDeleteTextures(1, &m_name);
    if (lastBound == m_name)
        lastBound = 0;
    m_name = 0;
}

// Names of an old context mean nothing in a new one; dropping them all before
// the first upload keeps a stale name from deleting a fresh texture.
void Texture::reloadAll()
{
    deleteAll();
    for (Texture* texture : registry())
        texture->upload();
    lastBound = 0;
}

void Texture::deleteAll()
{
    for (Texture* texture : registry())
        texture->deleteTexture();
    lastBound = 0;
    ++generation;
}

void Texture::unloadAll()
{
    for (Texture* texture : registry())
        texture->deleteTexture();
    lastBound = 0;
}

std::uint64_t Texture::contextGeneration()
{
    return generation;
}

void Texture::forgetBinding()
{
    lastBound = 0;
}

std::size_t Texture::registeredCount()
{
    return registry().size();
}

std::uint64_t Texture::uploadCount()
{
    return uploads;
}

std::uint64_t Texture::bindsIssued()
{
    return bindCount;
}
