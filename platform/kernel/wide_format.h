// The printf engine behind StringCchPrintfW and wsprintfW.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

#include "pda/types.h"

namespace pda {

// Formats `format` with the arguments. Stops once the text is longer than `limit` characters,
// since the caller cuts it there anyway (so a huge width cannot run away with memory).
std::u16string FormatWide(const char16_t* format, std::va_list& arguments, std::size_t limit);

}  // namespace pda
