// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of the play screen, drawn on a hidden window at 800 x 600 or at
// 1280 x 1024 full screen (the 800 x 600 view scaled to 1280 x 960 between
// black bars), each ending with the swap and glFinish. Reports frames per
// second, CPU milliseconds per frame over the whole process (renderer threads
// included) and the main thread's own share (game_ms_per_frame).
//
// playScreenFrame: a busy board kept busy, a blast and a colour bomb running
// and 3000 particles; playScreenFrameFinePictures the same with the pictures
// of data/data2x.pk, as full screen at 1280 x 1024 draws them. largestBurst: the busiest moment the
// rules allow, again and again: the largest board full, every flower bursting with its sparkles at
// once while two blasts, a colour bomb and the streak blast sweep it.
#include "BenchClock.h"
#include "GameHeap.h"
#include "board/Blast.h"
#include "board/ColourBomb.h"
#include "board/Field.h"
#include "board/Flower.h"
#include "board/LevelFile.h"
#include "effects/EffectDrawing.h"
#include "effects/FieldFeedback.h"
#include "effects/GameResources.h"
#include "effects/ParticleSystem.h"
#include "game/BoardRenderer.h"
#include "game/PlayArt.h"
#include "objects/ArtSet.h"
#include "objects/Font.h"
#include "objects/Sprite.h"
#include "objects/Texture.h"
#include "platform/GlContext.h"
#include "utils/FilePack.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kParticles = 3000;
constexpr int kLargestLevel = 100;
constexpr int kWarmUpFrames = 5;
// Boards, bombs and sparkles all come from rand(): a fixed seed makes every
// run draw the same frames.
constexpr std::uint32_t kSeed = 20261207;

struct Screen {
    int width;
    int height;
    // The 800 x 600 view inside it, as full screen places it.
    int viewY;
    int viewHeight;
};

Screen screenFor(int width)
{
    if (width == 800)
        return {800, 600, 0, 600};
    return {1280, 1024, 32, 960};
}

