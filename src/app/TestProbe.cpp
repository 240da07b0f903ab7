#include "app/TestProbe.h"

#include <string>
#include <string_view>

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

// The bytes of a name escaped(), or false when the escapes are broken.
bool unescape (std::string_view text, std::string& name)
{
    name.clear();

    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\')
        {
            name += text[i];
            continue;
        }

        if (text.size() - i < 4 || text[i + 1] != 'x')
            return false;

        const auto high = juce::CharacterFunctions::getHexDigitValue ((juce::juce_wchar) text[i + 2]);
        const auto low = juce::CharacterFunctions::getHexDigitValue ((juce::juce_wchar) text[i + 3]);

        if (high < 0 || low < 0)
            return false;

        name += (char) (high * 16 + low);
        i += 3;
    }

    return true;
}

bool startsWith (std::string_view line, std::string_view prefix)
{
    return line.substr (0, prefix.size()) == prefix;
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

bool TestProbe::readDescription (const juce::MemoryBlock& listing, SchemeModel& model)
{
    constexpr std::string_view colourLine ("colour "), groupLine ("group "), memberLine ("  member ");
    const std::string_view text (static_cast<const char*> (listing.getData()), listing.getSize());
    ColourGroup* group = nullptr;
    std::string name;

    for (size_t start = 0; start < text.size();)
    {
        const auto end = text.find ('\n', start);

        if (end == std::string_view::npos)
            return false; // every line ends with a newline

        const auto line = text.substr (start, end - start);
        start = end + 1;

        if (startsWith (line, colourLine))
        {
            const auto value = line.substr (colourLine.size(), 8);

            if (value.size() != 8 || line.size() < colourLine.size() + 9 || line[colourLine.size() + 8] != ' '
                || value.find_first_not_of ("0123456789abcdef") != std::string_view::npos
                || ! unescape (line.substr (colourLine.size() + 9), name))
                return false;

            const auto argb = (juce::uint32) std::stoul (std::string (value), nullptr, 16);
            model.appendColour (name.data(), name.size(), juce::Colour (argb));
        }
        else if (startsWith (line, groupLine))
        {
            if (! unescape (line.substr (groupLine.size()), name))
                return false;

            group = &model.appendGroup (std::make_unique<ColourGroup>());
            group->setName (juce::String::fromUTF8 (name.data(), (int) name.size()));
        }
        else if (startsWith (line, memberLine))
        {
            if (group == nullptr || ! unescape (line.substr (memberLine.size()), name))
                return false;

            auto* colour = model.findColourByName (name.data(), name.size());

            if (colour == nullptr)
                return false;

            group->addColour (*colour);
        }
        else
        {
            return false;
        }
    }

    return true;
}
