// settings_bench.cpp -- opening the settings file at start: the program's own file against one of
// a million key=value lines (12 MB) and one of a single 100 MB line. All three should take about
// the same few milliseconds: the window waits for this.
#include "platform/wx/settings_file.h"

#include <benchmark/benchmark.h>
#include <wx/fileconf.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const char* const kOwn = "[Recent\\ File\\ List]\nFile1=/maps/a.tvr\nFile2=/maps/b.tvr\n";

void OpenSettings(benchmark::State& state, const std::string& text)
{
    char dir[] = "/tmp/tvbenchXXXXXX";
    if (mkdtemp(dir) == nullptr) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string path = std::string(dir) + "/Tavrolu.conf";
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        state.ResumeTiming();
        std::unique_ptr<wxFileConfig> config(
            OpenSettingsFile("Tavrolu", "Local AppWizard-Generated Applications", path));
        benchmark::DoNotOptimize(config.get());
    }
    std::remove(path.c_str());
    rmdir(dir);
}

void BM_OpenSettings_Own(benchmark::State& state)
{
    OpenSettings(state, kOwn);
}

void BM_OpenSettings_MillionLines(benchmark::State& state)
{
    std::string text = kOwn;
    for (int i = 0; i < 1000000; i++)
        text += "key" + std::to_string(i) + "=value\n";
    OpenSettings(state, text);
}

void BM_OpenSettings_OneLineOf100MB(benchmark::State& state)
{
    OpenSettings(state, std::string(kOwn) + "x=" + std::string(100 << 20, 'x') + "\n");
}

BENCHMARK(BM_OpenSettings_Own)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSettings_MillionLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSettings_OneLineOf100MB)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    wxInitializer toolkit;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
