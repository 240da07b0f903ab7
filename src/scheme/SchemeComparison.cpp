#include "scheme/SchemeComparison.h"

#include <string_view>
#include <unordered_set>
#include <vector>

namespace SchemeComparison
{
namespace
{
    std::string_view bytesOf (const ColourName& name) noexcept
    {
        return { name.getUtf8(), name.getNumBytes() };
    }

    // The names a save writes for the group's members, as they read back.
    std::vector<std::string_view> memberNames (const ColourGroup& group)
    {
        std::vector<std::string_view> names;
        std::unordered_set<std::string_view> seen;

        for (int m = 0; m < group.getNumMembers(); ++m)
        {
            const auto name = bytesOf (group.getMember (m)->getSchemeColour().name);

            if (seen.insert (name).second)
                names.push_back (name);
        }

        return names;
    }

    juce::String quoted (std::string_view name)
    {
        return "\"" + juce::String::fromUTF8 (name.data(), (int) juce::jmin (name.size(), (size_t) 80)) + "\"";
    }
} // namespace

juce::String firstDifference (const SchemeModel& a, const SchemeModel& b)
{
    if (a.getNumColours() != b.getNumColours())
        return "colour count " + juce::String (a.getNumColours()) + " != " + juce::String (b.getNumColours());

    for (int i = 0; i < a.getNumColours(); ++i)
    {
        const auto& ca = *a.getColour (i);
        const auto& cb = *b.getColour (i);

        if (! (ca.name == cb.name))
            return "colour " + juce::String (i) + ": name " + quoted (bytesOf (ca.name)) + " != " + quoted (bytesOf (cb.name));

        if (ca.colour != cb.colour)
            return "colour " + juce::String (i) + " " + quoted (bytesOf (ca.name)) + ": " + ca.colour.toString() + " != "
                   + cb.colour.toString();
    }

    if (a.getNumGroups() != b.getNumGroups())
        return "group count " + juce::String (a.getNumGroups()) + " != " + juce::String (b.getNumGroups());

    for (int g = 0; g < a.getNumGroups(); ++g)
    {
        const auto& ga = *a.getGroup (g);
        const auto& gb = *b.getGroup (g);

        if (ga.getName() != gb.getName())
            return "group " + juce::String (g) + ": name \"" + ga.getName().substring (0, 80) + "\" != \""
                   + gb.getName().substring (0, 80) + "\"";

        const auto ma = memberNames (ga);
        const auto mb = memberNames (gb);

        if (ma.size() != mb.size())
            return "group " + juce::String (g) + ": member count " + juce::String ((int) ma.size()) + " != "
                   + juce::String ((int) mb.size());

        for (size_t m = 0; m < ma.size(); ++m)
            if (ma[m] != mb[m])
                return "group " + juce::String (g) + ", member " + juce::String ((int) m) + ": " + quoted (ma[m])
                       + " != " + quoted (mb[m]);
    }

    return {};
}

bool sameScheme (const SchemeModel& a, const SchemeModel& b)
{
    return firstDifference (a, b).isEmpty();
}
} // namespace SchemeComparison
