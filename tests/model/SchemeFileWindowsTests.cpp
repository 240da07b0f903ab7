// Scheme files under Windows paths: a drive letter, either separator, names
// in other scripts. The bytes are the Linux program's.

#include "SchemeFileTestSupport.h"
#include "schemefile/SchemeFile.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest.h>

using namespace SchemeFileTestSupport;
using testkit::bytesOf;

TEST (SchemeFileWindows, OpensTheSameFileThroughEitherSeparatorAndSavesItToTheSameBytes)
{
    const auto original = dataFile ("written.calvastrascheme");
    const auto path = original.getFullPathName();
    ASSERT_EQ (path[1], ':') << "a path with a drive letter: " << path;

    SchemeModel throughBackslashes, throughSlashes;
    ASSERT_TRUE (SchemeFile::readSchemeFile (juce::File (path), throughBackslashes));
    ASSERT_TRUE (SchemeFile::readSchemeFile (juce::File (path.replaceCharacter ('\\', '/')), throughSlashes));
    EXPECT_EQ (writeModel (throughBackslashes), writeModel (throughSlashes));

    testkit::TempFolder scratch (juce::String (juce::CharPointer_UTF8 ("Farbschemata \xe8\x89\xb2 ")));
    const auto target = scratch.folder.getChildFile (juce::CharPointer_UTF8 ("Gr\xc3\xbc\xc3\x9f\x65 \xce\xa3\xcf\x87\xce\xad\xce\xb4\xce\xb9\xce\xbf.calvastrascheme"));
    EXPECT_EQ (SchemeFile::writeSchemeFile (target, throughBackslashes).outcome, AtomicFileReplace::Outcome::replaced);
    EXPECT_EQ (bytesOf (target), bytesOf (original));

    SchemeModel readBack;
    ASSERT_TRUE (SchemeFile::readSchemeFile (target, readBack));
    EXPECT_EQ (writeModel (readBack), writeModel (throughBackslashes));
    EXPECT_EQ (scratch.folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1) << "no temporary file is left";
}
