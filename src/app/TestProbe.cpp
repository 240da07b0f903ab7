#include "app/TestProbe.h"

namespace
{
juce::String escaped (const juce::String& name)
{
    // Built as bytes: appending to a String character by character is
    // quadratic, and names can be hundreds of kilobytes long.
    juce::MemoryOutputStream out;

    for (auto p = name.getCharPointer(); ! p.isEmpty();)
    {
        const auto c = p.getAndAdvance();

        if (c < 0x20 || c == '\\' || c == 0x7f)
        {
            out << "\\x" << juce::String::toHexString ((int) c).paddedLeft ('0', 2);
        }
        else
        {
            char bytes[8] = {};
            juce::CharPointer_UTF8 writer (bytes);
            writer.write (c);
            out.write (bytes, juce::CharPointer_UTF8::getBytesRequiredFor (c));
        }
    }

    return out.toUTF8();
}
} // namespace

TestProbe::TestProbe (const juce::File& folderToUse, juce::Component& windowToWatch)
    : folder (folderToUse),
      window (windowToWatch),
      heartbeat (folder.getChildFile ("heartbeat")),
      repaintRequest (folder.getChildFile ("repaint-request")),
      repaintDone (folder.getChildFile ("repaint-done")),
      savesLog (folder.getChildFile ("saves.log"))
{
    folder.createDirectory();
    heartbeat.create();
    startTimer (50);
}

TestProbe::~TestProbe()
{
    stopTimer();
}

void TestProbe::timerCallback()
{
    if (++ticks % 5 == 0)
        heartbeat.setLastModificationTime (juce::Time::getCurrentTime());

    if (! repaintRequest.existsAsFile())
        return;

    const auto token = repaintRequest.loadFileAsString();
    repaintRequest.deleteFile();

    window.repaint();

    if (auto* peer = window.getPeer())
        peer->performAnyPendingRepaintsNow();

    repaintDone.replaceWithText (token);
}

void TestProbe::recordSave (const juce::File& target, const SchemeModel& model, bool succeeded)
{
    juce::String entry;
    entry << "SAVE " << (succeeded ? "ok " : "failed ") << escaped (target.getFullPathName()) << "\n"
          << describe (model) << "END\n";
    savesLog.appendText (entry, false, false, "\n");
}

juce::String TestProbe::describe (const SchemeModel& model)
{
    juce::MemoryOutputStream text;

    for (int i = 0; i < model.getNumColours(); ++i)
    {
        const auto& colour = *model.getColour (i);
        text << "colour " << juce::String::toHexString ((juce::int64) colour.colour.getARGB()).paddedLeft ('0', 8)
             << " " << escaped (colour.name.toString()) << "\n";
    }

    for (int g = 0; g < model.getNumGroups(); ++g)
    {
        const auto& group = *model.getGroup (g);
        text << "group " << escaped (group.getName()) << "\n";

        juce::HashMap<juce::String, bool> listed;

        for (int m = 0; m < group.getNumMembers(); ++m)
        {
            const auto name = group.getMember (m)->getSchemeColour().name.toString();

            if (listed.contains (name))
                continue;

            listed.set (name, true);
            text << "  member " << escaped (name) << "\n";
        }
    }

    return text.toUTF8();
}
