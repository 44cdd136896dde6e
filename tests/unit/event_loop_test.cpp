// SPDX-License-Identifier: MIT
// What a callback throws ends the loop with status 1; it never reaches the
// C library that dispatches it, where it would end the process.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

#include "platform/event/event_loop.h"

namespace {

TEST(EventLoop, AThrowingCallbackEndsTheLoopWithStatusOne) {
  platform::EventLoop loop;
  int ticks = 0;
  ASSERT_TRUE(loop.addRepeatingTimer(std::chrono::milliseconds(1), [&] {
                    if (++ticks == 3) throw std::runtime_error("broken tick");
                  }).ok());
  EXPECT_EQ(loop.run(), 1);
  EXPECT_EQ(ticks, 3);
}

}  // namespace
