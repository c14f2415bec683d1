// Page file writers: seconds per page and peak resident memory for one A4 page of a
// 1485-patch CMYK target at 300, 600 and 1200 dpi, as TIFF (8 bits) and as DCS.
// Figures are printed, never asserted. Resolutions run in rising order, so the process
// peak after each run is that run's peak.
#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "TargetSettings.h"
#include "dcswriter.h"
#include "targetpage.h"
#include "tiffwriter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

// User plus system time of the process: on a shared machine the wall clock also counts
// the time other processes had the cores.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

std::unique_ptr<ReferenceFileData> cmykTarget(int count)
{
    auto data = std::make_unique<ReferenceFileData>();
    data->isCMYK = true;
    data->SetCMYKLabDefs();
    for (int i = 0; i < count; ++i) {
        auto *set = new ReferenceFileSet(data.get(), i, false);
        const double v[4] = {double(i % 101), double((i * 7) % 101), double((i * 13) % 101), double((i * 29) % 101)};
        set->SetCMYK(v);
        data->AppendSet(set);
    }
    return data;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize())) {
        std::fprintf(stderr, "colour conversion: %s\n", ColorUtil::LastError().c_str());
        return 1;
    }
    // 45 x 33 patches of 4.5 mm with 0.5 mm gaps fit one A4 landscape page.
    TargetSettings settings;
    settings.patchesX = 45;
    settings.patchesY = 33;
    settings.patchCount = 1485;
    settings.numberOfPages = 1;
    settings.patchSizeX = settings.patchSizeY = 4500;
    settings.useRGB = false;
    settings.useCMYK = true;
    for (PaperSize &p : settings.papers)
        p.selected = p.name == QStringLiteral("A4");
    auto reference = cmykTarget(settings.patchCount);
    TargetPage page(nullptr, &settings);
    page.resize(800, 566);
    page.setupPatches(reference.get(), TargetPage::RowByRow);

    // BENCH_PAGEWRITER_KEEP names a folder that keeps the written pages for a look.
    QTemporaryDir tempDir;
    const QString keep = qEnvironmentVariable("BENCH_PAGEWRITER_KEEP");
    const QDir dir(keep.isEmpty() ? tempDir.path() : keep);
    const int maxDpi = qEnvironmentVariableIsSet("BENCH_PAGEWRITER_MAXDPI") ? qEnvironmentVariableIntValue("BENCH_PAGEWRITER_MAXDPI") : 1200;
    std::printf("%-6s %6s %10s %10s %12s %14s %12s\n", "format", "dpi", "s/page", "cpu s/page", "file MiB",
                "page image MiB", "peak MiB");
    for (int dpi : {300, 600, 1200}) {
        if (dpi > maxDpi)
            break;
        settings.resolution = dpi;
        const double imageMiB = 4.0 * std::trunc(dpi * 297.0 / 25.4) * std::trunc(dpi * 210.0 / 25.4) / 1048576.0;
        for (const char *format : {"TIFF", "DCS"}) {
            const bool tiff = format[0] == 'T';
            const QString base = dir.filePath(QStringLiteral("bench%1").arg(dpi));
            const int repeats = dpi == 300 ? 3 : 1;
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = cpuSeconds();
            bool ok = true;
            QString path, error;
            for (int r = 0; r < repeats && ok; ++r) {
                if (tiff) {
                    TiffWriter writer(&page, false);
                    ok = writer.writePage(base, 1);
                    error = writer.errorString();
                    path = TiffWriter::pageFilePath(base, 1);
                } else {
                    DCSWriter writer(&page);
                    ok = writer.writePage(base, 1);
                    error = writer.errorString();
                    path = DCSWriter::pageFilePath(base, 1);
                }
            }
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeats;
            const double cpu = (cpuSeconds() - cpuStart) / repeats;
            if (!ok) {
                std::fprintf(stderr, "%s %d dpi failed: %s\n", format, dpi, error.toLocal8Bit().constData());
                return 1;
            }
            std::printf("%-6s %6d %10.3f %10.3f %12.1f %14.1f %12.1f\n", format, dpi, seconds, cpu,
                        QFileInfo(path).size() / 1048576.0, imageMiB, peakMiB());
            std::fflush(stdout);
            if (keep.isEmpty())
                QFile::remove(path);
        }
    }
    ColorUtil::Shutdown();
    return 0;
}
