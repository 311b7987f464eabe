// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/CSoundManager.h"

#include "utils/FatalError.h"
#include "utils/Log.h"

#include <algorithm>
#include <cstdio>

namespace {

std::unique_ptr<CSoundManager> g_manager;

} // namespace

CSoundManager& CSoundManager::create()
{
    if (g_manager == nullptr) {
        g_manager = std::make_unique<CSoundManager>();
    }
    return *g_manager;
}

CSoundManager& CSoundManager::get()
{
    if (g_manager == nullptr)
        FatalError::raise("CSoundManager::get() != NULL", "audio/CSoundManager");
    return *g_manager;
}

bool CSoundManager::exists()
{
    return g_manager != nullptr;
}

void CSoundManager::destroy()
{
    if (g_manager != nullptr) {
        g_manager->shutdown();
        g_manager.reset();
    }
}

CSoundManager::CSoundManager() = default;

CSoundManager::~CSoundManager()
{
    shutdown();
}

int CSoundManager::initialise(void* window)
{
    releaseDevice();
    std::unique_ptr<SoundDevice> device;
    const int result = SoundDevice::create(device);
    if (result != kSoundOk) {
        reportNoDevice(AudioOutput::failureReason());
        return result;
    }
    return initialise(window, std::move(device));
}

int CSoundManager::initialise(void* window, std::unique_ptr<SoundDevice> device)
{
    releaseDevice();
    m_noDeviceReported = false;
    m_device = std::move(device);
    if (m_device == nullptr) {
        return kSoundNoDevice;
    }
    const int result =
        m_device->setCooperativeLevel(window, SoundDevice::CooperativeLevel::Priority);
    if (result != kSoundOk) {
        return result;
    }
    SoundDevice::BufferDesc desc;
    desc.primary = true;
    std::unique_ptr<SoundBuffer> primary;
    if (m_device->createBuffer(desc, primary) == kSoundOk) {
        primary->setFormat(WaveFormat::pcm(2, 22050, 16));
    }
    return kSoundOk;
}

void CSoundManager::setVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 100);
}

long CSoundManager::attenuationFor(int volume)
{
    const int level = static_cast<int>(volume / 100.0f * float(volume));
    return std::clamp<long>(long(level) * 100 - 10000, SoundBuffer::kVolumeMin,
                            SoundBuffer::kVolumeMax);
}

std::unique_ptr<CSoundEffect> CSoundManager::createEffect(const std::string& fileName, int count)
{
    if (m_device == nullptr || fileName.empty() || count < 1) {
        return nullptr;
    }
    auto reader = std::make_unique<CWaveReader>();
    reader->open(fileName);
    if (reader->size() == 0) {
        return nullptr;
    }
    SoundDevice::BufferDesc desc;
    desc.bytes = reader->size();
    desc.format = &reader->format();
    desc.formatExtra = reader->formatExtra();
    std::vector<std::unique_ptr<SoundBuffer>> buffers(static_cast<std::size_t>(count));
    if (m_device->createBuffer(desc, buffers[0]) != kSoundOk) {
        return nullptr;
    }
    for (int i = 1; i < count; ++i) {
        if (m_device->duplicateBuffer(*buffers[0], buffers[std::size_t(i)]) != kSoundOk) {
            return nullptr;
        }
    }
    const std::uint32_t bytes = reader->size();
    return std::make_unique<CSoundEffect>(std::move(buffers), bytes, std::move(reader));
}

bool CSoundManager::load(const std::string& fileName, int id)
{
    if (m_device == nullptr && m_noDeviceReported) {
        return false;
    }
    std::unique_ptr<CSoundEffect> effect = createEffect(fileName, 1);
    if (effect == nullptr) {
        reportFailure(fileName);
        return false;
    }
    m_effects[id] = std::move(effect);
    return true;
}

void CSoundManager::reportFailure(const std::string& fileName) const
{
    Log::write("%s (%s)", kFailureText, fileName.c_str());
    if (m_failureNotice) {
        m_failureNotice(kFailureCaption, kFailureText);
    } else {
        std::fprintf(stderr, "%s: %s (%s)\n", kFailureCaption, kFailureText, fileName.c_str());
    }
}

// Once for the whole run instead of once for every effect.
void CSoundManager::reportNoDevice(const std::string& reason)
{
    m_noDeviceReported = true;
    if (reason.empty()) {
        Log::write("Sound effects are silent: the sound output is switched off.");
        return;
    }
    Log::write("%s No sound device (%s); the game goes on without sound effects.", kFailureText,
               reason.c_str());
    std::fprintf(stderr, "%s: no sound device (%s); the game goes on without sound effects\n",
                 kFailureCaption, reason.c_str());
}

CSoundEffect* CSoundManager::effect(int id)
{
    auto found = m_effects.find(id);
    return found == m_effects.end() ? nullptr : found->second.get();
}

void CSoundManager::play(int id, WhilePlaying whilePlaying, Repeat repeat)
{
    if (!m_enabled) {
        return;
    }
    CSoundEffect* sound = effect(id);
    if (sound == nullptr || (whilePlaying == WhilePlaying::Skip && sound->isPlaying())) {
        return;
    }
    sound->setVolume(attenuationFor(m_volume));
    sound->play(0, repeat == Repeat::Loop);
}

bool CSoundManager::isPlaying(int id) const
{
    auto found = m_effects.find(id);
    return found != m_effects.end() && found->second->isPlaying();
}

void CSoundManager::stop(int id)
{
    if (CSoundEffect* sound = effect(id)) {
        sound->stop();
    }
}

void CSoundManager::shutdown()
{
    releaseDevice();
}

// Effects hold buffers of the device, so they go before it.
void CSoundManager::releaseDevice()
{
    m_effects.clear();
    m_device.reset();
}
