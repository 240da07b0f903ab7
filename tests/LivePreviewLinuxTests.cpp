// Window events get through while a large group catches up: Linux's event
// loop polls the X connection's file descriptor, stood for here by a pipe.

#include "LivePreviewTestSupport.h"
#include "support/ui/MessageLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <unistd.h>

TEST_F (LivePreviewTest, WindowEventsGetThroughWhileAMillionMembersCatchUp)
{
    build (1000000);
    panel().slider (TweakSliders::red).setValue (9, juce::sendNotificationSync);
    tweaker().getPreviewSweep().refreshNow();

    // Mouse and paint events come from a file descriptor that the event loop
    // polls only when the message queue is empty; this pipe stands for the X
    // connection. It becomes readable while the members are catching up: a
    // sweep that held the message thread until its end would keep it waiting.
    int pipeEnds[2];
    ASSERT_EQ (pipe (pipeEnds), 0);
    std::atomic<bool> ran { false };
    auto stillCatchingUp = false;
    juce::LinuxEventLoop::registerFdCallback (pipeEnds[0], [&] (int fd)
                                              {
                                                  char byte;
                                                  if (read (fd, &byte, 1) == 1 && ! ran)
                                                  {
                                                      ran = true;
                                                      stillCatchingUp = tweaker().hasPendingPreviews();
                                                  } });

    std::thread input ([&]
                       {
                           std::this_thread::sleep_for (std::chrono::milliseconds (10));
                           [[maybe_unused]] auto written = write (pipeEnds[1], "x", 1); });

    for (int i = 0; i < 2000 && ! ran; ++i)
        testkit::pumpFor (1);

    input.join();
    juce::LinuxEventLoop::unregisterFdCallback (pipeEnds[0]);
    close (pipeEnds[0]);
    close (pipeEnds[1]);

    EXPECT_TRUE (ran);
    EXPECT_TRUE (stillCatchingUp);

    ASSERT_TRUE (runUntilCaughtUp());
    EXPECT_EQ (firstMemberNotAtRed (9), -1);
}
