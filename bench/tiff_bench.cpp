// Loading a 2000 x 2000 RGBA TIFF in 32 strips through TiffFile, beside
// libtiff's own TIFFReadRGBAImage of the same file in the same run. The file
// is written with libtiff into a temporary folder when the program starts.
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "display/pixel_format.h"
#include "image/image.h"
#include "tiff/tiff_file.h"

namespace {

constexpr std::uint32_t kSide = 2000;
constexpr std::uint32_t kRowsPerStrip = 64;

struct BenchFile {
    std::filesystem::path folder;
    std::string path;

    BenchFile() {
        folder = std::filesystem::temp_directory_path() / "corvane_tiff_bench";
        std::filesystem::create_directories(folder);
        path = (folder / "large_rgba.tif").string();
        TIFF* tif = TIFFOpen(path.c_str(), "w");
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSide);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSide);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kRowsPerStrip);
        const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
        std::mt19937 random(3);
        std::vector<std::uint8_t> row(kSide * 4);
        for (std::uint32_t y = 0; y < kSide; ++y) {
            for (auto& b : row) b = static_cast<std::uint8_t>(random());
            TIFFWriteScanline(tif, row.data(), y, 0);
        }
        TIFFClose(tif);
    }
    ~BenchFile() { std::filesystem::remove_all(folder); }
};

BenchFile& TheFile() {
    static BenchFile file;
    return file;
}

// Mean seconds per load of libtiff, measured in this run, for the ratios.
double libtiffSeconds = 0;

template <typename Body>
double Timed(benchmark::State& state, Body body) {
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double perLoad = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide * 4);
    return perLoad;
}

void BM_LibtiffReadRGBAImage(benchmark::State& state) {
    const std::string& path = TheFile().path;
    std::vector<std::uint32_t> raster(std::size_t{kSide} * kSide);
    libtiffSeconds = Timed(state, [&] {
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        TIFFReadRGBAImageOriented(tif, kSide, kSide, raster.data(), ORIENTATION_TOPLEFT, 0);
        TIFFClose(tif);
        benchmark::DoNotOptimize(raster.data());
    });
}

void ReportRatio(benchmark::State& state, double seconds) {
    if (libtiffSeconds > 0) state.counters["x_libtiff"] = seconds / libtiffSeconds;
}

// Reading alone: the true-colour image with its alpha plane.
void BM_TiffFileLoadTiff(benchmark::State& state) {
    const std::string& path = TheFile().path;
    const double seconds = Timed(state, [&] {
        Image image;
        TiffFile tiff;
        tiff.LoadTiff(path.c_str(), &image);
        benchmark::DoNotOptimize(image.pixels);
    });
    ReportRatio(state, seconds);
}

// What the game does: reading, then conversion to 5:6:5 and premultiplied alpha.
void BM_TiffFileLoadForAlpha(benchmark::State& state) {
    SetPixelFormat(0xF800, 0x07E0, 0x001F);
    const std::string& path = TheFile().path;
    const double seconds = Timed(state, [&] {
        Image image;
        TiffFile tiff;
        tiff.Load(path.c_str(), &image, DRAW_ALPHA);
        benchmark::DoNotOptimize(image.pixels);
    });
    ReportRatio(state, seconds);
}

BENCHMARK(BM_LibtiffReadRGBAImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffFileLoadTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffFileLoadForAlpha)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
