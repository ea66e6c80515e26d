// The GPS source's status (see gps_status.h).
#include "gps_status.h"

#include <cstdio>
#include <mutex>

namespace pda::gps {
namespace {

struct Registry {
  std::mutex mutex;  // the status
  SourceStatus status{SourceState::NoSource, "GPS off"};
  bool reported = false;  // a state has been written since the last reset
  // Held while the callback runs, so that clearing it waits for a call under way.
  std::mutex callbackMutex;
  SourceStatusCallback callback = nullptr;
  void* context = nullptr;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

const char* StateName(SourceState s) {
  switch (s) {
    case SourceState::NoSource:
      return "no source";
    case SourceState::Searching:
      return "searching";
    case SourceState::Fix:
      return "fix";
  }
  return "?";
}

void Update(SourceState state, const std::string& text, bool print) {
  Registry& r = TheRegistry();
  {
    std::lock_guard lock(r.mutex);
    if (r.status.state == state && r.status.text == text && (r.reported || !print)) return;
    const bool stateChanged = r.status.state != state || !r.reported;
    r.status = SourceStatus{state, text};
    if (print && stateChanged) {
      std::fprintf(stderr, "GPS %s: %s\n", StateName(state), text.c_str());
      r.reported = true;
    }
    if (!print) r.reported = false;
  }
  std::lock_guard lock(r.callbackMutex);
  if (r.callback) r.callback(r.context);
}

}  // namespace

SourceStatus CurrentSourceStatus() {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  return r.status;
}

void SetSourceStatusCallback(SourceStatusCallback callback, void* context) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.callbackMutex);
  r.callback = callback;
  r.context = context;
}

void ReportSourceStatus(SourceState state, const std::string& text) { Update(state, text, true); }

void ReportReadingStatus(const std::string& source, const GPS_POSITION& position) {
  const bool fix = (position.dwValidFields & GPS_VALID_LATITUDE) &&
                   (position.dwValidFields & GPS_VALID_LONGITUDE);
  ReportSourceStatus(fix ? SourceState::Fix : SourceState::Searching,
                     source + (fix ? ": fix" : ": searching for satellites"));
}

void ResetSourceStatus(const std::string& text) { Update(SourceState::NoSource, text, false); }

}  // namespace pda::gps
