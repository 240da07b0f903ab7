#pragma once

#include "scheme/SchemeModel.h"

#include <string>

/** Writes a scheme file straight from the model. */
namespace SchemeWriter
{
/** The exact bytes of the file: the XML declaration, two empty lines, one
    element per line indented by two spaces a level, CRLF line ends, and every
    character outside a small ASCII set written as a reference, so the file is
    plain ASCII and reads back unchanged. */
std::string write (const SchemeModel& model);
} // namespace SchemeWriter
