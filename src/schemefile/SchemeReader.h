#pragma once

#include "scheme/SchemeModel.h"

/** Reads a scheme file: bytes to XML document (pugixml) to model. */
namespace SchemeReader
{
/** Told, while a file is read, what the model does not keep as the file has
    it; for reports on a file, not needed to open one. */
class ReadObserver
{
public:
    virtual ~ReadObserver() = default;

    /** Each scheme colour as it is appended, with its colour attribute as
        written (null when it has none). */
    virtual void colourRead (int colourIndex, const char* colourText) = 0;

    /** A group member that does not join its group: no colour (read so far)
        has its name, or the group has that colour already. */
    virtual void memberDropped (int groupIndex, const char* name, bool namesNoColour) = 0;
};

/** Fills an empty model from a file's bytes: UTF-16 with a byte-order mark,
    else UTF-8 (with or without a mark), else Windows-1252, as JUCE decodes
    files. False, with the model empty, when the bytes are not a well-formed
    XML document with a root element. A root other than COLOURS reads nothing.
    Running out of memory throws std::bad_alloc, as any allocation does. */
bool read (juce::MemoryBlock bytes, SchemeModel& model, ReadObserver* observer = nullptr);
} // namespace SchemeReader
