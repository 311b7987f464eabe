// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AudioOutput.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<AudioOutput> g_output;
std::string g_failureReason;

void SDLCALL fillAudio(void* userData, Uint8* stream, int bytes)
{
    static_cast<AudioOutput*>(userData)->render(reinterpret_cast<std::int16_t*>(stream), bytes / 4);
}

std::string libraryError()
{
    const char* text = SDL_GetError();
    return text != nullptr && *text != '\0' ? text : "no output device";
}

bool isDummyDriver()
{
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver == nullptr || std::strcmp(driver, "dummy") == 0;
}

} // namespace

AudioOutput* AudioOutput::acquire()
{
    if (g_output == nullptr) {
        std::unique_ptr<AudioOutput> output(new AudioOutput());
        if (!output->openDevice()) {
            return nullptr;
        }
        g_output = std::move(output);
    }
    ++g_output->m_users;
    return g_output.get();
}

void AudioOutput::release(AudioOutput* output)
{
    if (output == nullptr || output != g_output.get() || --output->m_users > 0) {
        return;
    }
    output->closeDevice();
    g_output.reset();
}

const std::string& AudioOutput::failureReason()
{
    return g_failureReason;
}

bool AudioOutput::openDevice()
{
    g_failureReason.clear();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        g_failureReason = libraryError();
        return false;
    }
    if (isDummyDriver()) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kBufferFrames;
    wanted.callback = fillAudio;
    wanted.userdata = this;
    m_accumulator.assign(std::size_t(kBufferFrames) * 2 * 8, 0);
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (m_device == 0) {
        g_failureReason = libraryError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void AudioOutput::closeDevice()
{
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void AudioOutput::addSource(AudioSource& source)
{
    lock();
    m_sources.push_back(&source);
    unlock();
}

void AudioOutput::removeSource(AudioSource& source)
{
    lock();
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), &source), m_sources.end());
    unlock();
}

void AudioOutput::lock()
{
    if (m_device != 0) {
        SDL_LockAudioDevice(m_device);
    }
}

void AudioOutput::unlock()
{
    if (m_device != 0) {
        SDL_UnlockAudioDevice(m_device);
    }
}

// Runs on SDL's audio thread with the device locked.
void AudioOutput::render(std::int16_t* out, int frames)
{
    const std::size_t values = std::size_t(frames) * 2;
    if (m_accumulator.size() < values) {
        std::fill(out, out + values, std::int16_t(0));
        return;
    }
    std::fill(m_accumulator.begin(), m_accumulator.begin() + long(values), 0);
    for (AudioSource* source : m_sources) {
        source->mixInto(m_accumulator.data(), frames);
    }
    toPcm(m_accumulator.data(), out, values);
}

void AudioOutput::toPcm(const std::int32_t* sums, std::int16_t* out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp(sums[i], -32768, 32767));
    }
}
