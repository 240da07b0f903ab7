// The scheme document: loading, saving and the recent-files bookkeeping.

#include "document/CalvastraScheme.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest.h>

using testkit::addColours;
using testkit::schemeText;
using testkit::TempFolder;

namespace
{
juce::StringArray recentPaths (const juce::RecentlyOpenedFilesList& list)
{
    juce::StringArray paths;

    for (int i = 0; i < list.getNumFiles(); ++i)
        paths.add (list.getFile (i).getFullPathName());

    return paths;
}
} // namespace

TEST (CalvastraSchemeTest, LoadReadsTheSchemeTitlesItAndRecordsTheFile)
{
    TempFolder temp;
    const auto file = temp.write ("Dark Blue.calvastrascheme", schemeText());

    juce::RecentlyOpenedFilesList recent;
    CalvastraScheme doc;
    doc.setRecentlyOpenedFiles (&recent);

    EXPECT_EQ (doc.getDocumentTitle(), juce::String());
    EXPECT_EQ (doc.getLastDocumentOpened(), juce::File());

    ASSERT_TRUE (doc.loadFrom (file, false).wasOk());

    EXPECT_EQ (doc.getDocumentTitle(), "Dark Blue");
    EXPECT_EQ (doc.getFile(), file);
    ASSERT_EQ (doc.getNumColours(), 3);
    EXPECT_EQ (doc.getColour (1)->colour.getARGB(), 0xffd3d3d3u);
    ASSERT_EQ (doc.getNumGroups(), 1);
    EXPECT_EQ (doc.getGroup (0)->getNumMembers(), 2);

    EXPECT_EQ (recentPaths (recent), juce::StringArray (file.getFullPathName()));
    EXPECT_EQ (doc.getLastDocumentOpened(), file);

    // Opening it again lists it once; the model is read afresh, not appended to.
    ASSERT_TRUE (doc.loadFrom (file, false).wasOk());
    EXPECT_EQ (recent.getNumFiles(), 1);
    EXPECT_EQ (doc.getNumColours(), 3);
    EXPECT_EQ (doc.getNumGroups(), 1);
}

TEST (CalvastraSchemeTest, FailedLoadsReportAndLeaveTheFileAndRecentListAlone)
{
    TempFolder temp;
    const auto good = temp.write ("Good.calvastrascheme", schemeText());

    juce::RecentlyOpenedFilesList recent;
    CalvastraScheme doc;
    doc.setRecentlyOpenedFiles (&recent);
    ASSERT_TRUE (doc.loadFrom (good, false).wasOk());

    const auto missing = doc.loadFrom (temp.folder.getChildFile ("Gone.calvastrascheme"), false);
    EXPECT_TRUE (missing.failed());

    const std::pair<const char*, juce::String> broken[] = {
        { "Text.calvastrascheme", "this is not XML at all" },
        { "Empty.calvastrascheme", "" },
        { "Unclosed.calvastrascheme", "<COLOURS><COLOUR name=\"a\"" },
        { "Deep.calvastrascheme", testkit::deeplyNestedText() },
    };

    for (const auto& [name, text] : broken)
    {
        SCOPED_TRACE (name);
        const auto result = doc.loadFrom (temp.write (name, text), false);

        EXPECT_EQ (result.getErrorMessage(), "File contains no valid XML!");
        EXPECT_EQ (doc.getNumColours(), 0);
    }

    EXPECT_EQ (doc.getFile(), good);
    EXPECT_EQ (recentPaths (recent), juce::StringArray (good.getFullPathName()));
}

TEST (CalvastraSchemeTest, AWellFormedFileWithAnotherRootOpensEmpty)
{
    TempFolder temp;
    const auto file = temp.write ("Settings.xml", "<SETTINGS><COLOUR name=\"a\" colour=\"ff000000\"/></SETTINGS>");

    CalvastraScheme doc;
    ASSERT_TRUE (doc.loadFrom (file, false).wasOk());
    EXPECT_EQ (doc.getNumColours(), 0);
    EXPECT_EQ (doc.getNumGroups(), 0);
    EXPECT_EQ (doc.getDocumentTitle(), "Settings");
}

TEST (CalvastraSchemeTest, SaveWritesBesideTheOpenedFileWithTheSchemeExtension)
{
    TempFolder temp;
    const auto opened = temp.write ("Night.xml", schemeText());
    juce::MemoryBlock openedBytes;
    opened.loadFileAsData (openedBytes);

    CalvastraScheme doc;
    ASSERT_TRUE (doc.loadFrom (opened, false).wasOk());
    doc.getColour (0)->colour = juce::Colour (0xff445566);
    doc.getGroup (0)->setName ("Renamed");

    EXPECT_EQ (doc.save (false, false), juce::FileBasedDocument::savedOk);

    const auto written = temp.folder.getChildFile ("Night.calvastrascheme");
    ASSERT_TRUE (written.existsAsFile());

    juce::MemoryBlock afterBytes;
    opened.loadFileAsData (afterBytes);
    EXPECT_EQ (afterBytes, openedBytes);

    CalvastraScheme reread;
    ASSERT_TRUE (reread.loadFrom (written, false).wasOk());
    ASSERT_EQ (reread.getNumColours(), 3);
    EXPECT_EQ (reread.getColour (0)->colour.getARGB(), 0xff445566u);
    EXPECT_EQ (reread.getColour (2)->colour.getARGB(), 0x80000000u);
    ASSERT_EQ (reread.getNumGroups(), 1);
    EXPECT_EQ (reread.getGroup (0)->getName(), "Renamed");
    EXPECT_EQ (reread.getGroup (0)->getNumMembers(), 2);

    // A name without an extension gets one; the title follows the saved name.
    EXPECT_TRUE (doc.saveDocument (temp.folder.getChildFile ("Plain")).wasOk());
    EXPECT_TRUE (temp.folder.getChildFile ("Plain.calvastrascheme").existsAsFile());
    EXPECT_FALSE (temp.folder.getChildFile ("Plain").exists());
    EXPECT_EQ (doc.getDocumentTitle(), "Plain");
}