void setView(const Screen& screen)
{
    glViewport(0, screen.viewY, screen.width, screen.viewHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 600, 0, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Everything a play-screen frame needs, loaded from the built pack.
class PlayScreenScene {
public:
    // finePictures: the pictures of data/data2x.pk, as the game draws them
    // full screen at 1280 x 1024.
    PlayScreenScene(int width, bool finePictures) : m_screen(screenFor(width))
    {
        m_context = GlContext::createHidden(m_screen.width, m_screen.height);
        if (!m_context)
            return;
        m_pack = &createPack("main");
        m_pack->setKey(kMainPackKey);
        if (!m_pack->load(VM_GAME_DIR "/data/data.pk"))
            return;
        if (finePictures) {
            ArtSet::openFine(*m_pack, VM_GAME_DIR "/data/data2x.pk");
            ArtSet::choose(float(m_screen.width) / 800.0f);
            if (!ArtSet::fineInUse())
                return;
        }
        m_resources = std::make_unique<GameResources>(*m_pack);
        m_art = PlayArt::from(*m_resources);
        m_particles = &ParticleSystem::create();
        // Sparks and texts as in the game; the sounds are not played.
        m_feedback = std::make_unique<FieldFeedback>(*m_particles, FieldFeedback::SoundOutput{});
        m_renderer = std::make_unique<BoardRenderer>(m_art);
    }
    ~PlayScreenScene()
    {
        m_renderer.reset();
        m_feedback.reset();
        ParticleSystem::destroy();
        m_resources.reset();
        ArtSet::choose(1.0f);
        ArtSet::closeFine();
        if (m_pack != nullptr)
            destroyPack("main");
    }

    const char* problem() const
    {
        if (!m_context)
            return "no OpenGL display";
        return m_renderer ? nullptr : "no built data/data.pk (or data/data2x.pk)";
    }
    ParticleSystem& particles() { return *m_particles; }
    FieldListener& events() { return *m_feedback; }

    // One whole frame: updates, drawing, swap, glFinish.
    void frame(Field& field, FrameTimer& timer)
    {
        timer.start();
        const auto start = std::chrono::steady_clock::now();
        field.update(16.0f);
        m_particles->update(16.0f);
        m_renderer->update(16.0f);
        setView(m_screen);
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        m_renderer->drawBackground();
        m_renderer->drawBoard(field);
        m_renderer->drawLives(3);
        EffectDrawing::drawParticleSystem(*m_particles, *m_art.particles, *m_art.font);
        m_mainThread +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        m_context->swapBuffers();
        glFinish();
        timer.stop();
        m_peakParticles = std::max(m_peakParticles, m_particles->particles().size());
    }

    // Leaves the warm-up frames out of the main thread's time and the peak.
    void startMeasuring()
    {
        m_mainThread = 0.0;
        m_peakParticles = 0;
    }

    void report(benchmark::State& state, const FrameTimer& timer) const
    {
        state.counters["fps"] = timer.fps();
        state.counters["cpu_ms_per_frame"] = timer.cpuMillisecondsPerFrame();
        state.counters["game_ms_per_frame"] =
            timer.frames() > 0 ? m_mainThread * 1000.0 / timer.frames() : 0.0;
        state.counters["peak_particles"] = double(m_peakParticles);
    }

private:
    Screen m_screen;
    std::unique_ptr<GlContext> m_context;
    FilePack* m_pack = nullptr;
    std::unique_ptr<GameResources> m_resources;
    PlayArt m_art;
    ParticleSystem* m_particles = nullptr;
    std::unique_ptr<FieldFeedback> m_feedback;
    std::unique_ptr<BoardRenderer> m_renderer;
    double m_mainThread = 0.0;
    std::size_t m_peakParticles = 0;
};

// The measured frames; its own function so that an instruction count can
// leave out the warm-up (callgrind --toggle-collect='*timedFrame*').
[[gnu::noinline]] void timedFrame(PlayScreenScene& scene, Field& field, FrameTimer& timer)
{
    scene.frame(field, timer);
}

// Keeps both bonus effects and the particle count going.
void keepBusy(Field& field, ParticleSystem& particles)
{
    if (field.effectCount() < 2) {
        const Vec4 centre = field.cellCentre(field.middleRow(), field.width() / 2);
        field.addEffect(std::make_unique<Blast>(centre, field, 150.0f));
        field.addEffect(std::make_unique<ColourBomb>(0, centre, field));
    }
    while (particles.particles().size() < kParticles)
        particles.emit(16.0f, {400.0f, 300.0f, 0.0f, 1.0f}, {0.5f, -0.5f, 0.0f, 1.0f});
}

void runPlayScreenFrames(benchmark::State& state, bool finePictures)
{
    PlayScreenScene scene(int(state.range(0)), finePictures);
    if (const char* problem = scene.problem()) {
        state.SkipWithError(problem);
        return;
    }
    Field field(LevelFile::load(30), 30, true, kSeed, scene.events());
    for (int i = 0; i < 200; ++i)
        field.update(16.0f);
    // The first frames upload the pictures and build the renderer's shaders.
    FrameTimer warmUp;
    for (int i = 0; i < kWarmUpFrames; ++i) {
        keepBusy(field, scene.particles());
        scene.frame(field, warmUp);
    }
    scene.startMeasuring();
    FrameTimer timer;
    for (auto _ : state) {
        keepBusy(field, scene.particles());
        timedFrame(scene, field, timer);
    }
    scene.report(state, timer);
}

void playScreenFrame(benchmark::State& state)
{
    runPlayScreenFrames(state, false);
}

void playScreenFrameFinePictures(benchmark::State& state)
{
    runPlayScreenFrames(state, true);
}

// Every cell holds an idle flower, and all of them burst at once.
void startLargestBurst(Field& field)
{
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (field.isCell(r, c) && field.flowerAt(r, c) == nullptr)
                field.placeFlower(r, c, (r + c) % std::max(field.numColours(), 1)).makeIdle();
    const Vec4 centre = field.cellCentre(field.middleRow(), field.rowLength(field.middleRow()) / 2);
    const Vec4 left = field.cellCentre(field.middleRow(), 0);
    field.addEffect(std::make_unique<Blast>(left, field, 150.0f));
    field.addEffect(std::make_unique<Blast>(centre, field, 150.0f));
    field.addEffect(std::make_unique<ColourBomb>(0, centre, field));
    field.addEffect(std::make_unique<Blast>(centre, field, 45.0f));
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (Flower* flower = field.flowerAt(r, c); flower != nullptr && flower->isIdle())
                flower->explode(field.events());
}

void largestBurst(benchmark::State& state)
{
    PlayScreenScene scene(int(state.range(0)), false);
    if (const char* problem = scene.problem()) {
        state.SkipWithError(problem);
        return;
    }
    Field field(LevelFile::load(kLargestLevel), kLargestLevel, true, kSeed, scene.events());
    for (int i = 0; i < 200; ++i)
        field.update(16.0f);
    const auto burstWhenCalm = [&field, &scene] {
        if (field.effectCount() == 0 && scene.particles().particles().size() < 100)
            startLargestBurst(field);
    };
    FrameTimer warmUp;
    for (int i = 0; i < kWarmUpFrames; ++i) {
        burstWhenCalm();
        scene.frame(field, warmUp);
    }
    scene.startMeasuring();
    FrameTimer timer;
    for (auto _ : state) {
        burstWhenCalm();
        timedFrame(scene, field, timer);
    }
    scene.report(state, timer);
}

// A fixed number of measured frames when PLAY_BENCH_FRAMES is set (an
// instruction count under callgrind then sees the same frames every run),
// otherwise frames for at least three seconds.
void registerBenchmarks()
{
    const char* frames = std::getenv("PLAY_BENCH_FRAMES");
    const int count = frames != nullptr ? std::atoi(frames) : 0;
    const auto pace = [count](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->UseRealTime();
        if (count > 0)
            b->Iterations(count);
        else
            b->MinTime(3.0);
    };
    // Argument: the screen width, 800 (a window) or 1280 (full screen at 1280 x 1024).
    pace(benchmark::RegisterBenchmark("playScreenFrame", playScreenFrame)->Arg(800)->Arg(1280));
    // The fine pictures are drawn full screen only.
    pace(benchmark::RegisterBenchmark("playScreenFrameFinePictures", playScreenFrameFinePictures)
             ->Arg(1280));
    pace(benchmark::RegisterBenchmark("largestBurst", largestBurst)->Arg(1280));
}

} // namespace

int main(int argc, char** argv)
{
    useTheGamesHeap();
    benchmark::Initialize(&argc, argv);
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
