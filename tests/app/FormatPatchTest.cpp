#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FormatPatch.h"
#include "app/RecordingLocalePlatform.h"

namespace emr {
namespace {

using TCallKind = TRecordingLocalePlatform::TCallKind;

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

const std::string kSuccessHex = "B2 B9 B6 A1 D3 A6 D3 C3 B3 C9 B9 A6 A3 A1";
const std::string kFailureHex = "B2 B9 B6 A1 D3 A6 D3 C3 CA A7 B0 DC A3 A1";
const std::string kCaptionHex = "CC E1 CA BE";
constexpr HWND kOwner = 0x1234;

struct TExpectedWrite {
    LCTYPE Item;
    std::string HexValue;
};
const std::vector<TExpectedWrite> kExpectedWrites = {
    {0x001F, "79 79 79 79 2D 4D 4D 2D 64 64"},
    {0x0020, "79 79 79 79 27 C4 EA 27 4D 27 D4 C2 20 27 64 27 C8 D5 27"},
    {0x1003, "48 48 3A 6D 6D 3A 73 73"},
    {0x0028, ""},
    {0x0029, ""},
};

void ExpectFiveWritesInOrder(const TRecordingLocalePlatform& platform) {
    const auto& calls = platform.Calls();
    ASSERT_GE(calls.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE("write " + std::to_string(i + 1));
        EXPECT_EQ(calls[i].Kind, TCallKind::SetLocaleInfo);
        EXPECT_FALSE(calls[i].Wide) << "a code page 936 system gets the bytes through SetLocaleInfoA";
        EXPECT_EQ(calls[i].Locale, 0x0400u);
        EXPECT_EQ(calls[i].Item, kExpectedWrites[i].Item);
        EXPECT_EQ(Hex(calls[i].Value), kExpectedWrites[i].HexValue);
    }
}

void ExpectBroadcast(const TRecordingLocalePlatform::TCall& call) {
    EXPECT_EQ(call.Kind, TCallKind::SendMessageTimeout);
    EXPECT_EQ(call.Window, 0xFFFFu);
    EXPECT_EQ(call.Message, 0x001Au);
    EXPECT_EQ(call.WParam, 0u);
    EXPECT_EQ(call.LParam, 0);
    EXPECT_EQ(call.Flags, 0x0002u);
    EXPECT_EQ(call.TimeoutMs, 10u);
    EXPECT_TRUE(call.HasResultSlot);
}

void ExpectBox(const TRecordingLocalePlatform::TCall& call, const std::string& textHex) {
    EXPECT_EQ(call.Kind, TCallKind::MessageBox);
    EXPECT_FALSE(call.Wide);
    EXPECT_EQ(call.Owner, kOwner);
    EXPECT_EQ(Hex(call.Text), textHex);
    EXPECT_EQ(Hex(call.Caption), kCaptionHex);
    EXPECT_EQ(call.Flags, 0x40u);
}

TEST(FormatPatchTest, SuccessfulRunWritesBroadcastsReportsThenCloses) {
    TRecordingLocalePlatform platform;
    std::size_t callsBeforeClose = 0;
    int closes = 0;
    const TPatchOutcome outcome = RunApplySequence(platform, kOwner, [&] {
        ++closes;
        callsBeforeClose = platform.Calls().size();
    });

    EXPECT_EQ(outcome, TPatchOutcome::Applied);
    ASSERT_EQ(platform.Calls().size(), 7u);
    ExpectFiveWritesInOrder(platform);
    ExpectBroadcast(platform.Calls()[5]);
    ExpectBox(platform.Calls()[6], kSuccessHex);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(callsBeforeClose, 7u) << "the close request comes after the success box";
}

// A refused write must not be reported as success: every write is still made and
// the broadcast still follows, but the failure box shows and the window stays.
TEST(FormatPatchTest, RefusedWritesReportFailureAfterTryingEverything) {
    for (bool onlyThird : {false, true}) {
        SCOPED_TRACE(onlyThird ? "third write refused" : "every write refused");
        TRecordingLocalePlatform platform;
        if (onlyThird)
            platform.RefuseItem(LOCALE_STIMEFORMAT);
        else
            platform.SetRefuseAllWrites(true);
        int closes = 0;

        EXPECT_EQ(RunApplySequence(platform, kOwner, [&] { ++closes; }), TPatchOutcome::Refused);
        ASSERT_EQ(platform.Calls().size(), 7u);
        ExpectFiveWritesInOrder(platform);
        ExpectBroadcast(platform.Calls()[5]);
        ExpectBox(platform.Calls()[6], kFailureHex);
        EXPECT_EQ(closes, 0);
    }
}

// Whichever step throws, the later steps are skipped, exactly one failure box shows
// and nothing is closed; calls 0-4 are the writes, 5 the broadcast, 6 the success box.
TEST(FormatPatchTest, ThrowingStepShowsOneFailureBoxAndSkipsTheRest) {
    for (std::size_t failing = 0; failing <= 6; ++failing) {
        SCOPED_TRACE("call " + std::to_string(failing) + " throws");
        TRecordingLocalePlatform platform;
        platform.ThrowAtCall(failing);
        int closes = 0;

        EXPECT_EQ(RunApplySequence(platform, kOwner, [&] { ++closes; }), TPatchOutcome::Failed);
        ASSERT_EQ(platform.Calls().size(), failing + 2);
        const auto boxes = platform.CallsOf(TCallKind::MessageBox);
        ASSERT_EQ(boxes.size(), failing == 6 ? 2u : 1u);
        ExpectBox(boxes.back(), kFailureHex);
        EXPECT_EQ(closes, 0);

        // The window stayed, so the user can try again, and this time it works.
        platform.Clear();
        EXPECT_EQ(RunApplySequence(platform, kOwner, [&] { ++closes; }), TPatchOutcome::Applied);
        EXPECT_EQ(closes, 1);
        ExpectBox(platform.Calls().back(), kSuccessHex);
    }
}

using TGroupEventKind = TRecordingLocalePlatform::TGroupEventKind;

std::vector<std::pair<TGroupEventKind, std::size_t>> GroupEvents(const TRecordingLocalePlatform& platform) {
    std::vector<std::pair<TGroupEventKind, std::size_t>> events;
    for (const auto& event : platform.GroupEvents())
        events.emplace_back(event.Kind, event.CallsBefore);
    return events;
}

// The five writes form one group, stored before the broadcast announces them; a
// refused write or a throwing step drops the group instead.
TEST(FormatPatchTest, WritesAreGroupedAndStoredBeforeTheBroadcast) {
    using TEvents = std::vector<std::pair<TGroupEventKind, std::size_t>>;
    TRecordingLocalePlatform platform;
    EXPECT_EQ(RunApplySequence(platform, kOwner, {}), TPatchOutcome::Applied);
    EXPECT_EQ(GroupEvents(platform), (TEvents{{TGroupEventKind::Begin, 0}, {TGroupEventKind::Commit, 5}}));

    platform.Clear();
    platform.RefuseItem(LOCALE_SLONGDATE);
    EXPECT_EQ(RunApplySequence(platform, kOwner, {}), TPatchOutcome::Refused);
    EXPECT_EQ(GroupEvents(platform), (TEvents{{TGroupEventKind::Begin, 0}, {TGroupEventKind::Discard, 5}}));

    platform.Clear();
    platform.AcceptAllItems();
    platform.ThrowAtCall(2);
    EXPECT_EQ(RunApplySequence(platform, kOwner, {}), TPatchOutcome::Failed);
    EXPECT_EQ(GroupEvents(platform), (TEvents{{TGroupEventKind::Begin, 0}, {TGroupEventKind::Discard, 3}}));
}

// Every write was accepted, but storing them together failed: that is a failure
// of the whole patch, and the broadcast still follows as for a refused write.
TEST(FormatPatchTest, FailedCommitShowsTheFailureBox) {
    TRecordingLocalePlatform platform;
    platform.SetFailCommit(true);
    int closes = 0;

    EXPECT_EQ(RunApplySequence(platform, kOwner, [&] { ++closes; }), TPatchOutcome::Refused);
    ASSERT_EQ(platform.Calls().size(), 7u);
    ExpectFiveWritesInOrder(platform);
    ExpectBroadcast(platform.Calls()[5]);
    ExpectBox(platform.Calls()[6], kFailureHex);
    EXPECT_EQ(closes, 0);
}

TEST(FormatPatchTest, FailingCloseRequestIsReportedAsFailure) {
    TRecordingLocalePlatform platform;
    EXPECT_EQ(RunApplySequence(platform, kOwner, [] { throw std::runtime_error("close failed"); }),
              TPatchOutcome::Failed);
    const auto boxes = platform.CallsOf(TCallKind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    ExpectBox(boxes[0], kSuccessHex);
    ExpectBox(boxes[1], kFailureHex);
}

// A Western system reads the GBK bytes of the ANSI calls in its own code page and
// stores mojibake ("yyyy'Äê'M'ÔÂ 'd'ÈÕ'" under 1252): every system but a code page
// 936 one gets the same Chinese through the wide calls, and the boxes too.
TEST(FormatPatchTest, OtherAnsiCodePagesGetTheChineseInUtf16InsteadOfGbkBytes) {
    const std::vector<std::pair<LCTYPE, std::u16string>> expected = {
        {0x001F, u"yyyy-MM-dd"}, {0x0020, u"yyyy'年'M'月 'd'日'"}, {0x1003, u"HH:mm:ss"}, {0x0028, u""},
        {0x0029, u""},
    };
    for (UINT codePage : {1252u, 1251u, 950u, 65001u}) {
        for (bool refused : {false, true}) {
            SCOPED_TRACE("code page " + std::to_string(codePage) + (refused ? ", writes refused" : ""));
            TRecordingLocalePlatform platform;
            platform.SetAnsiCodePage(codePage);
            platform.SetRefuseAllWrites(refused);
            EXPECT_EQ(RunApplySequence(platform, kOwner, {}),
                      refused ? TPatchOutcome::Refused : TPatchOutcome::Applied);
            const auto& calls = platform.Calls();
            ASSERT_EQ(calls.size(), 7u);
            for (std::size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(calls[i].Kind, TCallKind::SetLocaleInfo);
                EXPECT_TRUE(calls[i].Wide);
                EXPECT_EQ(calls[i].Locale, 0x0400u);
                EXPECT_EQ(calls[i].Item, expected[i].first);
                EXPECT_TRUE(calls[i].WideValue == expected[i].second) << "write " << i + 1;
                EXPECT_EQ(calls[i].Value, "");
            }
            ExpectBroadcast(calls[5]);
            EXPECT_EQ(calls[6].Kind, TCallKind::MessageBox);
            EXPECT_TRUE(calls[6].Wide);
            EXPECT_EQ(calls[6].Owner, kOwner);
            EXPECT_EQ(calls[6].Flags, 0x40u);
            EXPECT_TRUE(calls[6].WideText == (refused ? u"补丁应用失败！" : u"补丁应用成功！"));
            EXPECT_TRUE(calls[6].WideCaption == u"提示");
            EXPECT_EQ(calls[6].Text, "");
        }
    }
}

} // namespace
} // namespace emr
