#include <gtest/gtest.h>

#include "framework/core/Verify.h"

namespace emr {
namespace {

TEST(Verify, AFailedCheckNamesFileLineConditionAndMessageThenAborts) {
    EXPECT_DEATH(VerifyFailed("Rows.cpp", 12, "rows > 0", "no rows"),
                 "^Rows.cpp:12: check failed: rows > 0: no rows\n");
}

TEST(Verify, CheckedBuildsAbortWithTheStreamedMessageAndOthersEvaluateNothing) {
    int evaluated = 0;
    EMR_VERIFY(++evaluated > 0, "never shown");
    if (!kChecksEnabled) {
        EXPECT_EQ(evaluated, 0) << "compiled out: the condition does not run";
        EMR_VERIFY(++evaluated < 0, "nor ", ++evaluated);
        EXPECT_EQ(evaluated, 0);
        return;
    }
    EXPECT_EQ(evaluated, 1);
    const int row = 3;
    EXPECT_DEATH(EMR_VERIFY(row < 2, "row ", row, " of ", 2),
                 "VerifyTest.cpp:[0-9]+: check failed: row < 2: row 3 of 2");
}

struct TBroken {
    std::string CheckInvariants() const { return "two hot buttons"; }
};

TEST(Verify, InvariantsAreAssertedThroughTheObjectsOwnDescription) {
    if (!kChecksEnabled) GTEST_SKIP() << "built without invariant checks";
    const TBroken broken;
    EXPECT_DEATH(EMR_VERIFY_INVARIANTS(broken),
                 "check failed: broken.CheckInvariants\\(\\): two hot buttons");
}

} // namespace
} // namespace emr
