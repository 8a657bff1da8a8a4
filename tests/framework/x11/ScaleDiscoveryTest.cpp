#include <gtest/gtest.h>

#include "SettingsBlob.h"
#include "framework/platform/x11/ScaleDiscovery.h"
#include "framework/platform/x11/XSettings.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace emr;
using namespace emr::platform::x11;
using emr::testing::SettingsBlob;

namespace {

constexpr std::int32_t kDpi144 = 144 * 1024;

TMonitorGeometry Monitor(int left, int width, int height, int widthMm, int heightMm) {
    return {TRect::FromBounds(left, 0, width, height), widthMm, heightMm};
}

// The size a monitor of `dpi` would report, in whole millimetres as RandR gives it.
int Millimetres(int pixels, double dpi) {
    return static_cast<int>(std::lround(pixels * 25.4 / dpi));
}

} // namespace

TEST(XSettings, FindsTheIntegerAmongOtherSettingsInEitherByteOrder) {
    for (bool bigEndian : {false, true}) {
        const std::vector<std::uint8_t> blob = SettingsBlob(bigEndian)
                                                   .String("Net/ThemeName", "Adwaita")
                                                   .Color("Gtk/Color")
                                                   .Integer("Xft/Antialias", 1)
                                                   .Integer("Xft/DPI", kDpi144)
                                                   .Bytes();
        EXPECT_EQ(XSettings::Integer(blob, "Xft/DPI"), kDpi144) << "big endian " << bigEndian;
        EXPECT_EQ(XSettings::Integer(blob, "Xft/Antialias"), 1);
        EXPECT_EQ(XSettings::Integer(blob, "Xft/Hinting"), std::nullopt);
        EXPECT_EQ(XSettings::Integer(blob, "Net/ThemeName"), std::nullopt) << "a string is no integer";
    }
}

TEST(XSettings, MalformedDataGiveNothingInsteadOfReadingPastTheEnd) {
    const std::vector<std::uint8_t> good =
        SettingsBlob(false).String("A", "xyz").Integer("Xft/DPI", 5).Bytes();
    std::vector<std::uint8_t> badOrder = good;
    badOrder[0] = 2;
    EXPECT_EQ(XSettings::Integer(badOrder, "Xft/DPI"), std::nullopt) << "unknown byte order";

    // Every truncation before the value's last byte loses the value.
    for (std::size_t size = 0; size < good.size(); ++size) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
        EXPECT_EQ(XSettings::Integer(cut, "Xft/DPI"), std::nullopt) << "cut at " << size;
    }

    // A string claiming four gigabytes, and a count far beyond the data.
    std::vector<std::uint8_t> hugeString = good;
    const std::size_t lengthAt = 12 + 4 + 4 + 4; // header, setting head, padded name "A", serial
    for (std::size_t i = 0; i < 4; ++i)
        hugeString[lengthAt + i] = 0xFF;
    EXPECT_EQ(XSettings::Integer(hugeString, "Xft/DPI"), std::nullopt);
    std::vector<std::uint8_t> hugeCount = good;
    for (std::size_t i = 8; i < 12; ++i)
        hugeCount[i] = 0xFF;
    EXPECT_EQ(XSettings::Integer(hugeCount, "Xft/DPI"), 5) << "the settings that are there still count";

    std::vector<std::uint8_t> unknownType = SettingsBlob(false).Integer("Q", 1).Integer("Xft/DPI", 5).Bytes();
    unknownType[12] = 9;
    EXPECT_EQ(XSettings::Integer(unknownType, "Xft/DPI"), std::nullopt)
        << "after a value of unknown length nothing can be found";
}

TEST(XSettings, SurvivesRandomAndMutatedData) {
    // Seeded, so that a failure repeats; the parser runs under the sanitizers in CI.
    std::mt19937 random(20261208);
    const std::vector<std::uint8_t> good =
        SettingsBlob(true).String("Net/ThemeName", "Adwaita").Color("C").Integer("Xft/DPI", kDpi144).Bytes();
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::uint8_t> data = good;
        if (round % 4 == 0) {
            data.resize(random() % 96);
            for (auto& byte : data)
                byte = static_cast<std::uint8_t>(random());
            if (!data.empty()) data[0] = static_cast<std::uint8_t>(random() % 2);
        } else {
            for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips)
                data[random() % data.size()] = static_cast<std::uint8_t>(random());
            data.resize(random() % (data.size() + 1));
        }
        const std::optional<std::int32_t> value = XSettings::Integer(data, "Xft/DPI");
        const std::optional<double> dpi = ScaleDiscovery::XSettingsDpi(data);
        if (dpi) {
            ASSERT_TRUE(value.has_value());
            ASSERT_GT(*dpi, 0.0) << "only a positive density counts";
        }
    }
}

TEST(ScaleDiscovery, DensitiesSnapToQuarterStepsBetweenOneAndFour) {
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(96), 1.0);
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(120), 1.25);
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(144), 1.5);
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(168), 1.75);
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(192), 2.0);
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(140), 1.5) << "a little off a step draws at the step";
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(108), 1.25) << "halves round up";
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(72), 1.0) << "nothing shrinks below the stored size";
    EXPECT_EQ(ScaleDiscovery::ScaleOfDpi(1e9), 4.0);
    EXPECT_EQ(ScaleDiscovery::Snap(std::nan("")), 1.0);
}

