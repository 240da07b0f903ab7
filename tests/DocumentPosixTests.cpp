// Saving the scheme document when the disk fills up: a POSIX file-size limit
// stands for the full disk.

#include "document/CalvastraScheme.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using testkit::addColours;
using testkit::schemeText;
using testkit::TempFolder;

namespace
{
/** Lowers the process's file-size limit so that writing a larger file fails
    with EFBIG, for root too (a read-only folder does not stop root). */
struct ScopedFileSizeLimit
{
    explicit ScopedFileSizeLimit (rlim_t bytes)
    {
        getrlimit (RLIMIT_FSIZE, &previous);
        previousHandler = std::signal (SIGXFSZ, SIG_IGN);

        auto limited = previous;
        limited.rlim_cur = bytes;
        setrlimit (RLIMIT_FSIZE, &limited);
    }

    ~ScopedFileSizeLimit()
    {
        setrlimit (RLIMIT_FSIZE, &previous);
        std::signal (SIGXFSZ, previousHandler);
    }

    rlimit previous {};
    void (*previousHandler) (int) = nullptr;
};
} // namespace

// A disk that fills up halfway through: the old file keeps every byte and no
// temporary file is left behind.
TEST (CalvastraSchemeTest, AWriteThatFillsTheDiskLeavesTheTargetAsItWas)
{
    TempFolder temp;
    const juce::String failure ("Could not write the scheme file! It was left as it was.\nFile too large (while writing)");

    CalvastraScheme doc;
    const auto oldText = schemeText();
    const auto target = temp.write ("Kept.calvastrascheme", oldText);
    juce::MemoryBlock oldBytes;
    target.loadFileAsData (oldBytes);

    ASSERT_TRUE (doc.loadFrom (target, false).wasOk());
    addColours (doc, 2000);

    {
        ScopedFileSizeLimit limit (8192);
        EXPECT_EQ (doc.save (false, false), juce::FileBasedDocument::failedToWriteToFile);
        EXPECT_EQ (doc.saveDocument (target).getErrorMessage(), failure);
    }

    juce::MemoryBlock bytesNow;
    target.loadFileAsData (bytesNow);
    EXPECT_EQ (bytesNow, oldBytes);
    EXPECT_EQ (doc.getFile(), target);
    EXPECT_EQ (doc.getDocumentTitle(), "Kept");

    const auto left = temp.folder.findChildFiles (juce::File::findFilesAndDirectories, false);
    EXPECT_EQ (left.size(), 1) << "only Kept may remain";

    // With the limit lifted the same save goes through.
    EXPECT_EQ (doc.save (false, false), juce::FileBasedDocument::savedOk);
    EXPECT_GT (target.getSize(), (juce::int64) 8192);
}
