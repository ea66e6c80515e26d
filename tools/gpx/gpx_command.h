// zazorudu-gpx: the GeoNotes of a folder as one GPX 1.1 document.
//
//   zazorudu-gpx [-o FILE] [FOLDER]
//
// FOLDER defaults to the GeoNotes folder the application writes on the device: "My
// Documents/GeoNotes" under the device root, chosen as the platform chooses it (PDA_ROOT, else
// $XDG_DATA_HOME/zazorudu when that is an absolute path, else $HOME/.local/share/zazorudu).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>

namespace zaz::gpx {

enum ExitStatus : int {
  kExitDone = 0,
  kExitNoInputOrOutput = 1,  // the folder cannot be read, or the output cannot be written
  kExitBadArguments = 2,
};

// The value of an environment variable, or null when it is not set.
using Environment = std::function<const char*(const char* name)>;

struct FolderChoice {
  std::optional<std::string> folder;  // the GeoNotes folder, or
  std::string problem;                // why there is none
};

FolderChoice DefaultGeoNotesFolder(const Environment& environment);

int RunGpxCommand(int argc, char** argv, const Environment& environment);

}  // namespace zaz::gpx
