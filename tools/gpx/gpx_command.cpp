// zazorudu-gpx (see gpx_command.h).
//
//   Arguments  -o FILE, --help, one FOLDER
//   Folder     the default folder, and the notes read from a folder
//   Time       a note's local stamp to UTC, with the machine's time zone (TZ honoured)
//   Output     standard output, or FILE replaced whole through a temporary file beside it
#include "gpx_command.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "geonote_text.h"
#include "gpx_document.h"

namespace zaz::gpx {
namespace {

namespace fs = std::filesystem;

constexpr char kProgram[] = "zazorudu-gpx";
constexpr char kUsage[] =
    "Usage: zazorudu-gpx [-o FILE] [FOLDER]\n"
    "Writes the GeoNotes of FOLDER as one GPX 1.1 document, a waypoint per note, to standard\n"
    "output or to FILE.\n"
    "\n"
    "  FOLDER             the GeoNotes folder; by default \"My Documents/GeoNotes\" under\n"
    "                     the device root (PDA_ROOT, else $XDG_DATA_HOME/zazorudu, else\n"
    "                     $HOME/.local/share/zazorudu)\n"
    "  -o, --output FILE  write FILE (replaced whole, or left as it was on an error)\n"
    "  -h, --help         show this help\n"
    "\n"
    "Times are read as local time of this machine's time zone (TZ honoured) and written in UTC.\n"
    "A note whose header cannot be read is skipped with one line on standard error.\n"
    "Exit status: 0 done, 1 the folder cannot be read or the output cannot be written,\n"
    "2 bad arguments.\n";

// ---- Arguments ------------------------------------------------------------------------------

struct Options {
  bool help = false;
  std::optional<std::string> folder;
  std::optional<std::string> output;
};

// The options, or the complaint about them.
std::variant<Options, std::string> ParseArguments(int argc, char** argv) {
  Options options;
  bool onlyOperands = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!onlyOperands && (arg == "-h" || arg == "--help")) {
      options.help = true;
    } else if (!onlyOperands && (arg == "-o" || arg == "--output")) {
      if (i + 1 >= argc) return std::string("option ") + argv[i] + " needs a file name";
      if (options.output) return std::string("only one output file can be given");
      options.output = argv[++i];
    } else if (!onlyOperands && arg.starts_with("--output=")) {
      if (options.output) return std::string("only one output file can be given");
      options.output = std::string(arg.substr(9));
    } else if (!onlyOperands && arg == "--") {
      onlyOperands = true;
    } else if (!onlyOperands && arg.size() > 1 && arg.front() == '-') {
      return "unknown option " + std::string(arg);
    } else {
      if (options.folder) return std::string("only one folder can be given");
      options.folder = std::string(arg);
    }
  }
  if (options.output && options.output->empty()) return std::string("the output file name is empty");
  if (options.folder && options.folder->empty()) return std::string("the folder name is empty");
  return options;
}

// ---- Folder ---------------------------------------------------------------------------------

// A file of the folder that the application could have written as a note; its temporary
// "*.txt.saving" files and anything else are passed over.
bool NoteFileName(const std::string& name) {
  return name.starts_with("GeoNote_") && name.ends_with(".txt") && name.size() > 12;
}

struct NoteFile {
  std::string name;  // for the order among notes of the same minute
  fs::path path;
};

// The note files of the folder, or nothing (with the error) when it cannot be listed.
std::optional<std::vector<NoteFile>> ListNoteFiles(const fs::path& folder, std::error_code* error) {
  std::vector<NoteFile> files;
  fs::directory_iterator it(folder, *error);
  for (; !*error && it != fs::directory_iterator(); it.increment(*error)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (NoteFileName(name) && it->is_regular_file(typeError)) files.push_back({name, it->path()});
  }
  if (*error) return std::nullopt;
  return files;
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(text).str();
}

void Skip(const fs::path& path, const std::string& reason) {
  std::fprintf(stderr, "%s: skipped %s: %s\n", kProgram, path.c_str(), reason.c_str());
}

// ---- Time -----------------------------------------------------------------------------------

// The instant of a local stamp. A minute that the clock skipped (the start of summer time) is
// taken as the C library's mktime takes it; a minute that came twice, as mktime chooses.
std::optional<std::time_t> LocalToInstant(const LocalStamp& stamp) {
  std::tm local = {};
  local.tm_year = stamp.year - 1900;
  local.tm_mon = stamp.month - 1;
  local.tm_mday = stamp.day;
  local.tm_hour = stamp.hour;
  local.tm_min = stamp.minute;
  local.tm_isdst = -1;
  errno = 0;
  const std::time_t instant = std::mktime(&local);
  if (instant == static_cast<std::time_t>(-1) && errno != 0) return std::nullopt;
  return instant;
}

std::optional<std::string> UtcText(std::time_t instant) {
  std::tm utc = {};
  if (!gmtime_r(&instant, &utc)) return std::nullopt;
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return std::string(text);
}

struct Note {
  std::time_t instant;
  std::string fileName;
  GpxPoint point;
};

