#pragma once

#include "scheme/SchemeModel.h"

#include <emscripten/val.h>
#include <memory>
#include <string>
#include <vector>

/** One open scheme for the page: the model the window's document holds,
    reached by indices (colours in file order, groups in list order, members
    in group order). Deleting it gives its memory back to the module.

    The module's wrapper (WebCalls.js) hands every call its arguments of the
    types the declaration names, already out of the page's objects: numbers
    (whole where an index or a colour is meant), strings as Uint16Arrays of
    their code units, arrays as typed arrays. What is checked here is what
    needs the scheme: ranges and names. Every argument is read before the
    model is touched. */
class WebScheme
{
public:
    /** The scheme in these bytes, or the refusal the command line gives. */
    static std::unique_ptr<WebScheme> open (const emscripten::val& bytes);

    /** The bytes the window's Save writes (pending previews are not saved). */
    emscripten::val save() const;

    // Names go to the page as UTF-32 (a JavaScript string of the same
    // characters), so that a lone surrogate a file holds (&#xD800;) arrives as
    // one; at most maxLength characters of them (negative: all), so that a
    // page drawing a long name cut short converts only what it draws.
    int numColours() const { return model.getNumColours(); }
    std::wstring colourName (double index, double maxLength) const;
    juce::uint32 colourArgb (double index) const;
    emscripten::val colourArgbs (double start, double count) const;

    int numGroups() const { return model.getNumGroups(); }
    std::wstring groupName (double group, double maxLength) const;
    int numMembers (double group) const;
    emscripten::val memberColourIndices (double group, double start, double count) const;
    emscripten::val storedColours (double group, double start, double count) const;
    emscripten::val previewColours (double group, double start, double count);

    // The edits a user makes, each true when the scheme changed.
    int addGroup (const emscripten::val& name);
    bool deleteGroup (double group);
    bool renameGroup (double group, const emscripten::val& name);
    bool addColoursToGroup (double group, const emscripten::val& colourIndices);
    bool pickColour (double group, double member, double argb);

    // A group's tweak as the panel sets it.
    void setSlider (double group, const emscripten::val& slider, double value);
    void setContrast (double group, double centre, double amount);
    bool continueTweak (double group, double maxMembers);
    void finishTweak (double group);
    void resetTweak (double group);
    void invertColours (double group);
    void forceHue (double group, double hue);
    bool applyTweak (double group);

private:
    const SchemeColour& colourAt (double index) const;
    ColourGroup& groupAt (double group) const;

    SchemeModel model;
};
