// OutputDebugStringW: the text as UTF-8 on standard error, or to a test's sink.
#include <cstdio>
#include <mutex>

#include "kernel/utf.h"
#include "pda/kernel.h"
#include "pda/testing/kernel.h"

namespace {

struct DebugOutput {
  std::mutex mutex;
  pda::DebugOutputSink sink;
};

DebugOutput& Output() {
  static DebugOutput* const output = new DebugOutput;  // never destroyed
  return *output;
}

}  // namespace

namespace pda {
void SetDebugOutputSinkForTesting(DebugOutputSink sink) {
  DebugOutput& o = Output();
  std::lock_guard lock(o.mutex);
  o.sink = std::move(sink);
}
}  // namespace pda

void OutputDebugStringW(LPCWSTR text) {
  if (text == nullptr) return;
  const std::u16string_view wide(text);
  DebugOutput& o = Output();
  // One lock for both paths, so lines from several threads never interleave.
  std::lock_guard lock(o.mutex);
  if (o.sink) {
    o.sink(wide);
    return;
  }
  const std::string utf8 = pda::Utf16ToUtf8(wide);
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}
