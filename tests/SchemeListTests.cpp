// The scheme colour list and its pane, painted into images.

#include "document/CalvastraScheme.h"
#include "document/CalvastraSchemeList.h"
#include "support/model/SchemeBuilders.h"
#include "support/ui/Pixels.h"

#include <gtest/gtest.h>

namespace
{
constexpr juce::uint32 white = 0xffffffff;
constexpr juce::uint32 black = 0xff000000;
constexpr juce::uint32 selectionGrey = 0xffd3d3d3;

juce::Image paintRow (CalvastraSchemeList& list, int row, bool selected, int width = 180, int height = 22)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    g.fillAll (juce::Colours::white);
    list.paintListBoxItem (row, g, width, height, selected);
    return image;
}

juce::uint32 pixel (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).getARGB();
}

bool isDark (juce::Colour c)
{
    return c.getBrightness() < 0.5f;
}

/** Columns holding dark (text) pixels anywhere in the row. */
juce::Range<int> darkColumns (const juce::Image& image, int fromX)
{
    int first = -1, last = -1;

    for (int x = fromX; x < image.getWidth(); ++x)
        for (int y = 0; y < image.getHeight(); ++y)
            if (isDark (image.getPixelAt (x, y)))
            {
                if (first < 0)
                    first = x;
                last = x;
            }

    return first < 0 ? juce::Range<int>() : juce::Range<int> (first, last + 1);
}
} // namespace

TEST (SchemeListTest, IsANamedMultiSelectListThatDragsColours)
{
    CalvastraSchemeList list;
    EXPECT_EQ (list.getName(), "Scheme List");
    EXPECT_TRUE (list.getModel() == &list);
    EXPECT_EQ (list.getRowHeight(), 22);

    EXPECT_EQ (list.getNumRows(), 0);

    CalvastraScheme scheme;
    testkit::addColour (scheme, "One", 0xff112233);
    testkit::addColour (scheme, "Two", 0xff445566);
    list.setScheme (&scheme);
    EXPECT_EQ (list.getNumRows(), 2);

    // Several rows can be selected at once, and all of them are dragged.
    list.updateContent();
    list.selectRow (0);
    list.selectRow (1, false, false);
    EXPECT_EQ (list.getNumSelectedRows(), 2);

    juce::SparseSet<int> rows;
    rows.addRange ({ 0, 1 });
    EXPECT_EQ (list.getDragSourceDescription (rows), juce::var ("COLOURS"));
}

TEST (SchemeListTest, RowShowsSwatchOutlineSelectionAndName)
{
    CalvastraScheme scheme;
    testkit::addColour (scheme, "Opaque", 0xff2050a0);
    testkit::addColour (scheme, "Half red", 0x80ff0000);
    testkit::addColour (scheme, "Invisible", 0x00123456);

    CalvastraSchemeList list;

    // No scheme: nothing at all, not even the selection.
    const auto empty = paintRow (list, 0, true);
    for (auto [x, y] : { std::pair { 2, 2 }, { 10, 10 }, { 5, 5 }, { 100, 11 } })
        EXPECT_EQ (pixel (empty, x, y), white);

    list.setScheme (&scheme);

    const auto opaque = paintRow (list, 0, false);
    // The swatch (5, 5, 20, 12) is filled inside its black one-pixel outline.
    for (auto [x, y] : { std::pair { 5, 5 }, { 24, 5 }, { 5, 16 }, { 24, 16 }, { 15, 5 }, { 5, 10 } })
        EXPECT_EQ (pixel (opaque, x, y), black) << x << "," << y;
    for (auto [x, y] : { std::pair { 6, 6 }, { 23, 15 }, { 15, 10 } })
        EXPECT_EQ (pixel (opaque, x, y), 0xff2050a0u) << x << "," << y;
    // Nothing outside it.
    for (auto [x, y] : { std::pair { 4, 10 }, { 25, 10 }, { 15, 4 }, { 15, 17 }, { 2, 2 } })
        EXPECT_EQ (pixel (opaque, x, y), white) << x << "," << y;

    // The name sits from x 30, in black.
    const auto text = darkColumns (opaque, 26);
    ASSERT_FALSE (text.isEmpty());
    EXPECT_GE (text.getStart(), 30);
    EXPECT_LT (text.getStart(), 34);

    // Selected: the whole row is light grey, the swatch and outline on top.
    const auto selected = paintRow (list, 0, true);
    for (auto [x, y] : { std::pair { 0, 0 }, { 179, 21 }, { 2, 10 }, { 27, 3 }, { 170, 11 } })
        EXPECT_EQ (pixel (selected, x, y), selectionGrey) << x << "," << y;
    EXPECT_EQ (pixel (selected, 5, 5), black);
    EXPECT_EQ (pixel (selected, 15, 10), 0xff2050a0u);

    // Alpha counts: half-transparent red over the grey, and an invisible colour
    // leaves only its outline.
    const auto halfRed = paintRow (list, 1, true).getPixelAt (15, 10);
    EXPECT_NEAR (halfRed.getRed(), (0xff + 0xd3) / 2, 2);
    EXPECT_NEAR (halfRed.getGreen(), 0xd3 / 2, 2);
    EXPECT_NEAR (halfRed.getBlue(), 0xd3 / 2, 2);

    const auto invisible = paintRow (list, 2, false);
    EXPECT_EQ (pixel (invisible, 15, 10), white);
    EXPECT_EQ (pixel (invisible, 5, 5), black);
    EXPECT_FALSE (darkColumns (invisible, 26).isEmpty());

    // The list box also paints rows below the last colour: they stay blank.
    const auto beyond = paintRow (list, 3, false);
    EXPECT_TRUE (darkColumns (beyond, 0).isEmpty());

    // The swatch follows the row height.
    const auto tall = paintRow (list, 0, false, 180, 40);
    EXPECT_EQ (pixel (tall, 5, 34), black);
    EXPECT_EQ (pixel (tall, 15, 33), 0xff2050a0u);
    EXPECT_EQ (pixel (tall, 15, 35), white);
}

