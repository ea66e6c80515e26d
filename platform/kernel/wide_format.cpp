// The printf engine on wide text.
//
// Conversion specs are parsed here; each numeric conversion is handed to the C library's
// snprintf with a rebuilt narrow conversion, so digits and rounding are exactly the C library's.
// Strings and characters are done here, since they are UTF-16 (%s, %ls, %c) or UTF-8 (%hs,
// %S, %hc) text.
//
// Size prefixes follow the device, not the host: 'l' is 32 bits (LONG, DWORD), "ll" and "I64"
// are 64 bits, 'z' and 'I' are size_t, 'L' on a float is a double.
//
// Sections: conversion parsing | padding | numbers | text | the engine
#include "kernel/wide_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "kernel/utf.h"

namespace pda {
namespace {

// ---- conversion parsing ----------------------------------------------------------------------------
enum class Size { Default, Char, Short, Long32, Long64, SizeT, IntMax, PtrDiff, LongDouble, Wide };

struct Conversion {
  bool left = false, plus = false, space = false, zero = false, alternate = false;
  long long width = -1;      // -1: none
  long long precision = -1;  // -1: none
  Size size = Size::Default;
  char16_t conversion = 0;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads digits, saturating well above anything a buffer can hold.
long long ReadNumber(const char16_t*& p) {
  long long value = 0;
  while (IsDigit(*p)) {
    value = std::min<long long>(value * 10 + (*p - u'0'), INT32_MAX);
    ++p;
  }
  return value;
}

// Parses the conversion after '%' up to and including the conversion letter. Returns false when the
// format ends inside the conversion.
bool ParseConversion(const char16_t*& p, std::va_list& arguments, Conversion& conv) {
  for (;; ++p) {
    if (*p == u'-') conv.left = true;
    else if (*p == u'+') conv.plus = true;
    else if (*p == u' ') conv.space = true;
    else if (*p == u'0') conv.zero = true;
    else if (*p == u'#') conv.alternate = true;
    else break;
  }
  if (*p == u'*') {
    ++p;
    const int width = va_arg(arguments, int);
    conv.width = width < 0 ? -static_cast<long long>(width) : width;
    if (width < 0) conv.left = true;
  } else if (IsDigit(*p)) {
    conv.width = ReadNumber(p);
  }
  if (*p == u'.') {
    ++p;
    if (*p == u'*') {
      ++p;
      const int precision = va_arg(arguments, int);
      conv.precision = precision < 0 ? -1 : precision;  // a negative one counts as none
    } else {
      conv.precision = ReadNumber(p);
    }
  }
  // Stops at the first difference, so it never reads past the terminator.
  auto follows = [&p](std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
      if (p[i] != text[i]) return false;
    return true;
  };
  if (follows(u"hh")) conv.size = Size::Char, p += 2;
  else if (follows(u"h")) conv.size = Size::Short, p += 1;
  else if (follows(u"ll")) conv.size = Size::Long64, p += 2;
  else if (follows(u"l")) conv.size = Size::Long32, p += 1;
  else if (follows(u"I64")) conv.size = Size::Long64, p += 3;
  else if (follows(u"I32")) conv.size = Size::Long32, p += 3;
  else if (follows(u"I")) conv.size = Size::SizeT, p += 1;
  else if (follows(u"z")) conv.size = Size::SizeT, p += 1;
  else if (follows(u"j")) conv.size = Size::IntMax, p += 1;
  else if (follows(u"t")) conv.size = Size::PtrDiff, p += 1;
  else if (follows(u"L")) conv.size = Size::LongDouble, p += 1;
  else if (follows(u"w")) conv.size = Size::Wide, p += 1;
  if (*p == 0) return false;
  conv.conversion = *p++;
  return true;
}

// ---- padding -----------------------------------------------------------------------------------
void AppendPadded(std::u16string& out, std::u16string_view text, const Conversion& conv) {
  const std::size_t width = conv.width > 0 ? static_cast<std::size_t>(conv.width) : 0;
  const std::size_t pad = width > text.size() ? width - text.size() : 0;
  if (!conv.left) out.append(pad, u' ');
  out.append(text);
  if (conv.left) out.append(pad, u' ');
}

// ---- numbers -----------------------------------------------------------------------------------
// The narrow conv for snprintf: flags, width, precision, then `tail` (length and conversion).
std::string NarrowSpec(const Conversion& conv, std::string_view tail, std::size_t limit) {
  // Beyond the limit only padding or zeros could follow, so a bound keeps snprintf small
  // without changing what the caller sees (doubles have no digits past ~1100 places).
  const long long bound = static_cast<long long>(std::min<std::size_t>(limit, INT32_MAX / 2)) + 2048;
  std::string narrow = "%";
  if (conv.left) narrow += '-';
  if (conv.plus) narrow += '+';
  if (conv.space) narrow += ' ';
  if (conv.zero) narrow += '0';
  if (conv.alternate) narrow += '#';
  if (conv.width >= 0) narrow += std::to_string(std::min(conv.width, bound));
  if (conv.precision >= 0) narrow += '.' + std::to_string(std::min(conv.precision, bound));
  narrow += tail;
  return narrow;
}

template <class Value>
void AppendNumber(std::u16string& out, const std::string& narrowSpec, Value value) {
  char small[128];
  const int length = std::snprintf(small, sizeof small, narrowSpec.c_str(), value);
  if (length < 0) return;
  if (static_cast<std::size_t>(length) < sizeof small) {
    out.append(small, small + length);  // ASCII only: digits, signs, letters, spaces
    return;
  }
  std::string big(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(big.data(), big.size(), narrowSpec.c_str(), value);
  out.append(big.begin(), big.begin() + length);
}

long long SignedArgument(std::va_list& arguments, Size size) {
  switch (size) {
    case Size::Char: return static_cast<signed char>(va_arg(arguments, int));
    case Size::Short: return static_cast<short>(va_arg(arguments, int));
    case Size::Long64: return va_arg(arguments, long long);
    case Size::SizeT: return static_cast<long long>(va_arg(arguments, std::size_t));
    case Size::IntMax: return static_cast<long long>(va_arg(arguments, std::intmax_t));
    case Size::PtrDiff: return static_cast<long long>(va_arg(arguments, std::ptrdiff_t));
    default: return va_arg(arguments, int);
  }
}

unsigned long long UnsignedArgument(std::va_list& arguments, Size size) {
  switch (size) {
    case Size::Char: return static_cast<unsigned char>(va_arg(arguments, unsigned));
    case Size::Short: return static_cast<unsigned short>(va_arg(arguments, unsigned));
    case Size::Long64: return va_arg(arguments, unsigned long long);
    case Size::SizeT: return va_arg(arguments, std::size_t);
    case Size::IntMax: return static_cast<unsigned long long>(va_arg(arguments, std::uintmax_t));
    case Size::PtrDiff: return static_cast<unsigned long long>(va_arg(arguments, std::ptrdiff_t));
    default: return va_arg(arguments, unsigned);
  }
}

// ---- text --------------------------------------------------------------------------------------
// Narrow text is in the system code page (UTF-8); at most `maxBytes` bytes are read.
std::u16string FromNarrow(const char* text, std::size_t maxBytes) {
  return Utf8ToUtf16({text, strnlen(text, maxBytes)});
}

std::u16string_view WideUpTo(const char16_t* text, std::size_t maxChars) {
  std::size_t n = 0;
  while (n < maxChars && text[n] != 0) ++n;
  return {text, n};
}

void AppendString(std::u16string& out, std::va_list& arguments, const Conversion& conv, bool narrow) {
  const std::size_t max = conv.precision >= 0 ? static_cast<std::size_t>(conv.precision) : SIZE_MAX;
  if (narrow) {
    const char* text = va_arg(arguments, const char*);
    AppendPadded(out, text ? FromNarrow(text, max) : u"(null)", conv);
  } else {
    const char16_t* text = va_arg(arguments, const char16_t*);
    AppendPadded(out, text ? WideUpTo(text, max) : std::u16string_view(u"(null)"), conv);
  }
}

void AppendCharacter(std::u16string& out, std::va_list& arguments, const Conversion& conv, bool narrow) {
  const int value = va_arg(arguments, int);
  char16_t c = static_cast<char16_t>(value);
  if (narrow) {
    const auto byte = static_cast<unsigned char>(value);
    c = byte < 0x80 ? byte : kReplacementCharacter;  // one byte of UTF-8 is ASCII or nothing
  }
  AppendPadded(out, std::u16string_view(&c, 1), conv);
}

}  // namespace

// ---- the engine --------------------------------------------------------------------------------
std::u16string FormatWide(const char16_t* format, std::va_list& arguments, std::size_t limit) {
  std::u16string out;
  const char16_t* p = format;
  while (*p != 0 && out.size() <= limit) {
    if (*p != u'%') {
      const char16_t* run = p;
      while (*p != 0 && *p != u'%') ++p;
      out.append(run, p);
      continue;
    }
    const char16_t* start = p++;
    if (*p == u'%') {
      out.push_back(u'%');
      ++p;
      continue;
    }
    Conversion conv;
    if (!ParseConversion(p, arguments, conv)) break;
    const bool narrowSize = conv.size == Size::Short || conv.size == Size::Char;
    const bool wideSize = conv.size == Size::Long32 || conv.size == Size::Wide;
    switch (conv.conversion) {
      case u'd':
      case u'i':
        AppendNumber(out, NarrowSpec(conv, "lld", limit), SignedArgument(arguments, conv.size));
        break;
      case u'u':
      case u'o':
      case u'x':
      case u'X': {
        const char tail[] = {'l', 'l', static_cast<char>(conv.conversion), 0};
        AppendNumber(out, NarrowSpec(conv, tail, limit), UnsignedArgument(arguments, conv.size));
        break;
      }
      case u'f':
      case u'F':
      case u'e':
      case u'E':
      case u'g':
      case u'G':
      case u'a':
      case u'A': {
        const char tail[] = {static_cast<char>(conv.conversion), 0};
        AppendNumber(out, NarrowSpec(conv, tail, limit), va_arg(arguments, double));
        break;
      }
      case u'p': {
        // As the device shows pointers: all hex digits, upper case, no "0x".
        Conversion pointer = conv;
        pointer.precision = 2 * sizeof(void*);
        pointer.plus = pointer.space = pointer.zero = pointer.alternate = false;
        AppendNumber(out, NarrowSpec(pointer, "llX", limit),
                     static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(va_arg(arguments, void*))));
        break;
      }
      case u's': AppendString(out, arguments, conv, narrowSize); break;
      case u'S': AppendString(out, arguments, conv, !wideSize); break;
      case u'c': AppendCharacter(out, arguments, conv, narrowSize); break;
      case u'C': AppendCharacter(out, arguments, conv, !wideSize); break;
      default:
        // Unknown conversions, and %n, which writes through a pointer, are shown as written.
        out.append(start, p);
        break;
    }
  }
  return out;
}

}  // namespace pda
