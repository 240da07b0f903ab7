#pragma once

#include "scheme/SchemeModel.h"

/** Reads a scheme file: bytes to XML document (pugixml) to model. */
namespace SchemeReader
{
/** Fills an empty model from a file's bytes: UTF-16 with a byte-order mark,
    else UTF-8 (with or without a mark), else Windows-1252, as JUCE decodes
    files. False, with the model empty, when the bytes are not a well-formed
    XML document with a root element. A root other than COLOURS reads nothing. */
bool read (juce::MemoryBlock bytes, SchemeModel& model);
} // namespace SchemeReader
