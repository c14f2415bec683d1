// The refresh behind every keystroke in the target name: layout run, validation, patch
// set-up of the page painter and one repaint of the page into an offscreen image of a
// typical window size. Figures are printed, never asserted (goals: 1485 patches under
// 16 ms, 10,000 under 100 ms).
#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "InstrumentCatalogue.h"
#include "LayoutValidation.h"
#include "PageLayout.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "TargetSettings.h"
#include "targetpage.h"
#include "targetpatchgrid.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<ReferenceFileData> makeReference(int count, bool cmyk)
{
    auto data = std::make_unique<ReferenceFileData>();
    if (cmyk) {
        data->isCMYK = true;
        data->SetCMYKLabDefs();
        data->InitSpectralModel(std::string(VANTREL_BINARY_DIR) + "/samples/MulticolorReference.txt");
    } else {
        data->isRGB = true;
    }
    for (int i = 0; i < count; ++i) {
        auto *set = new ReferenceFileSet(data.get(), i, false);
        if (cmyk) {
            const double v[4] = {double(i % 11 * 10), double(i / 11 % 11 * 10), double(i / 121 % 11 * 10),
                                 double(i / 1331 % 5 * 25)};
            set->SetCMYK(v);
        } else {
            const double v[3] = {double(i * 37 % 256), double(i * 91 % 256), double(i * 53 % 256)};
            set->SetRGB(v);
        }
        set->SetOldID(i + 1);
        data->AppendSet(set);
    }
    return data;
}

// Window of 1200 x 800 with the page fitted into it, as the main window shows it.
void refresh(benchmark::State &state, bool cmyk, bool separators)
{
    const int count = static_cast<int>(state.range(0));
    TargetSettings settings;
    InstrumentCatalogue::applyDefaults(settings, DevOption::TintoraVestra2mm);
    settings.useRGB = !cmyk;
    settings.useCMYK = cmyk;
    settings.patchCount = count;
    settings.blackWhiteSeparators = separators;
    settings.autopositioningBorders = separators;
    settings.referenceFile = QStringLiteral("/charts/bench.txt");
    auto reference = makeReference(count, cmyk);
    QWidget container;
    TargetPage page(&container, &settings);
    page.fitIntoContainer(QSize(1200, 800));
    page.scaleToSize(page.width(), page.height());
    QImage image(page.size(), QImage::Format_RGB32);
    int key = 0;
    for (auto _ : state) {
        settings.targetName = QStringLiteral("Target %1").arg(++key);
        PageLayout::runLayout(settings);
        const auto findings = LayoutValidation::findings(settings, true);
        benchmark::DoNotOptimize(LayoutValidation::counts(findings));
        page.setupPatches(reference.get(), TargetPage::RowByRow);
        page.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pages"] = settings.numberOfPages;
    state.counters["perPage"] = settings.patchesX * settings.patchesY;
}

void BM_RefreshRGB(benchmark::State &state)
{
    refresh(state, false, false);
}
void BM_RefreshCMYK(benchmark::State &state)
{
    refresh(state, true, false);
}
void BM_RefreshCMYKBorders(benchmark::State &state)
{
    refresh(state, true, true);
}

BENCHMARK(BM_RefreshRGB)->Arg(1485)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshCMYK)->Arg(1485)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshCMYKBorders)->Arg(1485)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ColorUtil::Shutdown();
    return 0;
}
