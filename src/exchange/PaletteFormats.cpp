#include "exchange/Palette.h"

#include <map>

namespace Palette
{
namespace
{
    struct Named
    {
        Format format;
        const char* name; // as the command line takes it
        const char* description;
    };

    constexpr Named formats[] { { Format::gpl, "gpl", "GIMP palette" },
                                { Format::css, "css", "CSS custom properties" },
                                { Format::tokens, "tokens", "design tokens" } };

    const Named& named (Format format) noexcept
    {
        for (const auto& f : formats)
            if (f.format == format)
                return f;

        return formats[0];
    }
} // namespace

const char* nameOf (Format format) noexcept { return named (format).name; }

const char* describe (Format format) noexcept { return named (format).description; }

std::optional<Format> formatNamed (const juce::String& name)
{
    for (const auto& f : formats)
        if (name == f.name)
            return f.format;

    return std::nullopt;
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
