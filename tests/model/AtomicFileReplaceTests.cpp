#include "scheme/AtomicFileReplace.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
struct ScratchFolder
{
    ScratchFolder() { folder.createDirectory(); }
    ~ScratchFolder() { folder.deleteRecursively(); }

    juce::StringArray contents() const
    {
        juce::StringArray names;
        for (auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
            names.add (f.getFileName());
        names.sort (false);
        return names;
    }

    juce::File folder = juce::File::createTempFile ("atomic");
};

bool replace (const juce::File& target, const char* text)
{
    return AtomicFileReplace::replace (target, text, std::strlen (text));
}
} // namespace

TEST (AtomicFileReplace, ReplacesTheBytesAndLeavesNoTemporaryFile)
{
    ScratchFolder scratch;
    auto target = scratch.folder.getChildFile ("Dark Blue.calvastrascheme");

    EXPECT_TRUE (replace (target, "first"));
    EXPECT_EQ (target.loadFileAsString(), "first");

    ASSERT_EQ (::chmod (target.getFullPathName().toRawUTF8(), 0600), 0);
    EXPECT_TRUE (replace (target, "second, longer"));
    EXPECT_EQ (target.loadFileAsString(), "second, longer");

    struct stat info;
    ASSERT_EQ (::stat (target.getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ (info.st_mode & 0777, 0600u) << "the replaced file's permissions are kept";

    EXPECT_EQ (scratch.contents(), juce::StringArray ("Dark Blue.calvastrascheme"));
}

TEST (AtomicFileReplace, WritesThroughASymbolicLink)
{
    ScratchFolder scratch;
    auto real = scratch.folder.getChildFile ("real.calvastrascheme");
    auto link = scratch.folder.getChildFile ("link.calvastrascheme");
    ASSERT_TRUE (real.replaceWithText ("old"));
    ASSERT_TRUE (real.createSymbolicLink (link, true));

    EXPECT_TRUE (replace (link, "new"));
    EXPECT_TRUE (link.isSymbolicLink());
    EXPECT_EQ (real.loadFileAsString(), "new");
    EXPECT_EQ (scratch.contents(), juce::StringArray ("link.calvastrascheme", "real.calvastrascheme"));
}

TEST (AtomicFileReplace, FailuresLeaveEverythingAsItWas)
{
    ScratchFolder scratch;
    auto plainFile = scratch.folder.getChildFile ("plain");
    ASSERT_TRUE (plainFile.replaceWithText ("keep me"));
    auto folderTarget = scratch.folder.getChildFile ("folder.calvastrascheme");
    ASSERT_TRUE (folderTarget.createDirectory());
    ASSERT_TRUE (folderTarget.getChildFile ("inside").replaceWithText ("untouched"));
    auto before = scratch.contents();

    // The parent is a regular file.
    EXPECT_FALSE (replace (plainFile.getChildFile ("x.calvastrascheme"), "new"));
    EXPECT_EQ (plainFile.loadFileAsString(), "keep me");

    // The target is a folder.
    EXPECT_FALSE (replace (folderTarget, "new"));
    EXPECT_TRUE (folderTarget.isDirectory());
    EXPECT_EQ (folderTarget.getChildFile ("inside").loadFileAsString(), "untouched");

    // The folder does not exist.
    auto missing = scratch.folder.getChildFile ("missing");
    EXPECT_FALSE (replace (missing.getChildFile ("x.calvastrascheme"), "new"));
    EXPECT_FALSE (missing.exists());

    EXPECT_EQ (scratch.contents(), before) << "no temporary file left behind";
}
