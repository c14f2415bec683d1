// samplegen: writes the suite's sample data, a DOC folder with charts, tolerance sets,
// jobs and measured prints, and sample references for Tessaro.
//
// Glossary: chart reference = the device values of a printed chart (what Tessaro saves);
// DOC reference = the same patches with the Lab colour they should print; print = one
// simulated measurement of the chart: the expected Lab plus a small deterministic scatter,
// and for a failing print one defect aimed at the checks of its report type.
//
// Expected colours come from the suite's own CMYK output profile (ColorUtil) and sRGB;
// spectra and spot-ink colours from the band-spectrum model of Spectra.h. Everything is
// deterministic: no clock, no random device, locale-independent numbers, so the output
// can be compared byte for byte with the copy committed in samples/.
//
// Usage: samplegen <output folder>   (writes <output>/DOC and <output>/references)
#include "Charts.h"
#include "SampleFiles.h"
#include "Spectra.h"

#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "ReferenceFileData.h"
#include "ReferenceWriter.h"

#include <lcms2.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace samplegen;

namespace
{
const char* const kCreated = "Mon Mar 10 09:00:00 2025";
const char* const kOriginator = "QUORVANE Vantrel 4.7.19";
const char* const kLayout = "QUORVANE - Horizontal (default)";
const char* const kDevice = "Tintora Strip";
const int kCmykColumns = 16;
const int kRgbColumns = 10;

// splitmix64: a small deterministic generator, seeded per print.
class Scatter
{
public:
    explicit Scatter(const std::string& seed)
    {
        for (unsigned char c : seed)
            state = (state ^ c) * 1099511628211ull;
    }
    // Uniform in [-1, 1].
    double Next()
    {
        uint64_t z = (state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) / static_cast<double>(1ull << 52) - 1.0;
    }

private:
    uint64_t state = 14695981039346656037ull;
};

// Lab as an instrument reports it: two decimals.
double Round2(double v) { return std::round(v * 100.0) / 100.0; }

Lab CmykLab(const Cmyk& c)
{
    double lab[3] = {0, 0, 0};
    ColorUtil::CMYKtoLab(c.data(), lab);
    return {Round2(lab[0]), Round2(lab[1]), Round2(lab[2])};
}

Lab RgbLab(const Rgb& c)
{
    double lab[3] = {0, 0, 0};
    ColorUtil::RGBtoLab(c.data(), lab);
    return {Round2(lab[0]), Round2(lab[1]), Round2(lab[2])};
}

void FillHeader(ReferenceFileData& d, const std::string& descriptor)
{
    CopyFixedText(d.created, kCreated);
    CopyFixedText(d.originator, kOriginator);
    CopyFixedText(d.descriptor, descriptor.c_str());
    d.hasSampleID = true;
    d.hasSampleName = true;
}

ReferenceFileSet* AddSet(ReferenceFileData& d, int index, int columns)
{
    auto* s = new ReferenceFileSet(&d, index, false);
    s->SetID(index + 1);
    s->SetName(PatchName(index, columns).c_str());
    d.AppendSet(s);
    return s;
}

bool WriteCgats(ReferenceFileData& d, const std::string& path, bool withLab)
{
    d.saveLab = withLab;
    const std::size_t slash = path.rfind('/');
    return MakeFolders(path.substr(0, slash)) && WriteReferenceFile(d, nullptr, path.c_str(), false);
}

// ---------------------------------------------------------------------------------------
// DOC charts

struct DocChart
{
    std::string name;
    int columns = 0;
    std::unique_ptr<ReferenceFileData> data;   // device values and expected Lab
};

DocChart MakeCmykChart()
{
    DocChart chart{"DOC_Chart_CMYK", kCmykColumns, std::make_unique<ReferenceFileData>()};
    ReferenceFileData& d = *chart.data;
    FillHeader(d, chart.name);
    d.isCMYK = true;
    d.hasLab = true;
    d.saveRowLength = d.lgoRowLength = chart.columns;
    const std::vector<Cmyk> patches = DocChartCmyk(chart.columns);
    for (std::size_t i = 0; i < patches.size(); ++i) {
        ReferenceFileSet* s = AddSet(d, static_cast<int>(i), chart.columns);
        s->SetCMYK(patches[i].data());
        const Lab lab = CmykLab(patches[i]);
        const double v[3] = {lab.L, lab.a, lab.b};
        s->SetLAB(v);
    }
    d.SetCMYKLabDefs();
    return chart;
}

DocChart MakeRgbChart()
{
    DocChart chart{"DOC_Chart_RGB", kRgbColumns, std::make_unique<ReferenceFileData>()};
    ReferenceFileData& d = *chart.data;
    FillHeader(d, chart.name);
    d.isRGB = true;
    d.hasLab = true;
    d.saveRowLength = d.lgoRowLength = chart.columns;
    const std::vector<Rgb> patches = DocChartRgb(chart.columns);
    for (std::size_t i = 0; i < patches.size(); ++i) {
        ReferenceFileSet* s = AddSet(d, static_cast<int>(i), chart.columns);
        s->SetRGB(patches[i].data());
        const Lab lab = RgbLab(patches[i]);
        const double v[3] = {lab.L, lab.a, lab.b};
        s->SetLAB(v);
    }
    return chart;
}

// ---------------------------------------------------------------------------------------
// Tolerance sets

const char* const kKeys[39] = {
    "averageTotalError", "maximumTotalError", "primaryColorsTotalError", "paperWhiteTotalError",
    "grayBalanceError", "deviationBest90Error", "grayBalanceIDEASpecialError", "paperWhiteTotalLError",
    "paperWhiteTotalaError", "paperWhiteTotalbError", "averageWDeltaLstarError", "maximumWDeltaLstarError",
    "averageWDeltaChError", "maximumWDeltaChError", "blackColorTotalError", "secondaryColorsTotalError",
    "deviationTotalError", "cp_paperWhiteTotalError", "cp_maximumTotalError", "cp_averageTotalError",
    "cp_grayBalanceError", "cp_averageGrayBalanceError", "cp_primaryColorsTotalError",
    "cp_primaryColorsDeltaHTotalError", "vp_paperWhiteTotalError", "vp_averageNoBoundaryColorsError",
    "vp_95thPercentileNoBoundaryColors", "vp_grayBalanceError", "vp_averageGrayBalanceError",
    "ma_paperWhiteTotalError", "ma_averageTotalError", "ma_maximumTotalError", "ma_95thPercentile",
    "ma_grayBalanceError", "mr_averageTotalError", "mr_95thPercentile", "mr_grayBalanceError", "mr_whitepoint",
    "mr_blackpoint",
};
// Limits shared by every set unless a set overrides them, in key order.
const double kBaseLimits[39] = {
    3.0, 6.0, 5.0, 3.0, 3.0, 4.5, 2.5, 2.0, 1.5, 2.0,   // general and IDEAlliance
    1.5, 3.0, 1.5, 3.0, 5.0, 7.0, 4.0,                   // G7 and spare
    3.0, 6.0, 2.5, 3.0, 2.0, 4.0, 2.5,                   // Fogra PSD 2022 CP
    3.0, 3.0, 5.0, 3.5, 2.5,                             // VP
    3.0, 2.0, 5.0, 3.5, 2.5,                             // MA
    2.0, 3.5, 2.5, 2.0, 3.0,                             // MR
};

struct ToleranceSet
{
    std::string file;         // below "Tolerances"
    std::string reportType;
    int formula;
    std::vector<std::pair<std::string, double>> overrides;
};

const std::vector<ToleranceSet>& ToleranceSets()
{
    static const std::vector<ToleranceSet> sets = {
        {"QuorvaneDOC.xml", "QUORVANE_DOC", 4, {}},
        {"FograPSD.xml", "FOGRA_PSD", 0,
         {{"averageTotalError", 4.0}, {"maximumTotalError", 10.0}, {"deviationBest90Error", 6.0}}},
        {"FograPSD_REL.xml", "FOGRA_PSD_REL", 0,
         {{"averageTotalError", 4.0}, {"maximumTotalError", 10.0}, {"deviationBest90Error", 6.0}}},
        {"IDEAllianceCW2013.xml", "IDEAllianceCW_2013", 4, {}},
        {"IDEAllianceDCS2009.xml", "IDEAllianceDCS_2009", 0, {{"maximumTotalError", 10.0}}},
        {"FograPSD2022.xml", "FOGRA_PSD_2022", 4, {}},
        {"FograPSD2022_SideBySide.xml", "FOGRA_PSD_2022_Side-by-Side", 4, {}},
        {"FograPSD2022_MediaRelative.xml", "FOGRA_PSD_2022_mediarelative", 4, {}},
        {"G7_Targeted.xml", "IDEAllianceG7MasterPassFail-Targeted", 4, {}},
        {"G7_Proof.xml", "IDEAllianceG7MasterPassFail-Colorspace-Proof", 4,
         {{"averageTotalError", 2.0}, {"maximumTotalError", 6.0}, {"deviationBest90Error", 4.0}}},
        {"G7_Press.xml", "IDEAllianceG7MasterPassFail-Colorspace-Press", 4,
         {{"averageTotalError", 3.0}, {"maximumTotalError", 10.0}, {"deviationBest90Error", 6.0}}},
    };
    return sets;
}

bool WriteTolerances(const std::string& doc)
{
    for (const ToleranceSet& t : ToleranceSets()) {
        std::vector<Limit> limits;
        for (int k = 0; k < 39; ++k) {
            double v = kBaseLimits[k];
            for (const auto& o : t.overrides)
                if (o.first == kKeys[k])
                    v = o.second;
            limits.push_back({kKeys[k], v});
        }
        if (!WriteText(doc + "/Tolerances/" + t.file, ToleranceDocument({t.reportType}, t.formula, limits)))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Prints: the expected colours plus scatter, and one defect for a failing print.

enum class Defect
{
    None,
    MagentaWeak,    // magenta solids and overprints too light and too little red
    GrayCast,       // three-colour grays reddish-yellow
    PaperYellow,    // paper white yellower than the reference paper
    IdeaGrayCast,   // IDEAlliance grays and the special gray with a green-blue cast
    PaperDark,      // paper white darker than the reference paper
    Darker,         // everything but paper printed darker
    WashedBlacks,   // dark colours and heavy shadows too light
    G7GrayCast,     // G7 CMY grays reddish-yellow
    Outliers,       // every seventh patch far too dark or too light
    ChromaLoss,     // all colours desaturated and a little light
    BlueLight,      // blues too light and too little blue
};

const char* DefectText(Defect d)
{
    switch (d) {
    case Defect::None: return "within tolerance";
    case Defect::MagentaWeak: return "magenta too weak";
    case Defect::GrayCast: return "gray balance cast";
    case Defect::PaperYellow: return "paper white too yellow";
    case Defect::IdeaGrayCast: return "IDEAlliance grays off";
    case Defect::PaperDark: return "paper white too dark";
    case Defect::Darker: return "whole print too dark";
    case Defect::WashedBlacks: return "shadows washed out";
    case Defect::G7GrayCast: return "G7 gray balance cast";
    case Defect::Outliers: return "single patches far off";
    case Defect::ChromaLoss: return "colours desaturated";
    case Defect::BlueLight: return "blue too weak";
    }
    return "";
}

Lab Defective(Defect d, const ReferenceFileSet& s, Lab m)
{
    const double* v = s.GetValuesCMYK();
    const double* rgb = s.GetValuesRGB();
    const bool paper = s.GetData()->isRGB ? s.IsRGBPaperWhite() : s.IsPaperWhite();
    switch (d) {
    case Defect::None: break;
    case Defect::MagentaWeak:
        if (v[1] >= 70 && v[3] == 0) {
            m.L += 7.0;
            m.a -= 10.0;
        }
        break;
    case Defect::GrayCast:
        if (s.IsGrayScale()) {
            m.a += 2.5;
            m.b += 3.0;
        }
        break;
    case Defect::PaperYellow:
        if (paper)
            m.b += 4.0;
        break;
    case Defect::IdeaGrayCast:
        if (s.IsGrayScaleIDEA() || s.IsGrayBalanceIDEASpecial()) {
            m.a -= 2.5;
            m.b -= 3.0;
        }
        break;
    case Defect::PaperDark:
        if (paper)
            m.L -= 3.0;
        break;
    case Defect::Darker:
        if (!paper)
            m.L -= 4.0;
        break;
    case Defect::WashedBlacks:
        if (s.IsGamutDarkColor())
            m.L += 6.0;
        else if (v[3] >= 70 || v[0] + v[1] + v[2] + v[3] >= 250)
            m.L += 3.0;
        break;
    case Defect::G7GrayCast:
        if (s.IsG7CMYGrayScale() && !paper) {
            m.a += 2.5;
            m.b += 2.5;
        }
        break;
    case Defect::Outliers:
        // Light patches darker and dark ones lighter, so no colour leaves the printable range.
        if (s.GetIdxInFile() % 7 == 3 && !paper)
            m.L += m.L > 60.0 ? -8.0 : 8.0;
        break;
    case Defect::ChromaLoss:
        if (!paper) {
            m.a *= 0.6;
            m.b *= 0.6;
            m.L += 1.5;
        }
        break;
    case Defect::BlueLight:
        if (rgb[2] >= 192 && rgb[0] <= 64 && rgb[1] <= 64) {
            m.L += 10.0;
            m.b += 8.0;
        }
        break;
    }
    return m;
}

struct PrintJob
{
    std::string name;          // job and measurement base name
    const DocChart* chart;
    std::string toleranceFile;
    std::string reportType;
    int mediaType;             // 1 absolute, 2 media relative
    bool oldReportTag;         // "DOCReportType" instead of "DOCReportTemplate"
    Defect defect;
    int minute;                // of the measurement time stamp
};

struct MeasuredPatch
{
    std::string name;
    Lab lab;
};

std::vector<MeasuredPatch> Measure(const PrintJob& job)
{
    Scatter scatter(job.name);
    std::vector<MeasuredPatch> out;
    const ReferenceFileData& d = *job.chart->data;
    for (int i = 0; i < d.GetSetCount(); ++i) {
        const ReferenceFileSet& s = *d.GetSet(i);
        const double* e = s.GetValuesLAB();
        const bool paper = d.isRGB ? s.IsRGBPaperWhite() : s.IsPaperWhite();
        const double spread = paper ? 0.25 : 0.45;
        Lab m{e[0] + spread * 1.1 * scatter.Next(), e[1] + spread * scatter.Next(), e[2] + spread * scatter.Next()};
        m = Defective(job.defect, s, m);
        out.push_back({s.GetName(), {Round2(m.L), Round2(m.a), Round2(m.b)}});
    }
    return out;
}

std::string TimeStamp(int minute)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "20250310%02d%02d0000", 9 + minute / 60, minute % 60);
    return buf;
}

std::string MeasurementFile(const PrintJob& job) { return job.name + "_" + TimeStamp(job.minute) + ".cxf"; }

std::vector<std::pair<std::string, std::string>> JobTags(const PrintJob& job)
{
    return {
        {"ReferenceType", "1"},
        {"DOCReferenceFile", "DOCReferences/" + job.chart->name + ".ref"},
        {"DOCSettingsFile", "Tolerances/" + job.toleranceFile},
        {"DOCPrinter", "Press 4"},
        {"DOCMedia", "Gloss coated 115 g/m2"},
        {"DOCMediaType", std::to_string(job.mediaType)},
        {job.oldReportTag ? "DOCReportType" : "DOCReportTemplate", job.reportType},
    };
}

// The measurement text of the instrument library for one print.
std::string MeasurementText(const PrintJob& job, const std::vector<MeasuredPatch>& patches)
{
    const int w = job.chart->columns;
    const int n = static_cast<int>(patches.size());
    std::string t = "TINTORA_MEASUREMENT 1\n";
    t += std::string("LAYOUT ") + kLayout + "\n";
    t += "CHART_REFERENCE References/" + job.chart->name + ".ref\n";
    t += "OUTPUT_FILE Measurements/" + MeasurementFile(job) + "\n";
    t += "INFO Sample print " + job.name + " (" + job.reportType + "): " + DefectText(job.defect) + "\n";
    t += "MEASURING_MODE 1\nSCAN_MODE 5\n";
    t += "GRID " + std::to_string(w) + " " + std::to_string((n + w - 1) / w) + " " + std::to_string(n) + " 1\n";
    for (int i = 0; i < n; ++i) {
        const Lab& l = patches[static_cast<std::size_t>(i)].lab;
        t += "PATCH 0 " + std::to_string(i / w) + " " + std::to_string(i % w) + " " + Fixed(l.L, 2) + " " +
             Fixed(l.a, 2) + " " + Fixed(l.b, 2) + "\n";
    }
    t += "END\n";
    return t;
}

std::string JobDocument(const PrintJob& job, const std::string& measurement)
{
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Job>\n<Type>eDOCJob</Type>\n";
    // The tags stand before the target so that they reach the measurement's information text.
    for (const auto& tag : JobTags(job))
        x += "<" + tag.first + ">" + XmlEscape(tag.second) + "</" + tag.first + ">\n";
    x += "<TintoraTarget>" + XmlEscape(measurement) + "</TintoraTarget>\n</Job>\n";
    return x;
}

// A version-3 job: the measurement text itself, the job tags as its leading tag lines.
std::string Version3Job(const PrintJob& job, const std::string& measurement)
{
    std::string t = "# Version-3 DOC job: a measurement text whose tag lines carry the job tags.\n";
    for (const auto& tag : JobTags(job))
        t += "<" + tag.first + ">" + tag.second + "</" + tag.first + ">\n";
    return t + measurement;
}

bool WritePrint(const std::string& doc, const PrintJob& job, bool version3)
{
    const std::vector<MeasuredPatch> patches = Measure(job);
    const std::string measurement = MeasurementText(job, patches);
    if (!WriteText(doc + "/Jobs/" + job.name + ".xml", JobDocument(job, measurement)))
        return false;
    if (version3 && (!WriteText(doc + "/Jobs/Version3/" + job.name + ".txt", Version3Job(job, measurement)) ||
                     !WriteText(doc + "/Jobs/run.txt.d/Job.XML", Version3Job(job, measurement))))
        return false;

    std::vector<CxfPatch> cxf;
    for (const MeasuredPatch& p : patches) {
        CxfPatch c;
        c.name = p.name;
        c.lab = p.lab;
        c.hasSpectrum = true;
        c.spectrum = FitSpectrum(p.lab);
        cxf.push_back(c);
    }
    const std::string stamp = TimeStamp(job.minute);
    const CxfHeader header{kDevice,
                           "2025-03-10T" + stamp.substr(8, 2) + ":" + stamp.substr(10, 2) + ":00",
                           "Sample print " + job.name + " of " + job.chart->name + ": " + DefectText(job.defect),
                           kDevice};
    return WriteText(doc + "/Measurements/" + MeasurementFile(job), CxfDocument(header, cxf));
}

bool WriteDocFolder(const std::string& doc)
{
    const DocChart cmyk = MakeCmykChart();
    const DocChart rgb = MakeRgbChart();
    for (const DocChart* c : {&cmyk, &rgb}) {
        if (!WriteCgats(*c->data, doc + "/References/" + c->name + ".ref", false) ||
            !WriteCgats(*c->data, doc + "/DOCReferences/" + c->name + ".ref", true))
            return false;
    }
    if (!WriteTolerances(doc))
        return false;

    struct Scheme
    {
        const char* name;
        const char* toleranceFile;
        int mediaType;
        bool oldTag;
        Defect defect;
        const DocChart* chart;
    };
    const Scheme schemes[] = {
        {"QuorvaneDOC", "QuorvaneDOC.xml", 1, false, Defect::MagentaWeak, &cmyk},
        {"FograPSD", "FograPSD.xml", 1, true, Defect::GrayCast, &cmyk},
        {"FograPSD_REL", "FograPSD_REL.xml", 2, true, Defect::PaperYellow, &cmyk},
        {"IDEAllianceCW2013", "IDEAllianceCW2013.xml", 1, false, Defect::IdeaGrayCast, &cmyk},
        {"IDEAllianceDCS2009", "IDEAllianceDCS2009.xml", 1, false, Defect::PaperDark, &cmyk},
        {"FograPSD2022", "FograPSD2022.xml", 1, false, Defect::GrayCast, &cmyk},
        {"FograPSD2022_SideBySide", "FograPSD2022_SideBySide.xml", 1, false, Defect::Darker, &cmyk},
        {"FograPSD2022_MediaRelative", "FograPSD2022_MediaRelative.xml", 2, false, Defect::WashedBlacks, &cmyk},
        {"G7_Targeted", "G7_Targeted.xml", 1, false, Defect::G7GrayCast, &cmyk},
        {"G7_Proof", "G7_Proof.xml", 1, false, Defect::Outliers, &cmyk},
        {"G7_Press", "G7_Press.xml", 1, false, Defect::ChromaLoss, &cmyk},
        {"QuorvaneDOC_RGB", "QuorvaneDOC.xml", 1, false, Defect::BlueLight, &rgb},
    };
    int minute = 15;
    for (const Scheme& s : schemes) {
        std::string reportType;
        for (const ToleranceSet& t : ToleranceSets())
            if (t.file == s.toleranceFile)
                reportType = t.reportType;
        for (bool pass : {true, false}) {
            const PrintJob job{std::string(s.name) + (pass ? "_Pass" : "_Fail"), s.chart, s.toleranceFile,
                               reportType, s.mediaType, s.oldTag, pass ? Defect::None : s.defect, minute};
            minute += 2;
            if (!WritePrint(doc, job, pass && s.defect == Defect::MagentaWeak))
                return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Tessaro references

bool WriteCmykReference(const std::string& path, const std::string& descriptor, const std::vector<Cmyk>& patches,
                        int columns)
{
    ReferenceFileData d;
    FillHeader(d, descriptor);
    d.isCMYK = true;
    d.hasLab = true;
    d.saveRowLength = d.lgoRowLength = columns;
    for (std::size_t i = 0; i < patches.size(); ++i) {
        ReferenceFileSet* s = AddSet(d, static_cast<int>(i), columns);
        s->SetCMYK(patches[i].data());
        const Lab lab = CmykLab(patches[i]);
        const double v[3] = {lab.L, lab.a, lab.b};
        s->SetLAB(v);
    }
    d.SetCMYKLabDefs();
    return WriteCgats(d, path, true);
}

bool WriteRgbReference(const std::string& path)
{
    const int columns = 18;
    ReferenceFileData d;
    FillHeader(d, "RGB_216");
    d.isRGB = true;
    d.hasLab = true;
    d.saveRowLength = d.lgoRowLength = columns;
    const std::vector<Rgb> patches = RgbChart();
    for (std::size_t i = 0; i < patches.size(); ++i) {
        ReferenceFileSet* s = AddSet(d, static_cast<int>(i), columns);
        s->SetRGB(patches[i].data());
        const Lab lab = RgbLab(patches[i]);
        const double v[3] = {lab.L, lab.a, lab.b};
        s->SetLAB(v);
    }
    return WriteCgats(d, path, true);
}

// A CGATS text of our own: the reader's keyword lines, a data format and the rows.
std::string CgatsText(const std::vector<std::string>& header, const std::vector<std::string>& fields,
                      const std::vector<std::vector<std::string>>& rows)
{
    std::string t = "CGATS.17\n";
    for (const std::string& h : header)
        t += h + "\n";
    t += "NUMBER_OF_FIELDS\t" + std::to_string(fields.size()) + "\nBEGIN_DATA_FORMAT\n";
    for (std::size_t i = 0; i < fields.size(); ++i)
        t += fields[i] + (i + 1 < fields.size() ? "\t" : "\n");
    t += "END_DATA_FORMAT\nNUMBER_OF_SETS\t" + std::to_string(rows.size()) + "\nBEGIN_DATA\n";
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i)
            t += row[i] + (i + 1 < row.size() ? "\t" : "\n");
    return t + "END_DATA\n";
}

Lab Solid(int ink)
{
    Cmyk c{0, 0, 0, 0};
    c[static_cast<std::size_t>(ink)] = 100;
    return CmykLab(c);
}

// CMYK plus the spot inks Orange and Green; their display colours in "PLUS_%1_COLOR".
bool WriteSpotReference(const std::string& path)
{
    const Lab orange{64.0, 56.0, 72.0};
    const Lab green{55.0, -66.0, 26.0};
    const InkSet inks(CmykLab({0, 0, 0, 0}), {Solid(0), Solid(1), Solid(2), Solid(3), orange, green});
    std::vector<std::string> header = {
        "ORIGINATOR\t\"" + std::string(kOriginator) + "\"", "DESCRIPTOR\t\"CMYK_Orange_Green\"",
        "CREATED\t\"" + std::string(kCreated) + "\"",
        "PLUS_1_COLOR\t\"Orange|" + Fixed(orange.L, 2) + "|" + Fixed(orange.a, 2) + "|" + Fixed(orange.b, 2) + "\"",
        "PLUS_2_COLOR\t\"Green|" + Fixed(green.L, 2) + "|" + Fixed(green.a, 2) + "|" + Fixed(green.b, 2) + "\"",
        "LGOROWLENGTH\t12"};
    const std::vector<std::string> fields = {"SAMPLE_ID", "SAMPLE_NAME", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K",
                                             "Orange", "Green", "LAB_L", "LAB_A", "LAB_B"};
    std::vector<std::vector<std::string>> rows;
    const auto patches = SpotChart();
    for (std::size_t i = 0; i < patches.size(); ++i) {
        std::vector<std::string> row = {std::to_string(i + 1), "\"" + PatchName(static_cast<int>(i), 12) + "\""};
        for (double v : patches[i])
            row.push_back(Fixed(v, 2));
        const Lab lab = SpectrumLab(inks.Mix(patches[i]));
        row.push_back(Fixed(lab.L, 2));
        row.push_back(Fixed(lab.a, 2));
        row.push_back(Fixed(lab.b, 2));
        rows.push_back(row);
    }
    return WriteText(path, CgatsText(header, fields, rows));
}

// Six inks of a photo printer (light cyan and light magenta beside CMYK) as an N-colour
// file without CMYK fields: PC6_ channels, "ChannelInfo" colours and 41-value spectra.
bool WriteSixInkReference(const std::string& path)
{
    const char* const names[6] = {"Light Cyan", "Light Magenta", "Cyan", "Magenta", "Yellow", "Black"};
    const std::vector<Lab> solids = {{74.0, -24.0, -27.0}, {70.0, 36.0, -9.0}, Solid(0), Solid(1), Solid(2), Solid(3)};
    const InkSet inks(CmykLab({0, 0, 0, 0}), solids);
    std::vector<std::string> header = {"ORIGINATOR\t\"" + std::string(kOriginator) + "\"",
                                       "DESCRIPTOR\t\"NColor6_Photo\"", "CREATED\t\"" + std::string(kCreated) + "\""};
    for (int k = 0; k < 6; ++k) {
        const Lab& l = solids[static_cast<std::size_t>(k)];
        header.push_back("ChannelInfo" + std::to_string(k) + "\t\"" + names[k] + ",Lab," + Fixed(l.L, 2) + " " +
                         Fixed(l.a, 2) + " " + Fixed(l.b, 2) + " \"");
    }
    header.push_back("LGOROWLENGTH\t10");
    std::vector<std::string> fields = {"SAMPLE_ID", "SAMPLE_NAME"};
    for (int k = 1; k <= 6; ++k)
        fields.push_back("PC6_" + std::to_string(k));
    for (const char* f : {"LAB_L", "LAB_A", "LAB_B"})
        fields.push_back(f);
    for (int i = 0; i < kSpectralCount; ++i)
        fields.push_back("SPECTRAL_NM" + std::to_string(380 + 10 * i));
    std::vector<std::vector<std::string>> rows;
    const auto patches = SixInkChart();
    for (std::size_t i = 0; i < patches.size(); ++i) {
        std::vector<std::string> row = {std::to_string(i + 1), "\"" + PatchName(static_cast<int>(i), 10) + "\""};
        for (double v : patches[i])
            row.push_back(Fixed(v, 2));
        const Spectrum s = inks.Mix(patches[i]);
        const Lab lab = SpectrumLab(s);
        row.push_back(Fixed(lab.L, 2));
        row.push_back(Fixed(lab.a, 2));
        row.push_back(Fixed(lab.b, 2));
        for (double v : s)
            row.push_back(Fixed(v, 4));
        rows.push_back(row);
    }
    return WriteText(path, CgatsText(header, fields, rows));
}

bool WriteCxfReference(const std::string& path)
{
    std::vector<CxfPatch> patches;
    const std::vector<Cmyk> chart = SmallCmykChart();
    for (std::size_t i = 0; i < chart.size(); ++i) {
        CxfPatch p;
        p.name = PatchName(static_cast<int>(i), 9);
        p.lab = CmykLab(chart[i]);
        p.hasCmyk = true;
        for (int k = 0; k < 4; ++k)
            p.cmyk[k] = chart[i][static_cast<std::size_t>(k)];
        patches.push_back(p);
    }
    const CxfHeader header{kOriginator, "2025-03-10T09:00:00", "CMYK_ControlStrip54", ""};
    return WriteText(path, CxfDocument(header, patches));
}

bool WriteReferences(const std::string& folder)
{
    return WriteCmykReference(folder + "/CMYK_1485.ref", "CMYK_1485", LargeCmykChart(), 33) &&
           WriteCmykReference(folder + "/CMYK_ControlStrip54.ref", "CMYK_ControlStrip54", SmallCmykChart(), 9) &&
           WriteRgbReference(folder + "/RGB_216.ref") && WriteSpotReference(folder + "/CMYK_Orange_Green.ref") &&
           WriteSixInkReference(folder + "/NColor6_Photo.ref") &&
           WriteCxfReference(folder + "/CMYK_ControlStrip54.cxf");
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: samplegen <output folder>\n");
        return 2;
    }
    if (!ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize(), false)) {
        std::fprintf(stderr, "samplegen: colour conversion: %s\n", ColorUtil::LastError().c_str());
        return 1;
    }
    const std::string out = argv[1];
    const bool ok = MakeFolders(out) && WriteDocFolder(out + "/DOC") && WriteReferences(out + "/references");
    ColorUtil::Shutdown();
    if (!ok) {
        std::fprintf(stderr, "samplegen: could not write the samples below %s\n", out.c_str());
        return 1;
    }
    return 0;
}
