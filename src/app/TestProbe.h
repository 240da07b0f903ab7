#pragma once

#include "scheme/SchemeModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Lets the monkey test (tests/monkey) look into a running program. The
    application creates one only when the environment variable
    TINTWRIGHT_PROBE_DIR names a folder; otherwise nothing of this runs.

    In that folder it
    - touches "heartbeat" every 250 ms from the message thread, so a hang shows
      as a heartbeat that stops (modal loops keep it going);
    - answers a file "repaint-request" by repainting the whole window at once
      and writing the request's text to "repaint-done", so the test can compare
      the screen with a fresh paint;
    - appends every save to "saves.log": the target, whether it succeeded, and
      the scheme as it was when saved (see describe()).
*/
class TestProbe : private juce::Timer
{
public:
    TestProbe (const juce::File& folder, juce::Component& window);
    ~TestProbe() override;

    void recordSave (const juce::File& target, const SchemeModel& model, bool succeeded);

    /** The scheme as a file can hold it, one line per colour and per group and
        member, with the names escaped so that every line is one line. Members
        are listed by colour name, once per name: the file stores them by name
        and reading resolves a name to the first colour that bears it. */
    static juce::String describe (const SchemeModel& model);

    /** Fills the empty model with the scheme that a listing of describe()
        stands for, so that it can be compared with a file's as a scheme.
        False for text that is no such listing. */
    static bool readDescription (const juce::MemoryBlock& listing, SchemeModel& model);

private:
    void timerCallback() override;

    juce::File folder;
    juce::Component& window;
    juce::File heartbeat, repaintRequest, repaintDone, savesLog;
    int ticks = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TestProbe)
};
