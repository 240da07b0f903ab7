#include "exchange/Palette.h"

#include <map>

namespace Palette
{
const char* nameOf (Format format) noexcept
{
    switch (format)
    {
        case Format::css:
            return "css";
        case Format::tokens:
            return "tokens";
        case Format::gpl:
        default:
            return "gpl";
    }
}

std::optional<Format> formatNamed (const juce::String& name)
{
    for (auto f : { Format::gpl, Format::css, Format::tokens })
        if (name == nameOf (f))
            return f;

    return std::nullopt;
}

const char* describe (Format format) noexcept
{
    switch (format)
    {
        case Format::css:
            return "CSS custom properties";
        case Format::tokens:
            return "design tokens";
        case Format::gpl:
        default:
            return "GIMP palette";
    }
}

bool holdsAlpha (Format format) noexcept { return format != Format::gpl; }

Applied apply (const std::vector<Entry>& entries, SchemeModel& model, bool keepAlpha)
{
    std::map<juce::String, std::vector<SchemeColour*>> byName;

    for (int i = 0; i < model.getNumColours(); ++i)
        byName[model.getColour (i)->name.toString()].push_back (model.getColour (i));

    std::map<juce::String, size_t> used;
    Applied applied;

    for (const auto& entry : entries)
    {
        const auto found = byName.find (entry.name);
        auto& next = used[entry.name];

        if (found == byName.end() || next >= found->second.size())
        {
            applied.unmatched.add (entry.name);
            continue;
        }

        auto* colour = found->second[next++];
        const auto value = keepAlpha ? entry.colour.withAlpha (colour->colour.getAlpha()) : entry.colour;

        if (value == colour->colour)
        {
            ++applied.unchanged;
            continue;
        }

        colour->colour = value;
        ++applied.changed;
    }

    return applied;
}
} // namespace Palette
