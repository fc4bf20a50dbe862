// The side thread runs one task after another and hands back what a task throws.
#include "engine/side_thread.h"

#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(SideThread, RunsEachTaskOnAnotherThreadOneAfterAnother) {
    SideThread side;
    const std::thread::id caller = std::this_thread::get_id();
    int sum = 0;
    for (int i = 1; i <= 100; ++i) {
        std::thread::id ranOn;
        side.Start([&, i] {
            sum += i;
            ranOn = std::this_thread::get_id();
        });
        side.Wait();
        ASSERT_NE(ranOn, caller);
    }
    EXPECT_EQ(sum, 5050);
}

TEST(SideThread, ThrowsWhatTheTaskThrewAndGoesOn) {
    SideThread side;
    side.Start([] { throw std::runtime_error("task failed"); });
    EXPECT_THROW(side.Wait(), std::runtime_error);
    bool ran = false;
    side.Start([&] { ran = true; });
    EXPECT_NO_THROW(side.Wait());
    EXPECT_TRUE(ran);
}

TEST(SideThread, EndsCleanlyUnusedOrIdle) {
    { SideThread never; }
    SideThread used;
    used.Start([] {});
    used.Wait();
}

} // namespace
} // namespace morvane
