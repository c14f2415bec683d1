// Benchmark of the DOC report: the whole report step (references, tolerance set, CxF
// measurement, comparison, verdicts, value collection, XML file) for charts of 1,000, 5,000
// and 10,000 patches. Figures are printed, never asserted.
//
// The instrument library refuses grids above 8,192 positions, so the measured target record
// is built here the way a parse leaves it (header fields and an empty row table) instead
// of being parsed from a job file. The peak memory of each size is taken in a fresh process
// of its own (ru_maxrss only ever grows).
#include "ColorSetup.h"
#include "Job.h"
#include "ReportGenerator.h"
#include "Tintlib.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
constexpr int kColumns = 100;
const int kSizes[] = {1000, 5000, 10000};

std::string Name(const char* stem, int patches) { return std::string(stem) + std::to_string(patches); }

// Device values cycling through paper, solids, grays and mixed colours, so every colour
// class of the comparison is busy.
void DeviceValues(int i, double cmyk[4])
{
    switch (i % 8) {
    case 0: cmyk[0] = cmyk[1] = cmyk[2] = cmyk[3] = 0; break;
    case 1: cmyk[0] = 100; cmyk[1] = cmyk[2] = cmyk[3] = 0; break;
    case 2: cmyk[0] = 50; cmyk[1] = cmyk[2] = 40; cmyk[3] = 0; break;
    case 3: cmyk[0] = cmyk[1] = cmyk[2] = 0; cmyk[3] = 100; break;
    default:
        cmyk[0] = (i * 7) % 101;
        cmyk[1] = (i * 13) % 101;
        cmyk[2] = (i * 17) % 101;
        cmyk[3] = (i * 3) % 61;
    }
}

void WriteFixture(const std::string& folder, int patches)
{
    namespace fs = std::filesystem;
    fs::create_directories(folder + "/DOC/References");
    fs::create_directories(folder + "/DOC/DOCReferences");
    fs::create_directories(folder + "/DOC/Tolerances");
    std::ofstream chart(folder + "/DOC/References/" + Name("Chart", patches) + ".ref");
    std::ofstream doc(folder + "/DOC/DOCReferences/" + Name("Doc", patches) + ".ref");
    const std::string head = "CGATS.17\nORIGINATOR\t\"bench\"\nLGOROWLENGTH\t" + std::to_string(kColumns) + "\n";
    chart << head << "NUMBER_OF_FIELDS\t6\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tSAMPLE_NAME\tCMYK_C\tCMYK_M\tCMYK_Y\tCMYK_K\n"
          << "END_DATA_FORMAT\nNUMBER_OF_SETS\t" << patches << "\nBEGIN_DATA\n";
    doc << head << "NUMBER_OF_FIELDS\t9\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tSAMPLE_NAME\tCMYK_C\tCMYK_M\tCMYK_Y\tCMYK_K\t"
        << "LAB_L\tLAB_A\tLAB_B\nEND_DATA_FORMAT\nNUMBER_OF_SETS\t" << patches << "\nBEGIN_DATA\n";
    std::ofstream cxf(folder + "/" + Name("Measurement", patches) + ".cxf");
    cxf << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cc:CxF xmlns:cc=\"http://colorexchangeformat.com/CxF3-core\">\n"
        << " <cc:Resources>\n  <cc:ObjectCollection>\n";
    for (int i = 0; i < patches; ++i) {
        double c[4];
        DeviceValues(i, c);
        const double L = 95 - 0.8 * c[3] - 0.3 * (c[0] + c[1] + c[2]) / 3;
        const double a = 0.4 * (c[1] - c[0]);
        const double b = 0.5 * (c[2] - c[0]);
        char line[256];
        std::snprintf(line, sizeof line, "%d\tP%d\t%g\t%g\t%g\t%g", i + 1, i + 1, c[0], c[1], c[2], c[3]);
        chart << line << "\n";
        doc << line << "\t" << L << "\t" << a << "\t" << b << "\n";
        cxf << "   <cc:Object ObjectType=\"Target\" Id=\"P" << i + 1 << "\">\n    <cc:ColorValues>\n"
            << "     <cc:ColorCIELab><cc:L>" << L - 0.001 * (i % 2000) << "</cc:L><cc:A>" << a + 0.3
            << "</cc:A><cc:B>" << b - 0.2 << "</cc:B></cc:ColorCIELab>\n     <cc:ReflectanceSpectrum StartWL=\"380\">";
        for (int k = 0; k < 41; ++k)
            cxf << 0.05 + 0.02 * k << ' ';
        cxf << "</cc:ReflectanceSpectrum>\n    </cc:ColorValues>\n   </cc:Object>\n";
    }
    chart << "END_DATA\n";
    doc << "END_DATA\n";
    cxf << "  </cc:ObjectCollection>\n </cc:Resources>\n</cc:CxF>\n";
    std::ofstream(folder + "/DOC/Tolerances/Q.xml")
        << "<settings><reportType>QUORVANE_DOC</reportType><colorDistanceFormula>4</colorDistanceFormula>"
           "<maximumTotalError>5</maximumTotalError><grayBalanceError>2.5</grayBalanceError></settings>\n";
}

