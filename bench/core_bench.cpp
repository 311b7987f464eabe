// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/FilePack.h"
#include "utils/KeyValueFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string largeKeyValueText(int entries)
{
    std::string text;
    for (int i = 0; i < entries; ++i) {
        text += "top7.rec_name" + std::to_string(i) + " \"Player number " + std::to_string(i) +
                "\" // a comment\n";
        text += "field.cell" + std::to_string(i) + " " + std::to_string(i * 7) + "\n";
    }
    return text;
}

void parseLargeKeyValueFile(benchmark::State& state)
{
    const std::string text = largeKeyValueText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        KeyValueFile store;
        store.parseBuffer(text.data(), text.size(), true);
        benchmark::DoNotOptimize(store.entries().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(parseLargeKeyValueFile)->Arg(10000);

void fetchFromA500EntryPack(benchmark::State& state)
{
    const std::string dir = "/tmp/vellomar-bench-" + std::to_string(::getpid());
    const std::string source = dir + ".src";
    const std::string packPath = dir + ".pk";
    std::FILE* file = std::fopen(source.c_str(), "wb");
    std::string bytes(2048, 'x');
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    FilePack builder;
    builder.setKey(kMainPackKey);
    for (int i = 0; i < 500; ++i)
        builder.addFile(source, "dat/asset" + std::to_string(i) + ".tga", i % 2 == 0);
    builder.save(packPath);

    FilePack pack;
    pack.setKey(kMainPackKey);
    pack.load(packPath);
    for (auto _ : state) {
        PackEntry entry = pack.getFile("DAT\\Asset499.tga"); // the last entry: a full scan
        benchmark::DoNotOptimize(entry.data.data());
    }
    std::remove(source.c_str());
    std::remove(packPath.c_str());
}
BENCHMARK(fetchFromA500EntryPack);

} // namespace

BENCHMARK_MAIN();
