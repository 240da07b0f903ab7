#include "TestDisplay.h"
#include "TweakTestSupport.h"
#include "document/CalvastraScheme.h"
#include "document/CalvastraSchemeList.h"
#include "hue/ModalMenu.h"
#include "scheme/SchemeModel.h"
#include "support/ui/MessageLoop.h"
#include "support/ui/Pixels.h"
#include "tweak/ColourTweakerList.h"

#include <gtest/gtest.h>

namespace
{
/** A scheme of named colours shown in a scheme colour list, as the drag source. */
class TweakListTest : public ::testing::Test
{
protected:
    TweakListTest()
    {
        const juce::uint32 values[] = { 0xffff0000, 0xff00ff00, 0xff0000ff, 0x80102030, 0xff808080 };
        const char* names[] = { "Zero", "One", "Two", "Three", "Four" };

        for (int i = 0; i < 5; ++i)
        {
            auto colour = std::make_unique<SchemeColour>();
            colour->name = names[i];
            colour->colour = juce::Colour (values[i]);
            scheme.appendColour (std::move (colour));
        }

        source.setScheme (&scheme);
        source.updateContent();
        source.setSize (200, 300);
        list.setSize (300, 200);
    }

    void selectSourceRows (std::initializer_list<int> rows)
    {
        source.deselectAllRows();
        for (auto r : rows)
            source.selectRow (r, false, false);
    }

    void drop (const juce::String& description)
    {
        list.itemDropped ({ description, &source, { 20, 20 } });
    }

    std::vector<SchemeColour*> memberColours() const
    {
        std::vector<SchemeColour*> result;
        for (int i = 0; i < group.getNumMembers(); ++i)
            result.push_back (&group.getMember (i)->getSchemeColour());
        return result;
    }

    ColourTweakerListItem* row (int r)
    {
        return dynamic_cast<ColourTweakerListItem*> (list.getComponentForRowNumber (r));
    }

    SchemeColour& colour (int i) { return *scheme.getColour (i); }

    CalvastraScheme scheme;
    CalvastraSchemeList source;
    ColourGroup group;
    ColourTweakerList list;
};

/** The same fixture, for the tests that need the display (see TestDisplay.h). */
using TweakListOnScreen = TweakListTest;
} // namespace

TEST_F (TweakListTest, AcceptsExactlyTheColoursDescription)
{
    EXPECT_EQ (list.getName(), "TweakList");
    EXPECT_EQ (list.getRowHeight(), 22);

    auto interested = [this] (const juce::var& description)
    { return list.isInterestedInDragSource ({ description, &source, {} }); };

    EXPECT_TRUE (interested ("COLOURS"));
    EXPECT_FALSE (interested ("colours"));
    EXPECT_FALSE (interested ("COLOURS "));
    EXPECT_FALSE (interested (""));
    EXPECT_FALSE (interested (juce::var()));

    list.setColourGroup (&group);
    selectSourceRows ({ 1, 2 });
    drop ("colours");
    EXPECT_EQ (group.getNumMembers(), 0);
    EXPECT_EQ (list.getNumRows(), 0);
}

TEST_F (TweakListTest, WithoutAGroupHasNoRowsAndIgnoresDrops)
{
    EXPECT_EQ (list.getNumRows(), 0);

    selectSourceRows ({ 0, 1 });
    drop ("COLOURS");
    EXPECT_EQ (list.getNumRows(), 0);
    EXPECT_EQ (group.getNumMembers(), 0);

    // A group given later shows only what it holds.
    group.addColour (colour (4));
    list.setColourGroup (&group);
    EXPECT_EQ (list.getNumRows(), 1);
    list.setColourGroup (nullptr);
    EXPECT_EQ (list.getNumRows(), 0);
    EXPECT_EQ (row (0), nullptr);
}

TEST_F (TweakListTest, DropAddsSelectedColoursInRowOrderOnlyOnce)
{
    list.setColourGroup (&group);

    selectSourceRows ({ 3, 1 });
    drop ("COLOURS");
    EXPECT_EQ (memberColours(), (std::vector<SchemeColour*> { &colour (1), &colour (3) }));
    EXPECT_EQ (list.getNumRows(), 2);

    // Members already present keep their tweak.
    group.setHueShift (0.5f);
    const auto tweakedPreview = group.getMember (0)->getPreviewColour();
    EXPECT_NE (tweakedPreview, colour (1).colour);

    drop ("COLOURS");
    EXPECT_EQ (group.getNumMembers(), 2);

    // Non-adjacent, mixed new and present: only the new ones, appended in ascending order.
    selectSourceRows ({ 4, 0, 1, 3 });
    drop ("COLOURS");
    EXPECT_EQ (memberColours(), (std::vector<SchemeColour*> { &colour (1), &colour (3), &colour (0), &colour (4) }));
    EXPECT_EQ (group.getMember (0)->getParameters().hueShift, 0.5f);
    EXPECT_EQ (group.getMember (0)->getPreviewColour(), tweakedPreview);
    EXPECT_EQ (group.getMember (2)->getParameters().hueShift, 0.0f);
    EXPECT_EQ (list.getNumRows(), 4);

    // The new rows show the stored colour in both swatches.
    for (int r : { 2, 3 })
    {
        auto* item = row (r);
        ASSERT_NE (item, nullptr);
        EXPECT_EQ (item->getRow(), r);
        EXPECT_EQ (item->getMember(), group.getMember (r));
        EXPECT_EQ (item->getStoredBox().getColour(), memberColours()[(size_t) r]->colour);
        EXPECT_EQ (item->getPreviewBox().getColour(), memberColours()[(size_t) r]->colour);
    }
}

