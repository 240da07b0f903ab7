#pragma once

// The replace called on text, for the tests of the file replace on every platform.

#include "schemefile/AtomicFileReplace.h"
#include "support/model/TempFolder.h"

#include <cstring>

namespace AtomicFileReplaceTestSupport
{
using ScratchFolder = testkit::TempFolder;

inline AtomicFileReplace::Outcome replace (const juce::File& target, const char* text)
{
    return AtomicFileReplace::replace (target, text, std::strlen (text)).outcome;
}
} // namespace AtomicFileReplaceTestSupport
