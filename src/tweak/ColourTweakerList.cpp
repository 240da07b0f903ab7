#include "tweak/ColourTweakerList.h"

#include "document/CalvastraScheme.h"
#include "document/CalvastraSchemeList.h"
#include "look/UiConstants.h"
#include "scheme/SchemeModel.h"

//==============================================================================
ColourTweakerListItem::ColourTweakerListItem (ColourTweakerList& ownerList)
    : owner (ownerList)
{
    storedBox = std::make_unique<ColourBox> (true);
    previewBox = std::make_unique<ColourBox> (false);

    addAndMakeVisible (*storedBox);
    addAndMakeVisible (*previewBox);

    storedBox->setListener (this);
    previewBox->setListener (this);

    // Asked at each press, so a runner set on the list reaches rows made before.
    storedBox->setMenuRunner ([&ownerList] (juce::PopupMenu& menu, juce::Component& target)
                              { return ownerList.menuRunner (menu, target); });
}

ColourTweakerListItem::~ColourTweakerListItem() = default;

void ColourTweakerListItem::setMember (ColourGroupMember* newMember)
{
    member = newMember;

    if (member != nullptr)
    {
        storedBox->setColour (member->getStoredColour());
        previewBox->setColour (member->getPreviewColour());
    }

    repaint();
}

void ColourTweakerListItem::setSelected (bool shouldBeSelected)
{
    selected = shouldBeSelected;
    repaint();
}

void ColourTweakerListItem::colourBoxChanged (ColourBox* box)
{
    if (box != storedBox.get() || member == nullptr)
        return;

    auto* group = owner.getColourGroup();

    // Only a row that still shows its group's member may write into it.
    if (group == nullptr || group->getMember (row) != member)
        return;

    const auto colourChanged = SchemeModel::pickColour (*group, row, box->getColour());
    previewBox->setColour (member->getPreviewColour());
    repaint();

    owner.schemeColourEdited (*member, colourChanged);
}

void ColourTweakerListItem::mouseDown (const juce::MouseEvent&)
{
    owner.selectRow (row);
}

void ColourTweakerListItem::resized()
{
    storedBox->setBounds (5, 5, 20, getHeight() - 10);
    previewBox->setBounds (getWidth() - 20, 0, 20, getHeight());
}

void ColourTweakerListItem::paint (juce::Graphics& g)
{
    if (member == nullptr)
        return;

    g.setFont (juce::Font (12.0f, juce::Font::plain));
    g.drawText (member->getSchemeColour().name.toString (UiConstants::longestShownName),
                30,
                5,
                getWidth() - 60,
                getHeight() - 10,
                juce::Justification::centredLeft,
                true);
}

//==============================================================================
ColourTweakerList::ColourTweakerList()
    : juce::ListBox ("TweakList", nullptr)
{
    setModel (this);
}

ColourTweakerList::~ColourTweakerList()
{
    // The rows must go before the model part of this object does.
    setModel (nullptr);
}

void ColourTweakerList::setMenuRunner (ModalMenu::Runner newRunner)
{
    menuRunner = newRunner != nullptr ? std::move (newRunner) : ModalMenu::showAt;
}

void ColourTweakerList::setColourGroup (ColourGroup* group)
{
    currentGroup = group;
    updateContent();
}

int ColourTweakerList::getNumRows()
{
    return currentGroup != nullptr ? currentGroup->getNumMembers() : 0;
}

void ColourTweakerList::paintListBoxItem (int, juce::Graphics&, int, int, bool)
{
    // Rows are components.
}

juce::Component* ColourTweakerList::refreshComponentForRow (int rowNumber, bool isRowSelected, juce::Component* existingComponentToUpdate)
{
    // The list box hands over ownership of the existing row component.
    std::unique_ptr<juce::Component> existing (existingComponentToUpdate);

    if (currentGroup == nullptr || rowNumber >= getNumRows() || rowNumber < 0)
        return nullptr;

    std::unique_ptr<ColourTweakerListItem> item (dynamic_cast<ColourTweakerListItem*> (existing.get()));

    if (item != nullptr)
        existing.release();
    else
        item = std::make_unique<ColourTweakerListItem> (*this);

    // A row on screen shows the latest slider values even while the other
    // members are still catching up.
    currentGroup->updateMember (rowNumber);

    item->setSelected (isRowSelected);
    item->setRow (rowNumber);
    item->setMember (currentGroup->getMember (rowNumber));
    return item.release();
}

bool ColourTweakerList::isInterestedInDragSource (const SourceDetails& dragSourceDetails)
{
    return dragSourceDetails.description.toString() == UiConstants::coloursDragDescription;
}

void ColourTweakerList::itemDropped (const SourceDetails& dragSourceDetails)
{
    if (! isInterestedInDragSource (dragSourceDetails) || currentGroup == nullptr)
        return;

    auto* source = dynamic_cast<CalvastraSchemeList*> (dragSourceDetails.sourceComponent.get());

    if (source == nullptr || source->getScheme() == nullptr)
        return;

    const auto added = source->getScheme()->addColoursToGroup (*currentGroup, source->getSelectedRows());

    updateContent();
    repaint();

    if (added)
        schemeEdited();
}

void ColourTweakerList::schemeColourEdited (ColourGroupMember& member, bool colourChanged)
{
    if (onSchemeColourEdited != nullptr)
        onSchemeColourEdited (member);

    if (colourChanged)
        schemeEdited();
}

void ColourTweakerList::schemeEdited()
{
    if (onSchemeEdited != nullptr)
        onSchemeEdited();
}
