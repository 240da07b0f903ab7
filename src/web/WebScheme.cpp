#include "web/WebScheme.h"

#include "schemefile/SchemeBytes.h"
#include "schemefile/SchemeWriter.h"
#include "web/WebArrays.h"
#include "web/WebErrors.h"
#include "web/WebSliders.h"

#include <algorithm>

namespace
{
// The part [start, start + count) of a list of this size that exists, as Array.slice would take it.
juce::Range<int> partOf (int size, int start, int count)
{
    const auto first = juce::jlimit (0, size, start);
    return { first, first + juce::jlimit (0, size - first, count) };
}
} // namespace

std::unique_ptr<WebScheme> WebScheme::open (const emscripten::val& bytes)
{
    auto scheme = std::make_unique<WebScheme>();
    const auto why = SchemeBytes::read (WebArrays::bytesOf (bytes), scheme->model);

    if (why.isNotEmpty())
        throw WebErrors::Refusal (why.toStdString());

    return scheme;
}

emscripten::val WebScheme::save() const
{
    return WebArrays::toUint8Array (SchemeWriter::write (model));
}

std::string WebScheme::colourName (int index) const
{
    if (auto* colour = model.getColour (index))
        return { colour->name.getUtf8(), colour->name.getNumBytes() };

    throw WebErrors::OutOfRange ("no colour " + std::to_string (index) + " (the scheme has " + std::to_string (numColours()) + ")");
}

juce::uint32 WebScheme::colourArgb (int index) const
{
    if (auto* colour = model.getColour (index))
        return colour->colour.getARGB();

    throw WebErrors::OutOfRange ("no colour " + std::to_string (index) + " (the scheme has " + std::to_string (numColours()) + ")");
}

emscripten::val WebScheme::colourArgbs (int start, int count) const
{
    const auto part = partOf (numColours(), start, count);
    std::vector<juce::uint32> argbs;
    argbs.reserve ((size_t) part.getLength());

    for (auto i = part.getStart(); i < part.getEnd(); ++i)
        argbs.push_back (model.getColour (i)->colour.getARGB());

    return WebArrays::toUint32Array (argbs);
}

ColourGroup& WebScheme::groupAt (int group) const
{
    if (auto* found = model.getGroup (group))
        return *found;

    throw WebErrors::OutOfRange ("no group " + std::to_string (group) + " (the scheme has " + std::to_string (numGroups()) + ")");
}

std::string WebScheme::groupName (int group) const
{
    return groupAt (group).getName().toStdString();
}

int WebScheme::numMembers (int group) const
{
    return groupAt (group).getNumMembers();
}

int WebScheme::indexOfColour (const SchemeColour& colour) const
{
    const auto address = [] (const SchemeColour* c)
    { return reinterpret_cast<std::uintptr_t> (c); };

    if (colourRuns.empty())
    {
        for (int i = 0; i < numColours(); ++i)
        {
            const auto at = address (model.getColour (i));

            if (! colourRuns.empty() && at == colourRuns.back().first + (size_t) colourRuns.back().count * sizeof (SchemeColour))
                ++colourRuns.back().count;
            else
                colourRuns.push_back ({ at, i, 1 });
        }

        std::sort (colourRuns.begin(), colourRuns.end(), [] (const Run& a, const Run& b)
                   { return a.first < b.first; });
    }

    const auto at = address (&colour);
    auto run = std::upper_bound (colourRuns.begin(), colourRuns.end(), at, [] (std::uintptr_t a, const Run& r)
                                 { return a < r.first; });

    if (run == colourRuns.begin())
        return -1;

    --run;
    const auto offset = (at - run->first) / sizeof (SchemeColour);
    return offset < (size_t) run->count ? run->firstIndex + (int) offset : -1;
}

emscripten::val WebScheme::memberColourIndices (int group, int start, int count) const
{
    auto& members = groupAt (group);
    const auto part = partOf (members.getNumMembers(), start, count);
    std::vector<int> indices;
    indices.reserve ((size_t) part.getLength());

    for (auto i = part.getStart(); i < part.getEnd(); ++i)
        indices.push_back (indexOfColour (members.getMember (i)->getSchemeColour()));

    return WebArrays::toInt32Array (indices);
}

emscripten::val WebScheme::storedColours (int group, int start, int count) const
{
    auto& members = groupAt (group);
    const auto part = partOf (members.getNumMembers(), start, count);
    std::vector<juce::uint32> argbs;
    argbs.reserve ((size_t) part.getLength());

    for (auto i = part.getStart(); i < part.getEnd(); ++i)
        argbs.push_back (members.getMember (i)->getStoredColour().getARGB());

    return WebArrays::toUint32Array (argbs);
}

emscripten::val WebScheme::previewColours (int group, int start, int count)
{
    auto& members = groupAt (group);
    const auto part = partOf (members.getNumMembers(), start, count);
    std::vector<juce::uint32> argbs;
    argbs.reserve ((size_t) part.getLength());

    for (auto i = part.getStart(); i < part.getEnd(); ++i)
    {
        members.updateMember (i);
        argbs.push_back (members.getMember (i)->getPreviewColour().getARGB());
    }

    return WebArrays::toUint32Array (argbs);
}

int WebScheme::addGroup (const std::string& name)
{
    return model.addGroup (juce::String::fromUTF8 (name.data(), (int) name.size())) != nullptr ? numGroups() - 1 : -1;
}

bool WebScheme::deleteGroup (int group)
{
    return model.deleteGroup (group);
}

bool WebScheme::renameGroup (int group, const std::string& name)
{
    return model.renameGroup (groupAt (group), juce::String::fromUTF8 (name.data(), (int) name.size()));
}

bool WebScheme::addColoursToGroup (int group, const emscripten::val& colourIndices)
{
    auto& target = groupAt (group);
    juce::SparseSet<int> chosen;

    for (auto index : WebArrays::integersOf (colourIndices))
        chosen.addRange ({ index, index + 1 });

    return model.addColoursToGroup (target, chosen);
}

bool WebScheme::pickColour (int group, int member, juce::uint32 argb)
{
    return SchemeModel::pickColour (groupAt (group), member, juce::Colour (argb));
}

void WebScheme::setSlider (int group, const std::string& slider, double value)
{
    auto& target = groupAt (group);
    PendingTweak change;
    WebSliders::setSlider (change, slider, value);
    target.queueTweak (change);
}

void WebScheme::setContrast (int group, double centre, double amount)
{
    auto& target = groupAt (group);
    PendingTweak change;
    WebSliders::setContrast (change, centre, amount);
    target.queueTweak (change);
}

bool WebScheme::continueTweak (int group, int maxMembers)
{
    return groupAt (group).continueTweak (maxMembers);
}

void WebScheme::finishTweak (int group)
{
    groupAt (group).finishTweak();
}

void WebScheme::resetTweak (int group)
{
    groupAt (group).resetTweak();
}

void WebScheme::invertColours (int group)
{
    groupAt (group).invertColours();
}

void WebScheme::forceHue (int group, double hue)
{
    auto& target = groupAt (group);
    target.forceHue (WebSliders::forcedHue (hue));
}

bool WebScheme::applyTweak (int group)
{
    return SchemeModel::applyTweak (groupAt (group));
}
