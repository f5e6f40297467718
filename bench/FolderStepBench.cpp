// The next-file step in a folder of 5000 media files (the folder is read anew
// at each step), from the first, the middle and the last but one file.

#include "player/FolderPlaylist.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace velmo;

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 5000;

std::string Name(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "episode %d.mkv", i);
    return name;
}

const fs::path &Folder()
{
    static const fs::path folder = [] {
        fs::path made = fs::temp_directory_path() / ("velmo-bench-folder-" + std::to_string(::getpid()));
        fs::create_directories(made);
        for (int i = 0; i < kFiles; ++i)
            std::ofstream(made / Name(i));
        return made;
    }();
    return folder;
}

void NextFileStep(benchmark::State &state)
{
    const int from = static_cast<int>(state.range(0));
    const std::string path = (Folder() / Name(from)).string();
    const std::string expected = (Folder() / Name(from + 1)).string();
    for (auto _ : state) {
        const FolderStep step = NeighbourInFolder(path, +1);
        if (step.path != expected)
            state.SkipWithError("the step reached the wrong file");
        benchmark::DoNotOptimize(step);
    }
}
BENCHMARK(NextFileStep)->Arg(0)->Arg(kFiles / 2)->Arg(kFiles - 2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
    return 0;
}
