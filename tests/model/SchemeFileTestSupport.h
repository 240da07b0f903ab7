#pragma once

// Models, texts and data files shared by the scheme file tests.

#include "scheme/SchemeModel.h"
#include "schemefile/SchemeReader.h"
#include "schemefile/SchemeWriter.h"
#include "support/model/SchemeBuilders.h"

#include <vector>

namespace SchemeFileTestSupport
{
inline juce::File dataFile (const char* name)
{
    return juce::File (TINTWRIGHT_TEST_DATA).getChildFile (name);
}

inline juce::String fromUtf32 (std::initializer_list<juce::juce_wchar> chars)
{
    juce::String s;
    for (auto c : chars)
        s += c;
    return s;
}

using testkit::addColour;
using testkit::addColours;
using testkit::addGroup;

/** The written file as text (it is plain ASCII). */
inline juce::String writeModel (const SchemeModel& model)
{
    auto bytes = SchemeWriter::write (model);
    return juce::String::fromUTF8 (bytes.data(), (int) bytes.size());
}

/** Reads file bytes; false when they are no document. */
inline bool readBytes (const void* data, size_t size, SchemeModel& model)
{
    return SchemeReader::read (juce::MemoryBlock (data, size), model);
}

/** Reads the text's UTF-8 bytes as a file's. */
inline bool readText (const juce::String& text, SchemeModel& model)
{
    return readBytes (text.toRawUTF8(), text.getNumBytesAsUTF8(), model);
}

/** Each member of the group as the position of its colour in the model. */
inline std::vector<int> memberIndexes (const SchemeModel& model, const ColourGroup& group)
{
    std::vector<int> result;
    for (int m = 0; m < group.getNumMembers(); ++m)
        for (int c = 0; c < model.getNumColours(); ++c)
            if (model.getColour (c) == &group.getMember (m)->getSchemeColour())
                result.push_back (c);
    return result;
}
} // namespace SchemeFileTestSupport
