// Frames of the play screen on a busy board: a blast and a colour bomb
// running and a few thousand particles, drawn on a hidden 800 x 600 window.
#include "board/BoardSounds.h"
#include "board/Field.h"
#include "effects/Blast.h"
#include "effects/ColourBomb.h"
#include "effects/EffectDrawing.h"
#include "effects/GameResources.h"
#include "effects/ParticleSystem.h"
#include "game/BoardRenderer.h"
#include "game/PlayArt.h"
#include "objects/Font.h"
#include "objects/Sprite.h"
#include "objects/Texture.h"
#include "platform/GlContext.h"
#include "utils/FilePack.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kParticles = 3000;

void setView() {
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 600, 0, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Keeps both bonus effects and the particle count going.
void keepBusy(Field& field, ParticleSystem& particles) {
    if (field.effectCount() < 2) {
        const Vec4 centre = field.cellCentre(field.middleRow(), field.width() / 2);
        field.addEffect(std::make_unique<Blast>(centre, field, 150.0f));
        field.addEffect(std::make_unique<ColourBomb>(0, centre, field));
    }
    while (particles.particles().size() < kParticles)
        particles.emit(16.0f, {400.0f, 300.0f, 0.0f, 1.0f}, {0.5f, -0.5f, 0.0f, 1.0f});
}

void playScreenFrame(benchmark::State& state) {
    auto context = GlContext::createHidden(800, 600);
    if (!context) {
        state.SkipWithError("no OpenGL display");
        return;
    }
    FilePack* pack = createPack("main");
    pack->setKey(kMainPackKey);
    if (!pack->load(VM_GAME_DIR "/data/data.pk")) {
        state.SkipWithError("no built data/data.pk");
        return;
    }
    BoardSounds::setListener([](int, BoardSounds::Restart) {});
    GameResources resources(*pack);
    const PlayArt art = PlayArt::from(resources);
    ParticleSystem& particles = ParticleSystem::create();
    BoardRenderer renderer(art);
    Field field(30, true);
    for (int i = 0; i < 200; ++i)
        field.update(16.0f);
    double gameSeconds = 0.0;
    for (auto _ : state) {
        keepBusy(field, particles);
        const auto start = std::chrono::steady_clock::now();
        field.update(16.0f);
        particles.update(16.0f);
        renderer.update(16.0f);
        setView();
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.drawBackground();
        renderer.drawBoard(field);
        renderer.drawLives(3);
        EffectDrawing::drawParticleSystem(particles, *art.particles, *art.font);
        gameSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        context->swapBuffers();
        glFinish();
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["game_ms_per_frame"] = frames > 0 ? gameSeconds * 1000.0 / frames : 0.0;
    state.counters["particles"] = static_cast<double>(particles.particles().size());
    ParticleSystem::release();
    destroyPack("main");
    BoardSounds::setListener({});
}

} // namespace

BENCHMARK(playScreenFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

BENCHMARK_MAIN();
