// Choosing, creating and reporting the device root.
#include "storage/device_root.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <system_error>

#include "pda/kernel.h"
#include "pda/testing/kernel.h"

namespace pda {
namespace {

namespace fs = std::filesystem;

struct RootState {
  std::mutex mutex;
  std::optional<std::string> testFolder;
  bool chosen = false;
  std::optional<std::string> root;     // set when chosen and usable
  std::optional<std::string> problem;  // set when chosen and not usable: why
};

RootState& State() {
  static RootState* const state = new RootState;  // never destroyed: used by late threads
  return *state;
}

// Where the root should be, and the name of the setting it came from (for the report).
struct Choice {
  std::string path;
  const char* source;
};

std::optional<Choice> Choose(const RootState& state) {
  if (state.testFolder) return Choice{*state.testFolder, "the test's device root"};
  if (const char* root = std::getenv("PDA_ROOT")) return Choice{root, "PDA_ROOT"};
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
    return Choice{std::string(data) + "/zazorudu", "XDG_DATA_HOME"};
  if (const char* home = std::getenv("HOME"); home && *home)
    return Choice{std::string(home) + "/.local/share/zazorudu", "HOME"};
  return std::nullopt;
}

// Creates the root and its standard folders. Returns the absolute root, or an error text.
std::optional<std::string> Prepare(const std::string& path, std::string* why) {
  if (path.empty()) {
    *why = "it is empty";
    return std::nullopt;
  }
  std::error_code error;
  fs::path root = fs::absolute(path, error);
  if (!error) {
    root = root.lexically_normal();
    fs::create_directories(root / "Program Files" / "Zazorudu", error);
  }
  if (!error) fs::create_directories(root / "My Documents", error);
  if (error) {
    *why = error.message();
    return std::nullopt;
  }
  std::string text = root.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

void ChooseLocked(RootState& state) {
  if (state.chosen) return;
  state.chosen = true;
  state.problem.reset();
  const std::optional<Choice> choice = Choose(state);
  std::string why = "neither PDA_ROOT nor HOME is set";
  if (choice) state.root = Prepare(choice->path, &why);
  if (state.root) return;
  if (choice && std::string_view(choice->source) != "PDA_ROOT")
    why = "cannot use " + choice->path + " (taken from " + choice->source + "): " + why;
  state.problem = why;
}

}  // namespace

std::optional<std::string> DeviceRoot() {
  RootState& state = State();
  std::lock_guard lock(state.mutex);
  ChooseLocked(state);
  if (!state.root) SetLastError(ERROR_PATH_NOT_FOUND);
  return state.root;
}

std::optional<std::string> DeviceRootProblem() {
  RootState& state = State();
  std::lock_guard lock(state.mutex);
  ChooseLocked(state);
  return state.problem;
}

void SetDeviceRootForTesting(const std::string& hostFolder) {
  RootState& state = State();
  std::lock_guard lock(state.mutex);
  state.testFolder = hostFolder.empty() ? std::nullopt : std::optional<std::string>(hostFolder);
  state.chosen = false;
  state.root.reset();
}

}  // namespace pda
