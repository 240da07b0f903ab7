#include "web/WebScheme.h"

#include "scheme/SchemeNames.h"
#include "schemefile/SchemeBytes.h"
#include "schemefile/SchemeWriter.h"
#include "web/WebArguments.h"
#include "web/WebArrays.h"
#include "web/WebErrors.h"
#include "web/WebSliders.h"

#include <cmath>
#include <limits>

namespace
{
using WebArguments::isIndexIn;
using WebArguments::numberText;

// The part [start, start + count) of a list of this size that exists, as Array.slice would take it.
juce::Range<int> partOf (int size, double start, double count)
{
    const auto first = (int) juce::jlimit (0.0, (double) size, start);
    return { first, first + (int) juce::jlimit (0.0, (double) (size - first), count) };
}

// At most maxLength characters (all when negative) of UTF-8 text as UTF-32.
std::wstring utf32Of (juce::CharPointer_UTF8 text, double maxLength)
{
    std::wstring result;
    auto remaining = maxLength < 0 ? std::numeric_limits<double>::infinity() : maxLength;

    for (; remaining >= 1 && ! text.isEmpty(); --remaining)
        result += (wchar_t) text.getAndAdvance();

    return result;
}

// A name the page gives: exactly its characters, or the model's reason for refusing it.
SchemeNames::Typed typedName (const emscripten::val& name)
{
    const auto units = WebArrays::unitsOf (name);
    return SchemeNames::fromUtf16 (units.data(), units.size());
}
} // namespace

std::unique_ptr<WebScheme> WebScheme::open (const emscripten::val& bytes)
{
    auto scheme = std::make_unique<WebScheme>();

    if (const auto read = SchemeBytes::read (WebArrays::bytesOf (bytes), scheme->model); read.failed())
        throw WebErrors::Refusal (read.getErrorMessage().toStdString());

    return scheme;
}

emscripten::val WebScheme::save() const
{
    return WebArrays::toUint8Array (SchemeWriter::write (model));
}

const SchemeColour& WebScheme::colourAt (double index) const
{
    if (isIndexIn (index, numColours()))
        return *model.getColour ((int) index);

    throw WebErrors::OutOfRange ("no colour " + numberText (index) + " (the scheme has " + std::to_string (numColours()) + ")");
}

std::wstring WebScheme::colourName (double index, double maxLength) const
{
    return utf32Of (juce::CharPointer_UTF8 (colourAt (index).name.getUtf8()), maxLength);
}

juce::uint32 WebScheme::colourArgb (double index) const
{
    return colourAt (index).colour.getARGB();
}

emscripten::val WebScheme::colourArgbs (double start, double count) const
{
    const auto part = partOf (numColours(), start, count);
    std::vector<juce::uint32> argbs;
    argbs.reserve ((size_t) part.getLength());

    for (auto i = part.getStart(); i < part.getEnd(); ++i)
        argbs.push_back (model.getColour (i)->colour.getARGB());

    return WebArrays::toUint32Array (argbs);
}

ColourGroup& WebScheme::groupAt (double group) const
{
    if (isIndexIn (group, numGroups()))
        return *model.getGroup ((int) group);

    throw WebErrors::OutOfRange ("no group " + numberText (group) + " (the scheme has " + std::to_string (numGroups()) + ")");
}

std::wstring WebScheme::groupName (double group, double maxLength) const
{
    return utf32Of (groupAt (group).getName().getCharPointer(), maxLength);
}

int WebScheme::numMembers (double group) const
{
    return groupAt (group).getNumMembers();
}

emscripten::val WebScheme::memberColourIndices (double group, double start, double count) const
{
    auto& members = groupAt (group);
    const auto part = partOf (members.getNumMembers(), start, count);
    std::vector<int> indices;
    indices.reserve ((size_t) part.getLength());

    for (auto i = part.getStart(); i < part.getEnd(); ++i)
        indices.push_back (model.indexOfColour (members.getMember (i)->getSchemeColour()));

    return WebArrays::toInt32Array (indices);
}

emscripten::val WebScheme::storedColours (double group, double start, double count) const
{
    auto& members = groupAt (group);
    const auto part = partOf (members.getNumMembers(), start, count);
    std::vector<juce::uint32> argbs;
    argbs.reserve ((size_t) part.getLength());

    for (auto i = part.getStart(); i < part.getEnd(); ++i)
        argbs.push_back (members.getMember (i)->getStoredColour().getARGB());

    return WebArrays::toUint32Array (argbs);
}

emscripten::val WebScheme::previewColours (double group, double start, double count)
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

int WebScheme::addGroup (const emscripten::val& name)
{
    const auto typed = typedName (name);

    if (typed.text.isEmpty() && typed.refusal.isEmpty())
        return -1;

    if (typed.refusal.isNotEmpty())
        throw WebErrors::Refusal (typed.refusal.toStdString());

    return model.addGroup (typed.text) != nullptr ? numGroups() - 1 : -1;
}

bool WebScheme::deleteGroup (double group)
{
    return isIndexIn (group, numGroups()) && model.deleteGroup ((int) group);
}

bool WebScheme::renameGroup (double group, const emscripten::val& name)
{
    const auto typed = typedName (name);
    auto& target = groupAt (group);

    // The name it has passes as itself, whatever its characters.
    if (typed.refusal.isNotEmpty() && (typed.text.isEmpty() || typed.text != target.getName()))
        throw WebErrors::Refusal (typed.refusal.toStdString());

    return model.renameGroup (target, typed.text);
}

bool WebScheme::addColoursToGroup (double group, const emscripten::val& colourIndices)
{
    const auto indices = WebArrays::integersOf (colourIndices);
    auto& target = groupAt (group);
    juce::SparseSet<int> chosen;

    for (auto index : indices)
        if (juce::isPositiveAndBelow (index, numColours()))
            chosen.addRange ({ index, index + 1 });

    return model.addColoursToGroup (target, chosen);
}

bool WebScheme::pickColour (double group, double member, double argb)
{
    const auto colour = juce::Colour (WebArguments::colourOf (argb));
    auto& target = groupAt (group);
    return isIndexIn (member, target.getNumMembers()) && SchemeModel::pickColour (target, (int) member, colour);
}

void WebScheme::setSlider (double group, const emscripten::val& slider, double value)
{
    const auto units = WebArrays::unitsOf (slider);
    PendingTweak change;
    WebSliders::setSlider (change, SchemeNames::fromUtf16 (units.data(), units.size()).text.toStdString(), value);
    groupAt (group).queueTweak (change);
}

void WebScheme::setContrast (double group, double centre, double amount)
{
    PendingTweak change;
    WebSliders::setContrast (change, centre, amount);
    groupAt (group).queueTweak (change);
}

bool WebScheme::continueTweak (double group, double maxMembers)
{
    return groupAt (group).continueTweak ((int) juce::jlimit (0.0, (double) std::numeric_limits<int>::max(), maxMembers));
}

void WebScheme::finishTweak (double group)
{
    groupAt (group).finishTweak();
}

void WebScheme::resetTweak (double group)
{
    groupAt (group).resetTweak();
}

void WebScheme::invertColours (double group)
{
    groupAt (group).invertColours();
}

void WebScheme::forceHue (double group, double hue)
{
    const auto forced = WebSliders::forcedHue (hue);
    groupAt (group).forceHue (forced);
}

bool WebScheme::applyTweak (double group)
{
    return SchemeModel::applyTweak (groupAt (group));
}
