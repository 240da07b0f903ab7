#pragma once

// The baselines that time JUCE's own XML writer need the scheme as JUCE's
// element tree; the program itself writes straight from the model.

#include "scheme/SchemeModel.h"
#include "schemefile/SchemeColourText.h"
#include "schemefile/SchemeVocabulary.h"

// Appending walks JUCE's linked list of children, so the tree is built from the back.
inline juce::XmlElement* prepend (juce::XmlElement& parent, const char* tag)
{
    auto child = std::make_unique<juce::XmlElement> (tag);
    auto* added = child.get();
    parent.prependChildElement (child.release());
    return added;
}

inline std::unique_ptr<juce::XmlElement> juceSchemeTree (const SchemeModel& model)
{
    using namespace SchemeVocabulary;
    auto root = std::make_unique<juce::XmlElement> (schemeTag);

    auto* groups = prepend (*root, groupListTag);

    for (int g = model.getNumGroups(); --g >= 0;)
    {
        auto* group = prepend (*groups, groupTag);
        group->setAttribute (nameAttribute, model.getGroup (g)->getName());

        for (int m = model.getGroup (g)->getNumMembers(); --m >= 0;)
        {
            prepend (*group, colourTag)->setAttribute (nameAttribute, model.getGroup (g)->getMember (m)->getSchemeColour().name.toString());
        }
    }

    for (int c = model.getNumColours(); --c >= 0;)
    {
        auto* colour = prepend (*root, colourTag);
        colour->setAttribute (nameAttribute, model.getColour (c)->name.toString());
        colour->setAttribute (colourAttribute, SchemeColourText::toText (model.getColour (c)->colour));
    }

    return root;
}
