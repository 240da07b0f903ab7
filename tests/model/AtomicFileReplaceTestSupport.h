#pragma once

// A scratch folder for the tests of the file replace on every platform.

#include "schemefile/AtomicFileReplace.h"

#include <cstring>

namespace AtomicFileReplaceTestSupport
{
struct ScratchFolder
{
    ScratchFolder() { folder.createDirectory(); }
    ~ScratchFolder()
    {
        for (auto& f : folder.findChildFiles (juce::File::findFiles, true))
            f.setReadOnly (false);

        folder.deleteRecursively();
    }

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

inline AtomicFileReplace::Outcome replace (const juce::File& target, const char* text, const AtomicFileReplace::Faults* faults = nullptr)
{
    return AtomicFileReplace::replace (target, text, std::strlen (text), faults);
}
} // namespace AtomicFileReplaceTestSupport
