// Choosing, creating and reporting the device root.
#include "storage/device_root.h"

#include <cstdio>
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

constexpr const char* kForm =
    "the path of a host folder that exists or can be created, e.g. "
    "PDA_ROOT=$HOME/.local/share/zazorudu";

struct RootState {
  std::mutex mutex;
  std::optional<std::string> testFolder;
  bool chosen = false;
  std::optional<std::string> root;  // set when chosen and usable
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

}  // namespace

std::optional<std::string> DeviceRoot() {
  RootState& state = State();
  std::lock_guard lock(state.mutex);
  if (!state.chosen) {
    state.chosen = true;
    const std::optional<Choice> choice = Choose(state);
    std::string why = "neither PDA_ROOT nor HOME is set";
    if (choice) state.root = Prepare(choice->path, &why);
    if (!state.root) {
      // One line, naming the setting and its form; the file calls then fail quietly.
      const std::string from = choice && std::string_view(choice->source) != "PDA_ROOT"
                                   ? std::string(" (taken from ") + choice->source + ")"
                                   : std::string();
      std::fprintf(stderr, "PDA_ROOT: cannot use \"%s\"%s as the device root: %s; expected %s\n",
                   choice ? choice->path.c_str() : "", from.c_str(), why.c_str(), kForm);
    }
  }
  if (!state.root) SetLastError(ERROR_PATH_NOT_FOUND);
  return state.root;
}

void SetDeviceRootForTesting(const std::string& hostFolder) {
  RootState& state = State();
  std::lock_guard lock(state.mutex);
  state.testFolder = hostFolder.empty() ? std::nullopt : std::optional<std::string>(hostFolder);
  state.chosen = false;
  state.root.reset();
}

}  // namespace pda
