// Shared pieces of the page painter tests: the application object and colour conversion
// every widget test needs, and in-memory references of each kind.
#pragma once

#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace paintertest {

// Creates the QApplication (offscreen) and initialises ColorUtil once for the process.
class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "painter-test";
        static char *argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        ASSERT_TRUE(ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()))
            << ColorUtil::LastError();
    }
    void TearDown() override
    {
        ColorUtil::Shutdown();
        app.reset();
    }

private:
    std::unique_ptr<QApplication> app;
};

inline std::string spectralLibraryPath()
{
    return std::string(VANTREL_BINARY_DIR) + "/samples/MulticolorReference.txt";
}

inline ReferenceFileSet *addRGB(ReferenceFileData &data, double r, double g, double b, int id = -1)
{
    auto *set = new ReferenceFileSet(&data, data.GetSetCount(), false);
    const double v[3] = {r, g, b};
    set->SetRGB(v);
    set->SetOldID(id);
    data.AppendSet(set);
    return set;
}

inline std::unique_ptr<ReferenceFileData> rgbReference()
{
    auto data = std::make_unique<ReferenceFileData>();
    data->isRGB = true;
    return data;
}

// A CMYK reference with the display model built, as the main window builds it.
inline std::unique_ptr<ReferenceFileData> cmykReference(int extraChannels = 0)
{
    auto data = std::make_unique<ReferenceFileData>();
    data->isCMYK = true;
    data->extraChannelCount = extraChannels;
    data->SetCMYKLabDefs();
    for (int i = 0; i < extraChannels; ++i)
        data->colorantLab.push_back(LabTriple{60.0, -40.0 + 20 * i, 30.0});
    data->InitSpectralModel(spectralLibraryPath());
    return data;
}

inline ReferenceFileSet *addCMYK(ReferenceFileData &data, double c, double m, double y, double k)
{
    auto *set = new ReferenceFileSet(&data, data.GetSetCount(), false);
    const double v[4] = {c, m, y, k};
    set->SetCMYK(v);
    data.AppendSet(set);
    return set;
}

// Count of pixels in `image` (inside `area`) equal to `colour`.
inline int countPixels(const QImage &image, QRgb colour, QRect area = QRect())
{
    if (area.isNull())
        area = image.rect();
    area = area.intersected(image.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                ++n;
    return n;
}

} // namespace paintertest