TEST (CalvastraSchemeTest, RecentFilesAreNewestFirstAtMostTenAndCaseInsensitive)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("recent");

    juce::RecentlyOpenedFilesList recent;
    CalvastraScheme doc;
    doc.setRecentlyOpenedFiles (&recent);

    for (int i = 0; i < 12; ++i)
        doc.setLastDocumentOpened (folder.getChildFile ("s" + juce::String (i) + ".calvastrascheme"));

    ASSERT_EQ (recent.getNumFiles(), 10);
    EXPECT_EQ (recent.getFile (0).getFileName(), "s11.calvastrascheme");
    EXPECT_EQ (recent.getFile (9).getFileName(), "s2.calvastrascheme");

    // Reopening a listed file moves it to the front, under the spelling used now.
    doc.setLastDocumentOpened (folder.getChildFile ("S5.CalvastraScheme"));

    ASSERT_EQ (recent.getNumFiles(), 10);
    EXPECT_EQ (recent.getFile (0).getFileName(), "S5.CalvastraScheme");
    EXPECT_EQ (recent.getFile (1).getFileName(), "s11.calvastrascheme");
    EXPECT_EQ (recent.getFile (9).getFileName(), "s2.calvastrascheme");

    int fives = 0;
    for (const auto& path : recentPaths (recent))
        fives += path.endsWithIgnoreCase ("s5.calvastrascheme") ? 1 : 0;
    EXPECT_EQ (fives, 1);

    EXPECT_EQ (doc.getLastDocumentOpened().getFileName(), "S5.CalvastraScheme");

    CalvastraScheme unlisted;
    unlisted.setLastDocumentOpened (folder.getChildFile ("x.calvastrascheme"));
    EXPECT_EQ (unlisted.getLastDocumentOpened(), juce::File());
}

TEST (CalvastraSchemeTest, FailedWritesReportAndLeaveTheTargetAlone)
{
    TempFolder temp;
    const juce::String failure ("Could not write the scheme file! It was left as it was.");

    CalvastraScheme doc;
    addColours (doc, 2000);

    // The message, and under it the system's reason with the step.
    const auto expectFailure = [&] (const juce::File& target)
    {
        const auto message = doc.saveDocument (target).getErrorMessage();
        EXPECT_EQ (message.upToFirstOccurrenceOf ("\n", false, false), failure);
        EXPECT_TRUE (message.fromFirstOccurrenceOf ("\n", false, false).contains (" (while ")) << message;
    };

    // A target whose folder is a regular file.
    const auto plainFile = temp.write ("NotAFolder", "x");
    expectFailure (plainFile.getChildFile ("S.calvastrascheme"));

    // A target that is an existing folder, with a file in it.
    const auto folderTarget = temp.folder.getChildFile ("Folder.calvastrascheme");
    folderTarget.getChildFile ("inside.txt").create();
    expectFailure (folderTarget);
    EXPECT_TRUE (folderTarget.getChildFile ("inside.txt").existsAsFile());
}

TEST (CalvastraSchemeTest, AReadOnlyFileIsNotSavedOverAndTheMessageSaysWhy)
{
    TempFolder temp;
    const auto file = temp.write ("Locked.calvastrascheme", schemeText());
    juce::MemoryBlock oldBytes;
    file.loadFileAsData (oldBytes);

    CalvastraScheme doc;
    ASSERT_TRUE (doc.loadFrom (file, false).wasOk());
    doc.getColour (0)->colour = juce::Colour (0xff445566);
    doc.setChangedFlag (true);
    ASSERT_TRUE (file.setReadOnly (true));

    EXPECT_EQ (doc.saveDocument (file).getErrorMessage(), "The file is read-only. It was left as it was.");
    EXPECT_EQ (doc.save (false, false), juce::FileBasedDocument::failedToWriteToFile);
    EXPECT_TRUE (doc.hasChangedSinceSaved());

    juce::MemoryBlock bytesNow;
    file.loadFileAsData (bytesNow);
    EXPECT_EQ (bytesNow, oldBytes);

    ASSERT_TRUE (file.setReadOnly (false));
    EXPECT_EQ (doc.save (false, false), juce::FileBasedDocument::savedOk);
    EXPECT_TRUE (file.loadFileAsString().contains ("ff445566"));
}