// The waypoints of the folder's notes, in the order of their times, then of their file names.
std::vector<GpxPoint> ReadNotes(const std::vector<NoteFile>& files) {
  std::vector<Note> notes;
  for (const NoteFile& file : files) {
    errno = 0;
    const std::optional<std::string> text = ReadWholeFile(file.path);
    if (!text) {
      Skip(file.path, errno != 0 ? std::string("cannot be read: ") + std::strerror(errno)
                                 : std::string("cannot be read"));
      continue;
    }
    NoteReading reading = ReadGeoNoteText(*text);
    if (const auto* refusal = std::get_if<NoteRefusal>(&reading)) {
      Skip(file.path, refusal->reason);
      continue;
    }
    auto& waypoint = std::get<NoteWaypoint>(reading);
    const std::optional<std::time_t> instant = LocalToInstant(waypoint.stamp);
    const std::optional<std::string> utc = instant ? UtcText(*instant) : std::nullopt;
    if (!utc) {
      Skip(file.path, "the time \"" + waypoint.stampText + "\" cannot be converted to UTC");
      continue;
    }
    notes.push_back({*instant, file.name,
                     GpxPoint{std::move(waypoint.latitude), std::move(waypoint.longitude), *utc,
                              std::move(waypoint.stampText), std::move(waypoint.text)}});
  }
  std::sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
    return a.instant != b.instant ? a.instant < b.instant : a.fileName < b.fileName;
  });
  std::vector<GpxPoint> points;
  points.reserve(notes.size());
  for (Note& note : notes) points.push_back(std::move(note.point));
  return points;
}

// ---- Output ---------------------------------------------------------------------------------

bool WriteAll(int fd, const std::string& data) {
  for (std::size_t done = 0; done < data.size();) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteToStandardOutput(const std::string& document) {
  return std::fwrite(document.data(), 1, document.size(), stdout) == document.size() &&
         std::fflush(stdout) == 0;
}

// Writes a temporary file beside `path` and renames it over `path` once it is whole on the
// disk; on any failure the temporary file is removed and `path` is as it was. The file gets the
// mode a newly created file gets (0666 less the umask), not mkstemp's 0600.
bool ReplaceFile(const std::string& path, const std::string& document) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, document) && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    errno = error;
  }
  return ok;
}

}  // namespace

FolderChoice DefaultGeoNotesFolder(const Environment& environment) {
  constexpr char kNotes[] = "/My Documents/GeoNotes";
  if (const char* root = environment("PDA_ROOT")) {
    if (*root == 0) return {std::nullopt, "PDA_ROOT is set but empty"};
    return {std::string(root) + kNotes, {}};
  }
  if (const char* data = environment("XDG_DATA_HOME"); data && *data == '/')
    return {std::string(data) + "/zazorudu" + kNotes, {}};
  if (const char* home = environment("HOME"); home && *home)
    return {std::string(home) + "/.local/share/zazorudu" + kNotes, {}};
  return {std::nullopt, "neither PDA_ROOT nor HOME is set; name the GeoNotes folder"};
}

int RunGpxCommand(int argc, char** argv, const Environment& environment) {
  auto parsed = ParseArguments(argc, argv);
  if (const auto* complaint = std::get_if<std::string>(&parsed)) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgram, complaint->c_str(), kProgram);
    return kExitBadArguments;
  }
  const Options& options = std::get<Options>(parsed);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return std::fflush(stdout) == 0 ? kExitDone : kExitNoInputOrOutput;
  }

  std::string folder;
  if (options.folder) {
    folder = *options.folder;
  } else {
    FolderChoice choice = DefaultGeoNotesFolder(environment);
    if (!choice.folder) {
      std::fprintf(stderr, "%s: %s\n", kProgram, choice.problem.c_str());
      return kExitNoInputOrOutput;
    }
    folder = std::move(*choice.folder);
  }

  std::error_code listError;
  const std::optional<std::vector<NoteFile>> files = ListNoteFiles(folder, &listError);
  if (!files) {
    std::fprintf(stderr, "%s: cannot read the folder %s: %s\n", kProgram, folder.c_str(),
                 listError.message().c_str());
    return kExitNoInputOrOutput;
  }

  const std::optional<std::string> document = MakeGpxDocument(ReadNotes(*files));
  if (!document) {
    std::fprintf(stderr, "%s: the GPX document could not be made\n", kProgram);
    return kExitNoInputOrOutput;
  }
  if (options.output) {
    if (!ReplaceFile(*options.output, *document)) {
      std::fprintf(stderr, "%s: cannot write %s: %s\n", kProgram, options.output->c_str(),
                   std::strerror(errno));
      return kExitNoInputOrOutput;
    }
  } else if (!WriteToStandardOutput(*document)) {
    std::fprintf(stderr, "%s: cannot write to standard output: %s\n", kProgram,
                 std::strerror(errno));
    return kExitNoInputOrOutput;
  }
  return kExitDone;
}

}  // namespace zaz::gpx
