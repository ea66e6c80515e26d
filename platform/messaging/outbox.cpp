// The outbox: a sent message becomes one file in \Outbox, written whole under a temporary name
// and then renamed to a name no other message has (the rename never replaces).
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "kernel/utf.h"
#include "messaging/compose_send.h"
#include "messaging/eml_format.h"
#include "pda/storage.h"

namespace pda::messaging {
namespace {

constexpr char16_t kOutbox[] = u"\\Outbox";
constexpr int kMostNamesPerInstant = 100;  // -00 to -99

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// "20090109T204124123Z-00.eml": sorted by name is sorted by time, then by order of sending.
std::u16string FinalName(const SYSTEMTIME& t, int sequence, bool sms) {
  char name[64];
  std::snprintf(name, sizeof name, "%04u%02u%02uT%02u%02u%02u%03uZ-%02d.%s", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, sequence,
                sms ? "sms" : "eml");
  return Wide(name);
}

std::u16string TemporaryName() {
  static std::atomic<unsigned> counter{0};
  return Wide(".sending-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
              ".tmp");
}

HRESULT LastResult() {
  const DWORD error = GetLastError();
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// Writes the bytes to a new file and puts them on the disk.
HRESULT WriteNewFile(const std::u16string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastResult();
  DWORD written = 0;
  HRESULT result = S_OK;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size() || !FlushFileBuffers(file))
    result = LastResult();
  CloseHandle(file);
  return result;
}

}  // namespace

HRESULT OutboxFileBytes(const ComposedMessage& message, const SYSTEMTIME& utc,
                        std::string* bytes) {
  if (message.kind == ComposedMessage::Kind::Email) return FormatEmail(message, utc, bytes);
  *bytes = "To: " + Utf16ToUtf8(message.to) + "\r\n\r\n" + Utf16ToUtf8(message.body);
  return S_OK;
}

HRESULT WriteToOutbox(const ComposedMessage& message, std::u16string* finalPath) {
  SYSTEMTIME now;
  GetSystemTime(&now);
  std::string bytes;
  if (const HRESULT made = OutboxFileBytes(message, now, &bytes); FAILED(made)) return made;

  const std::u16string folder = kOutbox;
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return LastResult();
  const std::u16string temporary = folder + u"\\" + TemporaryName();
  if (const HRESULT written = WriteNewFile(temporary, bytes); FAILED(written)) {
    DeleteFileW(temporary.c_str());
    return written;
  }
  const bool sms = message.kind == ComposedMessage::Kind::Sms;
  for (int sequence = 0; sequence < kMostNamesPerInstant; ++sequence) {
    const std::u16string path = folder + u"\\" + FinalName(now, sequence, sms);
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
      if (finalPath) *finalPath = path;
      return S_OK;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  const HRESULT failed = LastResult();
  DeleteFileW(temporary.c_str());
  return failed;
}

}  // namespace pda::messaging
