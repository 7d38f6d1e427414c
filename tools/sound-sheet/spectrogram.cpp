// A small spectrogram picture of a take, drawn into a cairo image surface.
#include "spectrogram.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "resynth/fft.h"

namespace quenvale::sheet {
namespace {

constexpr int kFftSize = 4096;
constexpr double kLowHz = 40.0, kHighHz = 16000.0, kRangeDb = 90.0;

}  // namespace

bool writeSpectrogram(const probe::Take& take, double sampleRate, const std::string& path) {
    static const FftTable table(kFftSize);
    const auto frames = static_cast<double>(take.left.size());
    std::vector<double> cells(static_cast<size_t>(kPictureWidth * kPictureHeight), -300.0);
    std::vector<double> re(kFftSize), im(kFftSize);
    double loudest = -300.0;
    for (int x = 0; x < kPictureWidth; ++x) {
        const auto start = static_cast<int64_t>(frames * x / kPictureWidth) - kFftSize / 2;
        for (int i = 0; i < kFftSize; ++i) {
            const int64_t at = start + i;
            const bool inside = at >= 0 && at < static_cast<int64_t>(take.left.size());
            const double window = 0.5 - 0.5 * std::cos(2.0 * 3.141592653589793 * i / kFftSize);
            re[static_cast<size_t>(i)] =
                inside ? window * (take.left[static_cast<size_t>(at)] + take.right[static_cast<size_t>(at)]) : 0.0;
            im[static_cast<size_t>(i)] = 0.0;
        }
        fftInPlace(table, re.data(), im.data(), -1);
        for (int y = 0; y < kPictureHeight; ++y) {
            // Row y covers a band of the log-frequency axis; the cell takes the band's strongest bin.
            const double lo = kLowHz * std::pow(kHighHz / kLowHz, static_cast<double>(y) / kPictureHeight);
            const double hi = kLowHz * std::pow(kHighHz / kLowHz, static_cast<double>(y + 1) / kPictureHeight);
            const int first = std::max(1, static_cast<int>(lo * kFftSize / sampleRate));
            const int last = std::max(first, static_cast<int>(hi * kFftSize / sampleRate));
            double power = 0.0;
            for (int k = first; k <= last && k < kFftSize / 2; ++k)
                power = std::max(power, re[static_cast<size_t>(k)] * re[static_cast<size_t>(k)] +
                                            im[static_cast<size_t>(k)] * im[static_cast<size_t>(k)]);
            const double db = 10.0 * std::log10(power + 1e-30);
            cells[static_cast<size_t>(y * kPictureWidth + x)] = db;
            loudest = std::max(loudest, db);
        }
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPictureWidth, kPictureHeight);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < kPictureHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>((kPictureHeight - 1 - y) * stride));
        for (int x = 0; x < kPictureWidth; ++x) {
            const double db = cells[static_cast<size_t>(y * kPictureWidth + x)] - loudest;
            // Coarse grey steps keep the picture small once compressed.
            const double level = std::clamp(1.0 + db / kRangeDb, 0.0, 1.0);
            const auto grey = static_cast<uint32_t>(std::lround(std::floor(level * 15.0) * 17.0));
            row[x] = (grey << 16) | (grey << 8) | grey;
        }
    }
    cairo_surface_mark_dirty(surface);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    return status == CAIRO_STATUS_SUCCESS;
}

}  // namespace quenvale::sheet