TEST(ScaleDiscovery, ReadsTheOverrideAndXftDpiAndRefusesWhatIsNoNumber) {
    EXPECT_EQ(ScaleDiscovery::OverrideScale("1.5"), 1.5);
    EXPECT_EQ(ScaleDiscovery::OverrideScale(" 2 "), 2.0);
    for (const char* bad : {"", "abc", "1.5x", "0", "-2", "nan", "inf", "1e999", "1,5"})
        EXPECT_EQ(ScaleDiscovery::OverrideScale(bad), std::nullopt) << '"' << bad << '"';

    EXPECT_EQ(ScaleDiscovery::ResourceDpi("Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n"), 144.0);
    EXPECT_EQ(ScaleDiscovery::ResourceDpi("Xft.dpi: 96\nXft.dpi:\t120.5"), 120.5) << "the last one wins";
    EXPECT_EQ(ScaleDiscovery::ResourceDpi("*dpi:\t144\nXft.dpis:\t144\n"), std::nullopt);
    EXPECT_EQ(ScaleDiscovery::ResourceDpi("Xft.dpi:\t-144\n"), std::nullopt);
    EXPECT_EQ(ScaleDiscovery::ResourceDpi(std::string("Xft.dpi:\t1\0"
                                                      "44",
                                                      12)),
              std::nullopt);
    EXPECT_EQ(ScaleDiscovery::ResourceDpi("Xft.dpi"), std::nullopt);

    EXPECT_EQ(ScaleDiscovery::XSettingsDpi(SettingsBlob(false).Integer("Xft/DPI", -1).Bytes()), std::nullopt)
        << "-1 is the settings manager's default";
    EXPECT_EQ(ScaleDiscovery::XSettingsDpi(SettingsBlob(false).Integer("Xft/DPI", 147456).Bytes()), 144.0);
}

TEST(ScaleDiscovery, TheOverrideComesFirstThenXSettingsThenTheResources) {
    TScaleSources sources;
    EXPECT_EQ(ScaleDiscovery::Global(sources).Scale, 1.0) << "nothing set is 96 dpi";
    sources.Resources = "Xft.dpi:\t120\n";
    EXPECT_EQ(ScaleDiscovery::Global(sources).Scale, 1.25);
    sources.XSettings = SettingsBlob(false).Integer("Xft/DPI", kDpi144).Bytes();
    EXPECT_EQ(ScaleDiscovery::Global(sources).Scale, 1.5);
    sources.Override = "2";
    EXPECT_EQ(ScaleDiscovery::Global(sources).Scale, 2.0);
    EXPECT_TRUE(ScaleDiscovery::Global(sources).Forced);
    sources.Override = "big";
    EXPECT_EQ(ScaleDiscovery::Global(sources).Scale, 1.5) << "an unreadable override is no override";
    EXPECT_FALSE(ScaleDiscovery::Global(sources).Forced);
    sources.XSettings = SettingsBlob(false).Integer("Xft/DPI", -1).Bytes();
    EXPECT_EQ(ScaleDiscovery::Global(sources).Scale, 1.25) << "a default from the manager defers to Xft.dpi";
}

TEST(ScaleDiscovery, MonitorsWithAMeasuredSizeHaveTheirOwnScaleAndTheOthersTheDesktops) {
    const int w = 1920, h = 1080;
    const std::vector<TMonitorGeometry> monitors = {
        Monitor(0, w, h, Millimetres(w, 192), Millimetres(h, 192)),    // a measured 2.0
        Monitor(w, w, h, Millimetres(w, 96), Millimetres(h, 96)),      // worked back from 96 dpi
        Monitor(2 * w, w, h, 0, 0),                                    // no size
        Monitor(3 * w, w, h, 16, 9),                                   // aspect ratio in millimetres
        Monitor(4 * w, w, h, 160, 90),                                 // and in centimetres
        Monitor(5 * w, w, h, Millimetres(w, 140), Millimetres(h, 90)), // the axes disagree
        Monitor(6 * w, w, h, Millimetres(w, 120), Millimetres(h, 120)),
    };
    const TGlobalScale desktop{1.5, false};
    EXPECT_EQ(ScaleDiscovery::MonitorScales(desktop, monitors),
              (std::vector<double>{2.0, 1.5, 1.5, 1.5, 1.5, 1.5, 1.25}));
    const TGlobalScale forced{1.75, true};
    EXPECT_EQ(ScaleDiscovery::MonitorScales(forced, monitors), std::vector<double>(monitors.size(), 1.75))
        << "the user's override beats every measurement";
}

TEST(ScaleDiscovery, AWindowTakesTheScaleOfTheMonitorHoldingMostOfIt) {
    const std::vector<TMonitorGeometry> monitors = {Monitor(0, 640, 1024, 169, 271),
                                                    Monitor(640, 640, 1024, 85, 135)};
    const std::vector<double> scales = {1.0, 2.0};
    EXPECT_EQ(ScaleDiscovery::WindowScale(TRect::FromBounds(100, 100, 300, 200), monitors, scales, 1.25),
              1.0);
    EXPECT_EQ(ScaleDiscovery::WindowScale(TRect::FromBounds(500, 100, 300, 200), monitors, scales, 1.25), 2.0)
        << "160 of 300 columns on the right";
    EXPECT_EQ(ScaleDiscovery::WindowScale(TRect::FromBounds(490, 100, 300, 200), monitors, scales, 1.25), 1.0)
        << "half and half: the first monitor";
    EXPECT_EQ(ScaleDiscovery::WindowScale(TRect::FromBounds(2000, 100, 300, 200), monitors, scales, 1.25),
              1.25)
        << "on no monitor: the desktop's scale";
}