TEST_F (TweakListTest, DropFromAnythingButTheSchemeColourListDoesNothing)
{
    list.setColourGroup (&group);
    juce::ListBox otherList;
    list.itemDropped ({ "COLOURS", &otherList, {} });
    list.itemDropped ({ "COLOURS", nullptr, {} });

    CalvastraSchemeList noScheme;
    noScheme.selectRow (0);
    list.itemDropped ({ "COLOURS", &noScheme, {} });

    EXPECT_EQ (group.getNumMembers(), 0);
}

TEST_F (TweakListTest, RowPaintsStoredSwatchWithOutlineNameAndPreviewSwatch)
{
    group.addColour (colour (3)); // 0x80102030: translucent
    group.addColour (colour (0));
    group.getMember (1)->setHueShift (0.5f); // preview cyan
    list.setColourGroup (&group);

    auto* item = row (1);
    ASSERT_NE (item, nullptr);
    EXPECT_EQ (item->getBounds().getHeight(), 22);
    EXPECT_EQ (item->getStoredBox().getBounds(), juce::Rectangle<int> (5, 5, 20, 12));
    EXPECT_EQ (item->getPreviewBox().getBounds(), juce::Rectangle<int> (item->getWidth() - 20, 0, 20, 22));
    EXPECT_TRUE (item->getStoredBox().isEditable());
    EXPECT_FALSE (item->getPreviewBox().isEditable());

    const auto white = juce::Colour (0xffffffff);
    const auto image = tweaktest::paintOver (*item, white);
    const auto w = item->getWidth();

    // Stored swatch: red inside a one-pixel black outline.
    EXPECT_EQ (image.getPixelAt (15, 11).getARGB(), 0xffff0000u);
    EXPECT_EQ (image.getPixelAt (5, 11).getARGB(), 0xff000000u);
    EXPECT_EQ (image.getPixelAt (24, 11).getARGB(), 0xff000000u);
    EXPECT_EQ (image.getPixelAt (15, 5).getARGB(), 0xff000000u);
    EXPECT_EQ (image.getPixelAt (15, 16).getARGB(), 0xff000000u);
    EXPECT_EQ (image.getPixelAt (15, 4), white);
    EXPECT_EQ (image.getPixelAt (25, 11), white);

    // Preview swatch: the whole right edge, no outline.
    for (auto [x, y] : { std::pair { w - 20, 0 }, { w - 1, 21 }, { w - 10, 11 } })
        EXPECT_EQ (image.getPixelAt (x, y).getARGB(), 0xff00ffffu) << x << "," << y;
    EXPECT_EQ (image.getPixelAt (w - 21, 11), white);

    // The name in black between the swatches.
    EXPECT_GT (testkit::countPixels (image, { 30, 5, w - 60, 12 }, [] (juce::Colour c)
                                     { return c.getBrightness() < 0.3f; }),
               10);

    // A translucent colour shows what lies beneath.
    auto* first = row (0);
    ASSERT_NE (first, nullptr);
    const auto translucent = tweaktest::paintOver (*first, white);
    const auto blended = translucent.getPixelAt (w - 10, 11);
    const auto expected = white.overlaidWith (juce::Colour (0x80102030));
    EXPECT_NEAR (blended.getRed(), expected.getRed(), 1);
    EXPECT_NEAR (blended.getGreen(), expected.getGreen(), 1);
    EXPECT_NEAR (blended.getBlue(), expected.getBlue(), 1);
}

TEST_F (TweakListTest, PressingARowSelectsItAndThePreviewSwatchOpensNothing)
{
    group.addColour (colour (0));
    group.addColour (colour (1));
    list.setColourGroup (&group);

    int popUps = 0;
    list.setMenuRunner ([&popUps] (juce::PopupMenu&, juce::Component&)
                        { ++popUps; return 0; });

    auto* item = row (1);
    ASSERT_NE (item, nullptr);
    item->mouseDown (tweaktest::mouseEventAt (*item, 100, 10));
    EXPECT_EQ (list.getSelectedRow(), 1);
    EXPECT_TRUE (row (1)->isSelected());
    EXPECT_FALSE (row (0)->isSelected());

    auto& preview = item->getPreviewBox();
    preview.mouseDown (tweaktest::mouseEventAt (preview, 5, 5));
    EXPECT_EQ (popUps, 0);
    EXPECT_EQ (colour (1).colour.getARGB(), 0xff00ff00u);
}

