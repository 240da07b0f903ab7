#pragma once

#include "app/MainAppWindow.h"
#include "scheme/SchemeModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Lets the monkey test (tests/monkey) look into a running program. Only the
    probed build of the program has one (the CMake option
    TINTWRIGHT_TEST_PROBE, see ProbedMain.cpp), and only when the environment
    variable TINTWRIGHT_PROBE_DIR names a folder; the program that is shipped
    holds none of this.

    In that folder it
    - touches "heartbeat" every 250 ms from the message thread, so a hang shows
      as a heartbeat that stops (modal loops keep it going);
    - answers a file "repaint-request" by repainting the whole window at once
      and writing the request's text to "repaint-done", so the test can compare
      the screen with a fresh paint;
    - appends every successful save to "saves.log": the file written and the
      scheme as it was when saved (see describe()).

    Saves are seen through the shown document's change broadcast: a save
    announces itself, and a document with no unsaved changes at that moment
    holds what it wrote. The probe listens to whichever document the main
    window shows. The message comes a little after the save (at the latest
    when the document is deleted); the monkey sends no input in between.
*/
class TestProbe : private juce::Timer,
                  private juce::ChangeListener
{
public:
    /** Delete the window before the probe: its documents, when they go,
        may still announce a save to the probe. */
    TestProbe (const juce::File& folder, MainAppWindow& window);
    ~TestProbe() override;

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
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void listenToShownScheme();
    void recordSave (const juce::File& target, const SchemeModel& model);

    juce::File folder;
    MainAppWindow& window;
    juce::File heartbeat, repaintRequest, repaintDone, savesLog;
    int ticks = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TestProbe)
};
