#include "objects/ImagePrefetch.h"

#include "image/Image.h"
#include "utils/FilePack.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

enum class Stage { Waiting, Decoding, Decoded, Taken };

struct Picture {
    std::string name;
    Stage stage = Stage::Waiting;
    std::unique_ptr<Image> image;
};

struct Prefetch {
    std::mutex mutex;
    std::condition_variable decoded;
    const FilePack* pack = nullptr;
    std::vector<Picture> pictures;
    bool stopping = false;
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
        const std::string name = picture->name;
        lock.unlock();
        std::unique_ptr<Image> image = decode(*state.pack, name);
        lock.lock();
        if (picture->stage == Stage::Decoding) {
            picture->image = std::move(image);
            picture->stage = Stage::Decoded;
        }
        state.decoded.notify_all();
    }
}

// The picture of `name` not yet taken, or null.
Picture* untaken(Prefetch& state, const FilePack* pack, const std::string& name)
{
    if (pack == nullptr || pack != state.pack)
        return nullptr;
    for (Picture& picture : state.pictures)
        if (picture.name == name && picture.stage != Stage::Taken)
            return &picture;
    return nullptr;
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
    pack = nullptr;
}

} // namespace

void ImagePrefetch::start(const FilePack& pack, std::vector<std::string> names)
{
    stop();
    Prefetch& state = prefetch();
    std::lock_guard lock(state.mutex);
    state.pack = &pack;
    state.stopping = false;
    for (std::string& name : names)
        state.pictures.push_back({std::move(name), Stage::Waiting, nullptr});
    state.thread = std::thread(decodeAll, std::ref(state));
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
        return decode(*pack, name);
    }
    state.decoded.wait(lock, [&] { return found->stage != Stage::Decoding; });
    found->stage = Stage::Taken;
    return std::move(found->image);
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
    return std::size_t(std::count_if(state.pictures.begin(), state.pictures.end(),
                                     [](const Picture& picture) {
                                         return picture.stage != Stage::Taken;
                                     }));
}
