// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/CSoundEffect.h"
#include "platform/SoundDevice.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

// Owns the sound-effects device and every registered effect; anything in the
// game plays an effect by its identifier (audio/SoundIds.h) with one call:
//     CSoundManager::get().play(SoundId::Pop);
// Playing is silent while effects are disabled or when the id is unknown.
class CSoundManager {
public:
    enum class WhilePlaying { Restart, Skip };
    enum class Repeat { Once, Loop };
    using FailureNotice = std::function<void(const std::string& caption, const std::string& text)>;

    // The game's one manager: made at start-up, gone at the end.
    static CSoundManager& create();
    // Ends the program when there is none.
    static CSoundManager& get();
    static bool exists();
    // Destroys the manager (effects first, then the device).
    static void destroy();

    CSoundManager();
    ~CSoundManager();

    // Creates the device for the game window; returns 0 or the device's error.
    // Without a device the effects stay silent: a failing device is said once
    // (log and standard error), an output the player switched off only in the log.
    int initialise(void* window);
    // The same with a device the caller made (tests use a detached one).
    int initialise(void* window, std::unique_ptr<SoundDevice> device);

    void enable() { m_enabled = true; }
    void disable() { m_enabled = false; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }
    bool isStereoInverted() const { return m_invertStereo; }
    void setStereoInverted(bool inverted) { m_invertStereo = inverted; }
    void setVolume(int volume);
    int volume() const { return m_volume; }

    // Reads a WAV file from the disk and registers it under id, replacing an
    // earlier effect; on failure shows the failure notice and keeps the old one.
    // After initialise found no device it fails without a notice.
    bool load(const std::string& fileName, int id);
    void play(int id, WhilePlaying whilePlaying = WhilePlaying::Restart,
              Repeat repeat = Repeat::Once);
    bool isPlaying(int id) const;
    void stop(int id);
    // Drops every effect, then the device.
    void shutdown();

    bool hasDevice() const { return m_device != nullptr; }
    SoundDevice* device() { return m_device.get(); }
    CSoundEffect* effect(int id);
    // Hundredths of a decibel for a volume of 0..100.
    static long attenuationFor(int volume);
    // How this manager's load failures are shown; unset: the log and standard error.
    void setFailureNotice(FailureNotice notice) { m_failureNotice = std::move(notice); }

    static constexpr const char* kFailureText = "Failure creating the SoundManager.";
    static constexpr const char* kFailureCaption = "CSoundManager";

private:
    std::unique_ptr<CSoundEffect> createEffect(const std::string& fileName, int count);
    void reportFailure(const std::string& fileName) const;
    void reportNoDevice(const std::string& reason);
    void releaseDevice();

    bool m_enabled = false;
    bool m_noDeviceReported = false;
    bool m_invertStereo = false;
    int m_volume = 100;
    std::map<int, std::unique_ptr<CSoundEffect>> m_effects;
    std::unique_ptr<SoundDevice> m_device;
    FailureNotice m_failureNotice;
};
