// The TIFF reader through the engine's own Load: beyond what the sanitizers
// see, the quiet inspection and the real load must agree, a refused file must
// end the load with exit code -1, and an accepted picture must have its
// declared size and planes that hold it once prepared.
#include <cstddef>
#include <cstdint>

#include "image/image.h"
#include "platform/headless/control.h"
#include "tests/fuzz/fuzz_support.h"
#include "tiff/tiff_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzz::WriteInput(data, size, ".tif");
    TiffFile inspected;
    const bool accepted = inspected.Inspect(path.c_str());
    // Pictures the engine accepts go up to 2^26 pixels, which take tens of
    // seconds to load and prepare under the sanitizers and reach no code a
    // smaller one does not: above kLoadedPixels they are only inspected. The
    // limit itself is tested at its edges by the hostile-file tests.
    constexpr std::int64_t kLoadedPixels = std::int64_t{1} << 20;
    if (accepted && std::int64_t{inspected.width} * inspected.height > kLoadedPixels) return 0;

    // Every purpose is tried; the input's length picks one, so a saved input
    // replays the same way.
    const int purpose = 1 + static_cast<int>(size % 4);
    Image image;
    TiffFile tiff;
    const fuzz::Outcome outcome =
        fuzz::RunGuarded([&] { tiff.Load(path.c_str(), &image, purpose); });
    headless::ClearMessageBoxes();

    if (!accepted) {
        FUZZ_CHECK(outcome.exited && outcome.status == -1,
                   "a file Inspect refuses ends the load with exit code -1");
        FUZZ_CHECK(tiff.problem == inspected.problem, "the load refuses it for the same reason");
        return 0;
    }
    FUZZ_CHECK(!outcome.exited, "a file Inspect accepts loads");
    FUZZ_CHECK(tiff.done == 1 && tiff.problem.empty(), "the load completes");
    FUZZ_CHECK(image.width == inspected.width && image.height == inspected.height &&
                   image.width > 0 && image.height > 0,
               "the picture has the declared size");
    FUZZ_CHECK(tiff.missingRows == inspected.missingRows && tiff.missingRows >= 0 &&
                   tiff.missingRows <= image.height,
               "the load and Inspect count the same missing rows");
    FUZZ_CHECK(image.purpose == purpose && (image.format & IMAGE_16BIT),
               "the picture is prepared for its purpose");
    FUZZ_CHECK(image.Words() != nullptr, "the pixel plane holds the picture");
    FUZZ_CHECK(image.AlphaPlane() != nullptr || (purpose != DRAW_ALPHA && purpose != DRAW_ADDITIVE),
               "a blended picture has an alpha plane that holds it");
    return 0;
}