TEST (SchemeListTest, LongNamesStayInsideTheirBox)
{
    CalvastraScheme scheme;
    testkit::addColour (scheme, "A very long colour name that cannot possibly fit in the narrow list row", 0xff000000);

    CalvastraSchemeList list;
    list.setScheme (&scheme);

    constexpr int width = 150;
    const auto row = paintRow (list, 0, false, width);
    const auto text = darkColumns (row, 26);

    ASSERT_FALSE (text.isEmpty());
    EXPECT_LE (text.getEnd(), width - 5);
    EXPECT_GT (text.getEnd(), width - 30) << "the shortened name still fills its box";
}

TEST (SchemeListTest, PaneFramesTheListUnderItsTitle)
{
    CalvastraSchemeListManager pane;
    pane.setSize (200, 300);

    EXPECT_EQ (pane.getList().getBounds(), juce::Rectangle<int> (10, 35, 180, 255));
    EXPECT_EQ (pane.getList().getParentComponent(), &pane);
    EXPECT_TRUE (pane.getList().isVisible());

    pane.setSize (200, 500);
    EXPECT_EQ (pane.getList().getBounds(), juce::Rectangle<int> (10, 35, 180, 455));

    // Paint the pane alone, over blue so that the white shows.
    juce::Image image (juce::Image::ARGB, 200, 500, true);
    {
        juce::Graphics g (image);
        g.fillAll (juce::Colour (0xff4c72b6));
        pane.paint (g);
    }

    // The rounded frame (5, 30, 190, 465), corner 10.
    EXPECT_EQ (pixel (image, 100, 32), white);
    EXPECT_EQ (pixel (image, 6, 250), white);
    EXPECT_EQ (pixel (image, 194, 494), 0xff4c72b6u) << "rounded corner";
    EXPECT_EQ (pixel (image, 5, 30), 0xff4c72b6u) << "rounded corner";
    EXPECT_EQ (pixel (image, 4, 250), 0xff4c72b6u);
    EXPECT_EQ (pixel (image, 100, 496), 0xff4c72b6u);

    // The title: white glyphs centred in (5, 5, 190, 20), nothing else above the frame.
    const auto title = testkit::boundsOfPixels (image, { 0, 0, 200, 29 }, [] (juce::Colour c)
                                                { return c.getBrightness() > 0.9f; });
    ASSERT_FALSE (title.isEmpty()) << "no title drawn";
    const int minX = title.getX(), maxX = title.getRight() - 1, minY = title.getY(), maxY = title.getBottom() - 1;
    EXPECT_GE (minY, 5);
    EXPECT_LE (maxY, 24);
    EXPECT_NEAR ((minX + maxX) / 2.0, 100.0, 3.0);
    EXPECT_GT (maxX - minX, 60) << "\"Scheme Colours\" is wider than this";
}