TEST_F (TweakListTest, StoredSwatchOpensAColourSelectorThatFollowsLiveAndWritesTheSchemeOnClose)
{
    group.addColour (colour (0));
    group.addColour (colour (2));
    group.setHueShift (0.5f);
    list.setColourGroup (&group);

    std::vector<ColourGroupMember*> edited;
    list.onSchemeColourEdited = [&edited] (ColourGroupMember& m)
    { edited.push_back (&m); };

    auto* item = row (0);
    ASSERT_NE (item, nullptr);
    auto& stored = item->getStoredBox();

    int popUps = 0;
    juce::Colour colourWhileOpen;
    list.setMenuRunner ([&] (juce::PopupMenu& menu, juce::Component& target)
                        {
                              ++popUps;
                              EXPECT_EQ (&target, &stored);
                              auto* item = ModalMenu::getFirstCustomComponent (menu);
                              EXPECT_NE (item, nullptr);
                              if (item == nullptr)
                                  return 0;

                              int w = 0, h = 0;
                              item->getIdealSize (w, h);
                              EXPECT_EQ (w, 200);
                              EXPECT_EQ (h, 200);

                              auto* selector = tweaktest::findDescendant<juce::ColourSelector> (*item);
                              EXPECT_NE (selector, nullptr);
                              if (selector == nullptr)
                                  return 0;

                              EXPECT_EQ (selector->getCurrentColour().getARGB(), 0xffff0000u);
                              // Alpha shown: four sliders (red, green, blue, alpha).
                              int sliders = 0;
                              for (auto* c : selector->getChildren())
                                  sliders += dynamic_cast<juce::Slider*> (c) != nullptr ? 1 : 0;
                              EXPECT_EQ (sliders, 4);

                              selector->setCurrentColour (juce::Colour (0xff00ff00));
                              testkit::pumpFor (20);
                              colourWhileOpen = stored.getColour();
                              return 0; });

    stored.mouseDown (tweaktest::mouseEventAt (stored, 5, 5));

    EXPECT_EQ (popUps, 1);
    EXPECT_EQ (colourWhileOpen.getARGB(), 0xff00ff00u);
    EXPECT_EQ (colour (0).colour.getARGB(), 0xff00ff00u);

    // The preview follows the new stored colour with the member's own tweak:
    // green shifted by half a turn is magenta, not the old red's cyan.
    EXPECT_EQ (group.getMember (0)->getParameters().hueShift, 0.5f);
    EXPECT_EQ (group.getMember (0)->getPreviewColour().getARGB(), 0xffff00ffu);
    EXPECT_EQ (row (0)->getPreviewBox().getColour().getARGB(), 0xffff00ffu);
    EXPECT_EQ (edited, (std::vector<ColourGroupMember*> { group.getMember (0) }));

    // The other member is untouched.
    EXPECT_EQ (colour (2).colour.getARGB(), 0xff0000ffu);

    // Closing without a change still writes back (the same colour) and reports.
    list.setMenuRunner ([] (juce::PopupMenu&, juce::Component&)
                        { return 0; });
    stored.mouseDown (tweaktest::mouseEventAt (stored, 5, 5));
    EXPECT_EQ (colour (0).colour.getARGB(), 0xff00ff00u);
    EXPECT_EQ (edited.size(), 2u);
}

TEST_F (TweakListOnScreen, RealDragFromTheSchemeColourListAddsTheColours)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "needs an X display for a real drag";

    struct Container : public juce::Component,
                       public juce::DragAndDropContainer
    {
    } window;

    window.setBounds (50, 50, 520, 300);
    window.addAndMakeVisible (source);
    window.addAndMakeVisible (list);
    source.setBounds (0, 0, 200, 300);
    list.setBounds (210, 0, 300, 300);
    window.addToDesktop (0);
    window.setVisible (true);

    list.setColourGroup (&group);
    selectSourceRows ({ 2, 4 });

    // The window's arrival (map, focus, expose) is handled before the press,
    // not between the press and the drag.
    testkit::pumpFor (200);

    // Press on a selected row, drag across to the group list, release.
    auto& content = *source.getViewport()->getViewedComponent();
    const auto rowY = 4 * source.getRowHeight() + 10;
    const auto start = window.getLocalPoint (&content, juce::Point<int> (50, rowY));
    tweaktest::sendMouse (window, start.x, start.y, true);
    for (int x = start.x; x <= 350; x += 20)
    {
        tweaktest::sendMouse (window, x, start.y, true);
        testkit::pumpFor (5);
    }
    // Still both rows: the press was not taken for a click before it dragged.
    EXPECT_EQ (source.getNumSelectedRows(), 2);
    tweaktest::sendMouse (window, 350, 100, true);
    testkit::pumpFor (20);
    tweaktest::sendMouse (window, 350, 100, false);
    testkit::pumpFor (50);

    EXPECT_EQ (memberColours(), (std::vector<SchemeColour*> { &colour (2), &colour (4) }));
    EXPECT_EQ (list.getNumRows(), 2);

    // The drag image fades out in a window of its own; finish that while the
    // display is still open.
    juce::Desktop::getInstance().getAnimator().cancelAllAnimations (false);
}
