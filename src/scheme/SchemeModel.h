#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include "containers/ColourName.h"
#include "containers/FlatHashTable.h"
#include "containers/NameStore.h"
#include "containers/StableList.h"
#include "maths/TweakMaths.h"
#include "scheme/PendingTweak.h"

//==============================================================================
/** One named colour of the scheme. Names need not be unique. */
struct SchemeColour
{
    SchemeColour() = default;
    SchemeColour (ColourName nameToUse, juce::Colour colourToUse) noexcept
        : name (std::move (nameToUse)), colour (colourToUse) {}

    ColourName name;
    juce::Colour colour { 0x00000000 };
};

//==============================================================================
/** One colour inside a group, with the pending tweak that produces its preview.

    The preview is always computed afresh from the stored colour (the referenced
    SchemeColour's current value) and all the parameters, so parameters combine
    instead of accumulating. Only applyTweak() writes into the scheme.

    While its group has a queued tweak (ColourGroup::queueTweak), a member's
    parameters and preview may lag behind the sliders; call the member's own
    setters only on a group with nothing queued.
*/
class ColourGroupMember
{
public:
    explicit ColourGroupMember (SchemeColour& colourToTweak);

    SchemeColour& getSchemeColour() const noexcept { return *schemeColour; }
    juce::Colour getStoredColour() const noexcept { return schemeColour->colour; }
    juce::Colour getPreviewColour() const noexcept { return previewColour; }

    // The tweak operations; the colour maths lives in the tweak folder.
    void recomputePreview();
    void setRedOffset (int offset);
    void setGreenOffset (int offset);
    void setBlueOffset (int offset);
    void setHueShift (float shift);
    void setSaturationMultiplier (float multiplier);
    void setBrightnessMultiplier (float multiplier);
    void setContrast (float centre, float amount);
    void resetTweak();
    void applyTweak();
    void forceHue (float hue);
    void invertColour();

    // Parameter read-back, for tests and diagnostics.
    const TweakMaths::TweakParameters& getParameters() const noexcept { return parameters; }
    int getRedOffset() const noexcept { return parameters.redOffset; }
    int getGreenOffset() const noexcept { return parameters.greenOffset; }
    int getBlueOffset() const noexcept { return parameters.blueOffset; }
    float getHueShift() const noexcept { return parameters.hueShift; }
    float getSaturationMultiplier() const noexcept { return parameters.saturationMultiplier; }
    float getBrightnessMultiplier() const noexcept { return parameters.brightnessMultiplier; }
    float getAlphaMultiplier() const noexcept { return parameters.alphaMultiplier; }
    float getContrastCentre() const noexcept { return parameters.contrastCentre; }
    float getContrastAmount() const noexcept { return parameters.contrastAmount; }

private:
    friend class ColourGroup; // the group forms compute their members' previews in batches

    SchemeColour* schemeColour; // never null; owned by the scheme
    juce::Colour previewColour;
    TweakMaths::TweakParameters parameters; // default-constructed = neutral; the alpha
        // multiplier has no control and stays 1
};

//==============================================================================
/** A named, ordered set of scheme colours, each with its own tweak state.

    Slider moves can reach the members gradually: queueTweak() only records the
    values, and the members take them later, a few at a time (continueTweak(),
    updateMember()) or all at once (finishTweak()). Every operation that reads
    or replaces previews as a whole (Apply, recomputePreviews, adding a colour)
    finishes what is queued first; Reset, Invert and a forced hue drop it, as
    they set every parameter anyway. The group setters queue and finish at once.
*/
class ColourGroup
{
public:
    ColourGroup() = default;

    const juce::String& getName() const noexcept { return name; }
    void setName (const juce::String& newName) { name = newName; }

    int getNumMembers() const noexcept { return members.size(); }
    ColourGroupMember* getMember (int index) const noexcept { return members[index]; }

    /** Appends a neutral member for this colour unless one already refers to
        this very record (identity, not name). Returns true if one was added. */
    bool addColour (SchemeColour& colour);
    /** Makes room for this many members in all, so that adding them allocates
        nothing more. */
    void reserveMembers (int numMembers);
    bool containsColour (const SchemeColour& colour) const;

    // Group forms of the tweak operations: the member operation on every member, in order.
    /** Returns true if at least one stored colour changed. */
    bool applyTweak();
    void resetTweak();
    void setRedOffset (int offset);
    void setGreenOffset (int offset);
    void setBlueOffset (int offset);
    void setHueShift (float shift);
    void setSaturationMultiplier (float multiplier);
    void setBrightnessMultiplier (float multiplier);
    void setContrast (float centre, float amount);
    void forceHue (float hue);
    void invertColours();
    void recomputePreviews();

    /** Records slider values for every member without touching any member yet;
        costs the same at any group size. Newer values of a parameter replace
        older ones, so only the latest reaches the members. */
    void queueTweak (const PendingTweak& change);
    bool hasQueuedTweak() const noexcept { return membersDue > 0; }

