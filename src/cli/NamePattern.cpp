#include "cli/NamePattern.h"

namespace NamePattern
{
namespace
{
    using Text = juce::String::CharPointerType;

    /** Whether c is in the set that starts just after '['; moves p past its ']'.
        A set without a closing ']' is no set: false, p unmoved. */
    bool inSet (Text& p, juce::juce_wchar c, bool& isSet)
    {
        auto q = p;
        const auto negated = *q == '!' || *q == '^';
        if (negated)
            ++q;

        auto found = false;
        auto first = true;

        while (! q.isEmpty() && (*q != ']' || first))
        {
            const auto low = q.getAndAdvance();
            auto high = low;

            if (*q == '-' && ! (q + 1).isEmpty() && *(q + 1) != ']')
            {
                ++q;
                high = q.getAndAdvance();
            }

            found = found || (c >= low && c <= high);
            first = false;
        }

        isSet = ! q.isEmpty();
        if (! isSet)
            return false;

        p = q + 1;
        return found != negated;
    }

    // Backtracks only to the latest '*', which keeps the match linear enough
    // for any pattern on names.
    bool match (Text name, Text pattern)
    {
        auto starPattern = pattern, starName = name;
        auto hasStar = false;

        while (! name.isEmpty())
        {
            auto p = pattern;
            auto stepped = false;

            if (*p == '*')
            {
                hasStar = true;
                starPattern = ++pattern;
                starName = name;
                continue;
            }

            if (*p == '?')
            {
                stepped = true;
                pattern = p + 1;
            }
            else if (*p == '[')
            {
                auto q = p + 1;
                auto isSet = false;
                const auto in = inSet (q, *name, isSet);

                if (isSet)
                {
                    stepped = in;
                    if (in)
                        pattern = q;
                }
                else if (*name == '[')
                {
                    stepped = true;
                    pattern = p + 1;
                }
            }
            else if (! p.isEmpty() && *p == *name)
            {
                stepped = true;
                pattern = p + 1;
            }

            if (stepped)
            {
                ++name;
            }
            else if (hasStar)
            {
                pattern = starPattern;
                name = ++starName;
            }
            else
            {
                return false;
            }
        }

        while (*pattern == '*')
            ++pattern;

        return pattern.isEmpty();
    }
} // namespace

bool matches (const juce::String& name, const juce::String& pattern)
{
    return match (name.getCharPointer(), pattern.getCharPointer());
}
} // namespace NamePattern
