// When two schemes count as the same: what a save writes and a read gives back.

#include "SchemeFileTestSupport.h"
#include "scheme/SchemeComparison.h"

#include <gtest/gtest.h>

#include <functional>

using namespace SchemeFileTestSupport;

namespace
{
// Colours A, B, Dup, Dup (the two "Dup" with other values); groups "One"
// holding A and the first Dup, and "Two" holding B.
void buildScheme (SchemeModel& model)
{
    addColours (model, { { "A", 0xff112233 }, { "B", 0x80445566 }, { "Dup", 0xff000001 }, { "Dup", 0xff000002 } });
    addGroup (model, "One", { 0, 2 });
    addGroup (model, "Two", { 1 });
}

// The difference found after one change to an otherwise equal copy.
juce::String differenceAfter (const std::function<void (SchemeModel&)>& change)
{
    SchemeModel a, b;
    buildScheme (a);
    buildScheme (b);
    change (b);
    EXPECT_EQ (SchemeComparison::sameScheme (a, b), SchemeComparison::firstDifference (a, b).isEmpty());
    EXPECT_EQ (SchemeComparison::firstDifference (b, a).isEmpty(), SchemeComparison::firstDifference (a, b).isEmpty());
    return SchemeComparison::firstDifference (a, b);
}

void swapLastTwoColours (SchemeModel& model)
{
    // Rebuilt, as colours cannot be moved.
    model.clear();
    addColours (model, { { "A", 0xff112233 }, { "B", 0x80445566 }, { "Dup", 0xff000002 }, { "Dup", 0xff000001 } });
}
} // namespace

TEST (SchemeComparison, EqualSchemesAreTheSame)
{
    EXPECT_EQ (differenceAfter ([] (SchemeModel&) {}), "");

    SchemeModel empty, alsoEmpty;
    EXPECT_TRUE (SchemeComparison::sameScheme (empty, alsoEmpty));
}

TEST (SchemeComparison, EveryPartOfTheSchemeCounts)
{
    EXPECT_TRUE (differenceAfter ([] (SchemeModel& m)
                                  { m.getColour (1)->colour = juce::Colour (0x81445566); })
                     .startsWith ("colour 1 "));
    EXPECT_TRUE (differenceAfter ([] (SchemeModel& m)
                                  { addColour (m, "C", 0); })
                     .startsWith ("colour count"));
    EXPECT_TRUE (differenceAfter ([] (SchemeModel& m)
                                  {
                                      m.clear();
                                      addColours (m, { { "A", 0xff112233 }, { "b", 0x80445566 }, { "Dup", 0xff000001 }, { "Dup", 0xff000002 } }); })
                     .startsWith ("colour 1: name"));
    EXPECT_TRUE (differenceAfter (swapLastTwoColours).startsWith ("colour 2 "));

    EXPECT_TRUE (differenceAfter ([] (SchemeModel& m)
                                  { m.getGroup (1)->setName ("Two "); })
                     .startsWith ("group 1: name"));
    EXPECT_TRUE (differenceAfter ([] (SchemeModel& m)
                                  { m.addGroup ("Three"); })
                     .startsWith ("group count"));
    EXPECT_TRUE (differenceAfter ([] (SchemeModel& m)
                                  {
                                      m.getGroup (0)->setName ("Two");
                                      m.getGroup (1)->setName ("One"); })
                     .startsWith ("group 0: name"));

    // Members: one more, another colour, another order.
    EXPECT_TRUE (differenceAfter ([] (SchemeModel& m)
                                  { m.getGroup (1)->addColour (*m.getColour (0)); })
                     .startsWith ("group 1: member count"));
    EXPECT_EQ (differenceAfter ([] (SchemeModel& m)
                                {
                                    m.deleteGroup (1);
                                    addGroup (m, "Two", { 0 }); }),
               "group 1, member 0: \"B\" != \"A\"");
    EXPECT_TRUE (differenceAfter ([] (SchemeModel& m)
                                  {
                                      m.deleteGroup (1);
                                      m.deleteGroup (0);
                                      addGroup (m, "One", { 2, 0 });
                                      addGroup (m, "Two", { 1 }); })
                     .startsWith ("group 0, member 0"));
}

TEST (SchemeComparison, TweaksInProgressAreNoPartOfTheScheme)
{
    EXPECT_EQ (differenceAfter ([] (SchemeModel& m)
                                {
                                    m.getGroup (0)->setRedOffset (40);
                                    m.getGroup (1)->invertColours(); }),
               "");
}

TEST (SchemeComparison, MembersCountByNameOnceEach)
{
    // The second "Dup" as a member reads back as the first, and both "Dup"
    // records as members read back as one.
    EXPECT_EQ (differenceAfter ([] (SchemeModel& m)
                                { m.getGroup (0)->addColour (*m.getColour (3)); }),
               "");

    SchemeModel a, b;
    buildScheme (a);
    buildScheme (b);
    b.deleteGroup (1);
    addGroup (b, "Two", { 1, 3 }); // B and the second "Dup"
    a.getGroup (1)->addColour (*a.getColour (2)); // B and the first "Dup"
    EXPECT_TRUE (SchemeComparison::sameScheme (a, b)) << SchemeComparison::firstDifference (a, b);
}

TEST (SchemeComparison, ASchemeAndItsSavedFileAreTheSame)
{
    SchemeModel model;
    buildScheme (model);
    model.getGroup (0)->addColour (*model.getColour (3));
    model.addGroup ("Empty");
    ASSERT_EQ (model.getGroup (0)->getNumMembers(), 3);

    SchemeModel readBack;
    ASSERT_TRUE (readText (writeModel (model), readBack));
    EXPECT_EQ (readBack.getGroup (0)->getNumMembers(), 2);
    EXPECT_EQ (SchemeComparison::firstDifference (model, readBack), "");

    // ...while the file of a scheme changed since does not read back as it.
    const auto saved = writeModel (model);
    model.getColour (3)->colour = juce::Colour (0xff000003);
    SchemeModel older;
    ASSERT_TRUE (readText (saved, older));
    EXPECT_FALSE (SchemeComparison::sameScheme (model, older));
}