    /** Brings this one member up to date with what is queued (for the rows on
        screen); it may be visited again later, with the same result. */
    void updateMember (int index);

    /** Brings up to maxMembers more members up to date. Returns true while
        some are still behind. */
    bool continueTweak (int maxMembers);

    /** Brings every member up to date now. */
    void finishTweak();

private:
    // Computes the previews of members [start, start + count) in batches, each
    // member first taking the queued values.
    void recomputeRange (int start, int count);
    void dropQueuedTweak() noexcept;

    void setNow (const PendingTweak& change);

    StableList<ColourGroupMember> members;
    juce::String name { "Unnamed group" };
    FlatHashTable<const SchemeColour*> memberColours; // keeps addColour linear overall

    // A slider move restarts the round at the cursor, so that the members it
    // passed take the newer values too; the round ends after every member.
    PendingTweak queued;
    int nextDue = 0; // the member the round continues with
    int membersDue = 0; // members still to visit in this round

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourGroup)
};

/** The scheme's group list, handed as a whole to the group pane and controls. */
using ColourGroupList = juce::OwnedArray<ColourGroup>;

//==============================================================================
/** The colours and groups of one open scheme. Records keep their address
    while they live: groups refer to them. */
class SchemeModel
{
public:
    SchemeModel() = default;
    virtual ~SchemeModel() = default;

    int getNumColours() const noexcept { return colours.size(); }
    /** Null for an index outside the list. */
    SchemeColour* getColour (int index) const noexcept { return colours[index]; }
    /** The first colour in list order whose name is exactly this one, or null. */
    SchemeColour* findColourByName (const ColourName& name) const;
    /** The same, for a name given as UTF-8 bytes (no terminating zero needed). */
    SchemeColour* findColourByName (const char* utf8, size_t numBytes) const;
    /** Makes room for this many colours in all, so that appending them allocates
        nothing but blocks for their names. */
    void reserveColours (int numColours);
    /** Appends the record's name and colour at the end. A record's name does
        not change once appended: the name index relies on it. */
    SchemeColour& appendColour (std::unique_ptr<SchemeColour> colour);
    /** Appends a record whose name (UTF-8 bytes, no terminating zero needed) the
        model keeps with the names of the other records read this way. */
    SchemeColour& appendColour (const char* utf8Name, size_t numBytes, juce::Colour colour);

    ColourGroupList& getColourGroups() noexcept { return groups; }
    const ColourGroupList& getColourGroups() const noexcept { return groups; }
    int getNumGroups() const noexcept { return groups.size(); }
    ColourGroup* getGroup (int index) const noexcept { return groups[index]; }
    ColourGroup& appendGroup (std::unique_ptr<ColourGroup> group);
    /** Deletes the group and its members; an index outside the list does nothing. */
    void removeGroup (int index);

    /** Deletes all colours, then all groups. */
    void clear();

    //==============================================================================
    // The edits a user makes to a scheme. Each says whether the scheme changed,
    // that is, whether a save would now write something else: an edit that
    // changes nothing a file holds (the same name again, a colour picked to its
    // own value, Apply with nothing to apply) does not count.

    /** The first group in list order whose name is exactly this one, or null. */
    ColourGroup* findGroup (const juce::String& name) const noexcept;

    /** Appends a group of this name, with no members. An empty name adds
        nothing and gives null. */
    ColourGroup* addGroup (const juce::String& name);

    /** Deletes the group at this index with its members; false when there is none. */
    bool deleteGroup (int index);

    /** Gives the group a new name; false, with the old name kept, when the new
        one is empty or the same. */
    bool renameGroup (ColourGroup& group, const juce::String& newName);

    /** Adds the colours at these indices of the colour list to the group, in
        list order, each as a neutral member; colours the group already has and
        indices outside the list are skipped. True if any colour joined. */
    bool addColoursToGroup (ColourGroup& group, const juce::SparseSet<int>& colourIndices);

    // These two need nothing of the scheme but the group, so a window part that
    // only holds a group can make them too.

    /** Sets the stored colour of one member of the group directly. Its preview
        follows at once, with the group's latest tweak values, so that the next
        Apply does not write the old colour back. An index outside the group
        changes nothing. True if the stored colour changed. */
    static bool pickColour (ColourGroup& group, int memberIndex, juce::Colour newColour);

    /** Writes every member's preview, with the latest tweak values, into the
        scheme and resets the members; true if any stored colour changed. */
    static bool applyTweak (ColourGroup& group);

private:
    // Names are indexed in batches, when the first lookup after appending comes.
    void indexNewColours() const;

    NameStore names; // for the records appended by name bytes, which refer to it
    StableList<SchemeColour> colours;
    ColourGroupList groups;
    // The first colour with each name; the names stay in the records.
    mutable FlatHashTable<SchemeColour*> firstColourWithName;
    mutable int numIndexed = 0; // the records [0, numIndexed) are in the index

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SchemeModel)
};