// A job as the loader leaves it: tags, and the target header with an empty row table.
std::unique_ptr<Job> MakeJob(int patches)
{
    auto job = std::make_unique<Job>();
    for (const auto& tag : std::initializer_list<std::pair<const char*, std::string>>{
             {"ReferenceType", "1"},
             {"DOCReferenceFile", "DOCReferences/" + Name("Doc", patches) + ".ref"},
             {"DOCSettingsFile", "Tolerances/Q.xml"},
             {"DOCMedia", "Gloss"},
             {"DOCMediaType", "1"},
             {"DOCPrinter", "Press"},
             {"DOCReportTemplate", "QUORVANE_DOC"}})
        job->SetExtraTagValue(tag.first, tag.second);
    auto* target = new Tintora_target{};
    target->patchesPerRow = kColumns;
    target->rowsPerStrip = (patches + kColumns - 1) / kColumns;
    target->stripCount = 1;
    target->patchCount = patches;
    std::strcpy(target->layoutName, "QUORVANE - Horizontal (default)");
    std::snprintf(target->referenceFileName, sizeof target->referenceFileName, "References/%s.ref",
                  Name("Chart", patches).c_str());
    std::strcpy(target->infoText, "<DOCMediaType>1</DOCMediaType>\n");
    // Rows allocated as the instrument library does (it would refuse this many positions).
    target->rows = static_cast<Tintora_patch**>(std::calloc(static_cast<size_t>(target->rowsPerStrip), sizeof(Tintora_patch*)));
    target->rowTableSize = target->rowsPerStrip;
    for (int r = 0; r < target->rowsPerStrip; ++r)
        target->rows[r] = static_cast<Tintora_patch*>(std::calloc(kColumns, sizeof(Tintora_patch)));
    job->ReplaceTintoraTarget(target);
    return job;
}

bool RunReport(const std::string& folder, int patches)
{
    auto job = MakeJob(patches);
    ReportGenerator generator(job.get(), folder + "/" + Name("Measurement", patches), folder + "/DOC");
    return generator.GenerateRaport();
}

std::string gFolder;

void BM_DocReport(benchmark::State& state)
{
    const int patches = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (!RunReport(gFolder, patches))
            state.SkipWithError("report failed");
    }
    state.SetItemsProcessed(state.iterations() * patches);
}
BENCHMARK(BM_DocReport)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One report in this (fresh) process: wall time and peak resident size.
int RunOnce(const std::string& folder, int patches)
{
    std::string error;
    if (!EnsureColorConversions(error))
        return 1;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = RunReport(folder, patches);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%6d patches: report %s in %7.1f ms, peak RSS %7.1f MiB (%.1f KiB per patch)\n", patches,
                ok ? "written" : "FAILED", ms, usage.ru_maxrss / 1024.0, usage.ru_maxrss / double(patches));
    std::fflush(stdout);
    return ok ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--one") == 0)
        return RunOnce(argv[3], std::atoi(argv[2]));

    char pattern[] = "/tmp/bench-docreport-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    gFolder = pattern;
    for (int n : kSizes)
        WriteFixture(gFolder, n);

    std::printf("Peak memory, one fresh process per chart size:\n");
    std::fflush(stdout);
    for (int n : kSizes) {
        const pid_t pid = fork();
        if (pid == 0) {
            const std::string size = std::to_string(n);
            execl("/proc/self/exe", argv[0], "--one", size.c_str(), gFolder.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }

    std::string error;
    EnsureColorConversions(error);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(gFolder);
    return 0;
}
