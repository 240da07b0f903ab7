#include "document/CalvastraSchemeList.h"

#include "document/CalvastraScheme.h"
#include "look/UiConstants.h"

//==============================================================================
CalvastraSchemeList::CalvastraSchemeList()
    : juce::ListBox ("Scheme List", this)
{
    setMultipleSelectionEnabled (true);
}

CalvastraSchemeList::~CalvastraSchemeList() = default;

void CalvastraSchemeList::setScheme (CalvastraScheme* newScheme)
{
    if (newScheme == scheme)
        return;

    // The rows of the old scheme are not the rows of the new one: a selection
    // kept over would let a drag add colours nobody picked in this scheme.
    scheme = newScheme;
    deselectAllRows();
    updateContent();
    setVerticalPosition (0.0);
}

int CalvastraSchemeList::getNumRows()
{
    return scheme != nullptr ? scheme->getNumColours() : 0;
}

void CalvastraSchemeList::paintListBoxItem (int rowNumber, juce::Graphics& g, int width, int height, bool rowIsSelected)
{
    if (scheme == nullptr)
        return;

    if (rowIsSelected)
        g.fillAll (juce::Colour (0xffd3d3d3));

    // The list box also paints the blank rows below the last colour.
    auto* colour = scheme->getColour (rowNumber);

    if (colour == nullptr)
        return;

    const juce::Rectangle<int> swatch (5, 5, 20, height - 10);

    g.setColour (colour->colour);
    g.fillRect (swatch);

    g.setColour (juce::Colours::black);
    g.drawRect (swatch, 1);

    g.setFont (juce::Font (12.0f, juce::Font::plain));
    g.drawText (colour->name.toString (UiConstants::longestShownName), 30, 0, width - 35, height, juce::Justification::centredLeft, true);
}

juce::var CalvastraSchemeList::getDragSourceDescription (const juce::SparseSet<int>&)
{
    return UiConstants::coloursDragDescription;
}

//==============================================================================
CalvastraSchemeListManager::CalvastraSchemeListManager()
{
    addAndMakeVisible (list);
}

CalvastraSchemeListManager::~CalvastraSchemeListManager() = default;

void CalvastraSchemeListManager::paint (juce::Graphics& g)
{
    const auto w = getWidth();
    const auto h = getHeight();

    g.setColour (juce::Colours::white);
    g.drawText ("Scheme Colours", 5, 5, w - 10, 20, juce::Justification::centred, true);
    g.fillRoundedRectangle (5.0f, 30.0f, (float) (w - 10), (float) (h - 35), 10.0f);
}

void CalvastraSchemeListManager::resized()
{
    list.setBounds (10, 35, getWidth() - 20, getHeight() - 45);
}
