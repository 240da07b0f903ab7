// The rule for names a user types (valid Unicode, never changed on the way
// in), and names read from a file kept exactly through a rename to themselves.

#include "SchemeFileTestSupport.h"
#include "scheme/SchemeNames.h"

#include <gtest/gtest.h>

using namespace SchemeFileTestSupport;

namespace
{
SchemeNames::Typed fromUtf8 (const std::string& bytes) { return SchemeNames::fromUtf8 (bytes.data(), bytes.size()); }
SchemeNames::Typed fromUtf16 (const std::u16string& units) { return SchemeNames::fromUtf16 (units.data(), units.size()); }

std::string utf8Of (const juce::String& text) { return text.toStdString(); }
} // namespace

TEST (SchemeNames, TextTheUserGivesIsTakenExactlyOrRefusedWithTheReason)
{
    // Valid text of every length of UTF-8, pairs from UTF-16 included.
    const std::string valid = "A\xc3\xbc\xe2\x9c\x93\xf0\x9f\x8e\xa8 & <x>";
    EXPECT_EQ (utf8Of (fromUtf8 (valid).text), valid);
    EXPECT_TRUE (fromUtf8 (valid).refusal.isEmpty());
    EXPECT_EQ (utf8Of (fromUtf16 (u"A\u00fc\u2713\U0001F3A8 & <x>").text), valid);
    EXPECT_TRUE (fromUtf16 (u"A\U0001F3A8").refusal.isEmpty());

    // A lone surrogate stays itself (the next character is not taken into
    // it) and is refused; a NUL is refused, nothing after it is dropped silently.
    auto lone = fromUtf16 (u"a\xdc00"
                           u"b");
    EXPECT_EQ (utf8Of (lone.text), "a\xed\xb0\x80"
                                   "b");
    EXPECT_TRUE (lone.refusal.contains ("lone surrogate (U+DC00)")) << lone.refusal;
    lone = fromUtf16 (u"Lone \xd800 mark");
    EXPECT_EQ (utf8Of (lone.text), "Lone \xed\xa0\x80 mark");
    EXPECT_TRUE (lone.refusal.contains ("U+D800"));
    EXPECT_TRUE (fromUtf16 (u"end \xd83c").refusal.contains ("U+D83C"));
    EXPECT_TRUE (fromUtf16 (std::u16string (u"a\0b", 3)).refusal.contains ("NUL"));

    lone = fromUtf8 ("Lone \xed\xa0\x80 mark");
    EXPECT_EQ (utf8Of (lone.text), "Lone \xed\xa0\x80 mark");
    EXPECT_TRUE (lone.refusal.contains ("U+D800"));
    EXPECT_TRUE (fromUtf8 (std::string ("a\0b", 3)).refusal.contains ("NUL"));

    for (const std::string notUtf8 : { "\xff", "a\x80", "\xc3", "\xc0\xaf", "\xe0\x80\xaf", "\xf4\x90\x80\x80", "\xe2\x9c" })
    {
        const auto typed = fromUtf8 (notUtf8);
        EXPECT_TRUE (typed.refusal.contains ("not UTF-8")) << notUtf8;
        EXPECT_TRUE (typed.text.isEmpty());
    }

    EXPECT_TRUE (SchemeNames::refusalFor (juce::String::fromUTF8 ("ok \xf0\x9f\x8e\xa8")).isEmpty());
    EXPECT_TRUE (SchemeNames::refusalFor (lone.text).contains ("U+D800"));
}

TEST (SchemeNames, ANameFromAFileSurvivesRenameToItselfAndSaveByteForByte)
{
    const juce::String file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<COLOURS>\n"
                              "  <COLOUR name=\"Lone &#xD800; mark\" colour=\"ff112233\"/>\n"
                              "  <COLOURGROUPS>\n"
                              "    <COLOURGROUP name=\"Lone &#xD800; mark\">\n"
                              "      <COLOUR name=\"Lone &#xD800; mark\"/>\n"
                              "    </COLOURGROUP>\n"
                              "  </COLOURGROUPS>\n</COLOURS>\n";
    SchemeModel model;
    ASSERT_TRUE (readText (file, model));
    const auto saved = SchemeWriter::write (model);
    auto& group = *model.getGroup (0);

    // What the page or the command line gives back when the name is unchanged.
    const auto shown = fromUtf16 (u"Lone \xd800 mark");
    EXPECT_EQ (shown.text, group.getName());
    EXPECT_FALSE (model.renameGroup (group, shown.text));
    EXPECT_FALSE (model.renameGroup (group, fromUtf8 ("Lone \xed\xa0\x80 mark").text));
    EXPECT_EQ (SchemeWriter::write (model), saved);

    // An edited name with the lone surrogate in it is no name the model takes.
    const auto edited = fromUtf16 (u"Lone \xd800 marks");
    EXPECT_TRUE (edited.refusal.isNotEmpty());
    EXPECT_FALSE (model.renameGroup (group, edited.text));
    EXPECT_EQ (model.addGroup (edited.text), nullptr);
    EXPECT_EQ (SchemeWriter::write (model), saved);

    EXPECT_TRUE (model.renameGroup (group, fromUtf16 (u"Paired \U0001F3A8").text));
    SchemeModel reread;
    const auto bytes = SchemeWriter::write (model);
    ASSERT_TRUE (readBytes (bytes.data(), bytes.size(), reread));
    EXPECT_EQ (utf8Of (reread.getGroup (0)->getName()), "Paired \xf0\x9f\x8e\xa8");
    EXPECT_EQ (reread.getColour (0)->name.toString(), model.getColour (0)->name.toString());
}
