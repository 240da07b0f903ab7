// The file replace on Linux and macOS: permissions and symbolic links.

#include "AtomicFileReplaceTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using AtomicFileReplace::Outcome;
using AtomicFileReplaceTestSupport::replace;
using AtomicFileReplaceTestSupport::ScratchFolder;

TEST (AtomicFileReplacePosix, TheReplacedFileKeepsItsPermissions)
{
    ScratchFolder scratch;
    auto target = scratch.folder.getChildFile ("Dark Blue.calvastrascheme");
    ASSERT_EQ (replace (target, "first"), Outcome::replaced);

    for (mode_t mode : { 0600, 0640, 0664 })
    {
        ASSERT_EQ (::chmod (target.getFullPathName().toRawUTF8(), mode), 0);
        EXPECT_EQ (replace (target, "second, longer"), Outcome::replaced);
        EXPECT_EQ (target.loadFileAsString(), "second, longer");

        struct stat info;
        ASSERT_EQ (::stat (target.getFullPathName().toRawUTF8(), &info), 0);
        EXPECT_EQ (info.st_mode & 0777, mode) << "the replaced file's permissions are kept";
    }

    // Without a single write permission the file is read-only, for root too.
    ASSERT_EQ (::chmod (target.getFullPathName().toRawUTF8(), 0444), 0);
    EXPECT_EQ (replace (target, "third"), Outcome::targetReadOnly);
    EXPECT_EQ (target.loadFileAsString(), "second, longer");

    EXPECT_EQ (scratch.contents(), juce::StringArray ("Dark Blue.calvastrascheme"));
}

TEST (AtomicFileReplacePosix, WritesThroughASymbolicLink)
{
    ScratchFolder scratch;
    auto real = scratch.folder.getChildFile ("real.calvastrascheme");
    auto link = scratch.folder.getChildFile ("link.calvastrascheme");
    ASSERT_TRUE (real.replaceWithText ("old"));
    ASSERT_TRUE (real.createSymbolicLink (link, true));

    EXPECT_EQ (replace (link, "new"), Outcome::replaced);
    EXPECT_TRUE (link.isSymbolicLink());
    EXPECT_EQ (real.loadFileAsString(), "new");
    EXPECT_EQ (scratch.contents(), juce::StringArray ("link.calvastrascheme", "real.calvastrascheme"));
}
