// The routing's failure report: line formatting, the default sink and the process-wide beep count.
#include "params/routing_report.h"

#include <gtest/gtest.h>

#include <string>

#include "common/beep.h"
#include "params_test_support.h"

namespace quenvale {
namespace {

TEST(RoutingReport, DefaultSinkWritesTheLineToTheDebugOutputAndBeeps) {
    setRoutingReportSink(nullptr);
    const uint32_t before = routingBeepCount();
    const int platformBeepsBefore = beepCount();
    testing::internal::CaptureStderr();
    reportRoutingFailure("getParameter() called with unknown parameter (eParam: %d)\n", 383);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "getParameter() called with unknown parameter (eParam: 383)\n");
    EXPECT_EQ(routingBeepCount(), before + 1);
    EXPECT_EQ(beepCount(), platformBeepsBefore + 1);
}

TEST(RoutingReport, OverlongLinesAreCutToTheBuffer) {
    test::ReportCapture capture;
    const std::string word(1000, 'x');
    reportRoutingFailure("%s\n", word.c_str());
    ASSERT_EQ(capture.lines.size(), 1u);
    EXPECT_EQ(capture.lines[0], std::string(kRoutingReportLineSize - 1, 'x'));
    EXPECT_EQ(capture.beeps, 1);
}

}  // namespace
}  // namespace quenvale
