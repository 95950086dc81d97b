// Stopping an operation that runs on another thread.
#include "kova/CancelToken.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using kova::CancelToken;

TEST(CancelToken, CancelAbortsOnceAndStaysCancelled) {
    CancelToken token;
    int aborts = 0;
    ASSERT_TRUE(token.Arm([&] { ++aborts; }));
    EXPECT_TRUE(token.Run([] { return true; }));
    EXPECT_FALSE(token.Run([] { return false; })) << "the step's own result";
    token.Cancel();
    token.Cancel();
    EXPECT_EQ(aborts, 1);
    EXPECT_TRUE(token.Cancelled());

    bool ran = false;
    EXPECT_FALSE(token.Run([&] { return ran = true; })) << "no step starts once cancelled";
    EXPECT_FALSE(ran);
    EXPECT_FALSE(token.Arm([&] { ++aborts; })) << "an operation given a cancelled token stops at once";
    token.Cancel();
    EXPECT_EQ(aborts, 1);

    CancelToken disarmed;
    ASSERT_TRUE(disarmed.Arm([&] { ++aborts; }));
    disarmed.Disarm();
    disarmed.Cancel();
    EXPECT_EQ(aborts, 1) << "a disarmed abort never runs";
}

// A Cancel that comes while a step is being started waits for it: the abort (closing a
// handle, say) never pulls the ground from under a step.
TEST(CancelToken, AbortNeverOverlapsAStep) {
    CancelToken token;
    std::atomic<bool> inStep{false}, cancelling{false}, aborted{false};
    bool abortSawStep = false;
    ASSERT_TRUE(token.Arm([&] {
        abortSawStep = inStep;
        aborted = true;
    }));
    std::thread canceller;
    token.Run([&] {
        inStep = true;
        canceller = std::thread([&] {
            cancelling = true;
            token.Cancel();
        });
        while (!cancelling) std::this_thread::yield();
        // Every chance for a wrong abort to happen now.
        for (int i = 0; i < 100000 && !aborted; ++i) std::this_thread::yield();
        inStep = false;
        return true;
    });
    canceller.join();
    EXPECT_TRUE(aborted);
    EXPECT_FALSE(abortSawStep);
}
