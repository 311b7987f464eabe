// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/ImagePrefetch.h"

#include "image/Image.h"
#include "utils/FilePack.h"
#include "utils/Log.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace {

enum class Stage { Waiting, Decoding, Decoded, Taken };

struct Picture {
    const FilePack* pack = nullptr;
    std::string name;
    Stage stage = Stage::Waiting;
    std::unique_ptr<Image> image;
};

struct Prefetch {
    std::mutex mutex;
    std::condition_variable decoded;
    // A deque: pictures added later must not move those being decoded.
    std::deque<Picture> pictures;
    bool stopping = false;
    bool working = false;
    ImagePrefetch::Decoder decoder = nullptr;
    std::thread thread;

    ~Prefetch() { stop(); }
    void stop();
};

Prefetch& prefetch()
{
    static Prefetch state;
    return state;
}

std::unique_ptr<Image> decode(const FilePack& pack, const std::string& name)
{
    const std::optional<PackEntry> entry = pack.findFile(name);
    if (!entry || entry->data.empty())
        return nullptr;
    auto image = std::make_unique<Image>();
    image->load(name, entry->data.data(), entry->data.size());
    return image->isValid() ? std::move(image) : nullptr;
}

// A decoder that throws (out of memory, a library's own failure) leaves the
// picture undecoded, as a broken file does; on the decoding thread the
// exception would end the program.
std::unique_ptr<Image> decodeAhead(const Prefetch& state, const FilePack& pack,
                                   const std::string& name)
{
    try {
        return (state.decoder != nullptr ? state.decoder : decode)(pack, name);
    } catch (const std::exception& error) {
        Log::write("Decoding %s ahead failed: %s", name.c_str(), error.what());
    } catch (...) {
        Log::write("Decoding %s ahead failed.", name.c_str());
    }
    return nullptr;
}

// The next waiting picture, now marked as being decoded; null when none is left.
Picture* nextPicture(Prefetch& state)
{
    if (state.stopping)
        return nullptr;
    for (Picture& picture : state.pictures)
        if (picture.stage == Stage::Waiting) {
            picture.stage = Stage::Decoding;
            return &picture;
        }
    return nullptr;
}

void decodeAll(Prefetch& state)
{
    std::unique_lock lock(state.mutex);
    while (Picture* picture = nextPicture(state)) {
        const FilePack& pack = *picture->pack;
        const std::string name = picture->name;
        lock.unlock();
        std::unique_ptr<Image> image = decodeAhead(state, pack, name);
        lock.lock();
        if (picture->stage == Stage::Decoding) {
            picture->image = std::move(image);
            picture->stage = Stage::Decoded;
        }
        state.decoded.notify_all();
    }
    state.working = false;
}

// The picture of `name` not yet taken, or null.
Picture* untaken(Prefetch& state, const FilePack* pack, const std::string& name)
{
    for (Picture& picture : state.pictures)
        if (pack != nullptr && picture.pack == pack && picture.name == name &&
            picture.stage != Stage::Taken)
            return &picture;
    return nullptr;
}

void add(Prefetch& state, const FilePack& pack, std::vector<std::string>& names)
{
    for (std::string& name : names)
        state.pictures.push_back({&pack, std::move(name), Stage::Waiting, nullptr});
}

void Prefetch::stop()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    if (thread.joinable())
        thread.join();
    std::lock_guard lock(mutex);
    pictures.clear();
}

} // namespace

void ImagePrefetch::start(const FilePack& pack, std::vector<std::string> names, Decoder decoder)
{
    stop();
    Prefetch& state = prefetch();
    std::lock_guard lock(state.mutex);
    state.stopping = false;
    state.decoder = decoder;
    add(state, pack, names);
    state.working = true;
    state.thread = std::thread(decodeAll, std::ref(state));
}

void ImagePrefetch::redirect(const FilePack& pack, std::vector<std::string> names)
{
    Prefetch& state = prefetch();
    std::lock_guard lock(state.mutex);
    if (!state.thread.joinable() || state.stopping)
        return;
    for (Picture& picture : state.pictures)
        if (picture.stage == Stage::Waiting)
            picture.stage = Stage::Taken;
    add(state, pack, names);
    if (!state.working) {
        state.thread.join(); // it has run out of pictures and ended
        state.working = true;
        state.thread = std::thread(decodeAll, std::ref(state));
    }
}

std::unique_ptr<Image> ImagePrefetch::take(const FilePack* pack, const std::string& name)
{
    Prefetch& state = prefetch();
    std::unique_lock lock(state.mutex);
    Picture* const found = untaken(state, pack, name);
    if (found == nullptr)
        return nullptr;
    if (found->stage == Stage::Waiting) {
        // Not begun: decoded here rather than after the pictures before it.
        found->stage = Stage::Taken;
        lock.unlock();
        return decodeAhead(state, *pack, name);
    }
    state.decoded.wait(lock, [&] { return found->stage != Stage::Decoding; });
    found->stage = Stage::Taken;
    return std::move(found->image);
}

std::unique_ptr<Image> ImagePrefetch::takeOrDecode(const FilePack& pack, const std::string& name)
{
    if (std::unique_ptr<Image> image = take(&pack, name))
        return image;
    return decode(pack, name);
}

void ImagePrefetch::drop(const FilePack* pack, const std::string& name)
{
    Prefetch& state = prefetch();
    std::lock_guard lock(state.mutex);
    if (Picture* const found = untaken(state, pack, name)) {
        found->stage = Stage::Taken;
        found->image.reset();
    }
}

void ImagePrefetch::stop()
{
    prefetch().stop();
}

std::size_t ImagePrefetch::untakenCount()
{
    Prefetch& state = prefetch();
    std::lock_guard lock(state.mutex);
    return std::size_t(
        std::count_if(state.pictures.begin(), state.pictures.end(),
                      [](const Picture& picture) { return picture.stage != Stage::Taken; }));
}
