#pragma once

#include "scheme/SchemeModel.h"

#include <emscripten/val.h>
#include <memory>
#include <string>
#include <vector>

/** One open scheme for the page: the model the window's document holds,
    reached by indices (colours in file order, groups in list order, members
    in group order). Deleting it gives its memory back to the module. */
class WebScheme
{
public:
    /** The scheme in these bytes, or the refusal the command line gives. */
    static std::unique_ptr<WebScheme> open (const emscripten::val& bytes);

    /** The bytes the window's Save writes (pending previews are not saved). */
    emscripten::val save() const;

    int numColours() const { return model.getNumColours(); }
    std::string colourName (int index) const;
    juce::uint32 colourArgb (int index) const;
    emscripten::val colourArgbs (int start, int count) const;

    int numGroups() const { return model.getNumGroups(); }
    std::string groupName (int group) const;
    int numMembers (int group) const;
    emscripten::val memberColourIndices (int group, int start, int count) const;
    emscripten::val storedColours (int group, int start, int count) const;
    emscripten::val previewColours (int group, int start, int count);

    // The edits a user makes, each true when the scheme changed.
    int addGroup (const std::string& name);
    bool deleteGroup (int group);
    bool renameGroup (int group, const std::string& name);
    bool addColoursToGroup (int group, const emscripten::val& colourIndices);
    bool pickColour (int group, int member, juce::uint32 argb);

    // A group's tweak as the panel sets it.
    void setSlider (int group, const std::string& slider, double value);
    void setContrast (int group, double centre, double amount);
    bool continueTweak (int group, int maxMembers);
    void finishTweak (int group);
    void resetTweak (int group);
    void invertColours (int group);
    void forceHue (int group, double hue);
    bool applyTweak (int group);

private:
    ColourGroup& groupAt (int group) const;
    int indexOfColour (const SchemeColour& colour) const;

    SchemeModel model;

    // Where the colour records lie: runs of records next to each other in
    // memory with consecutive indices, in address order. The list keeps its
    // records in a few chunks and does not change once the scheme is open, so
    // there are few runs; they are found when first asked for.
    struct Run
    {
        std::uintptr_t first;
        int firstIndex, count;
    };

    mutable std::vector<Run> colourRuns;
};
