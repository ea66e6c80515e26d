// The installed command on a temporary folder: the notes become waypoints with their exact
// coordinates and UTC times in order, the document is valid GPX 1.1 (checked against the
// schema by libxml2), a damaged note costs one line on standard error, and the exit status and
// the -o file say how it went (a failed write leaves no partial file).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct ProgramRun {
  int status = -1;  // the exit code; -1 when the program did not exit by itself
  std::string out, err;
};

struct RunOptions {
  std::vector<std::string> arguments;
  std::vector<std::string> environment;  // the child's whole environment
  const char* standardOutput = nullptr;  // a file to write to in place of the captured one
  rlim_t fileSizeLimit = RLIM_INFINITY;
};

// Runs the built zazorudu-gpx with exactly the given arguments and environment.
ProgramRun RunProgram(const fs::path& work, const RunOptions& options) {
  const fs::path outPath = work / "stdout", errPath = work / "stderr";
  std::vector<std::string> argv = {ZAZ_GPX_PROGRAM};
  argv.insert(argv.end(), options.arguments.begin(), options.arguments.end());
  std::vector<char*> args, env;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  std::vector<std::string> environment = options.environment;
  for (std::string& e : environment) env.push_back(e.data());
  env.push_back(nullptr);
  const std::string outTarget = options.standardOutput ? options.standardOutput : outPath.string();

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outTarget.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    if (options.fileSizeLimit != RLIM_INFINITY) {
      signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
      const rlimit limit = {options.fileSizeLimit, options.fileSizeLimit};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    }
    execve(args[0], args.data(), env.data());
    _exit(127);
  }
  ProgramRun run;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
    run.status = WEXITSTATUS(status);
  if (!options.standardOutput) run.out = ReadFile(outPath);
  run.err = ReadFile(errPath);
  return run;
}

// The document checked against the GPX 1.1 schema; the validator's complaints go to the test's
// output.
bool ValidGpx(xmlDocPtr document) {
  xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(ZAZ_GPX_SCHEMA);
  xmlSchemaPtr schema = parser ? xmlSchemaParse(parser) : nullptr;
  xmlSchemaValidCtxtPtr validator = schema ? xmlSchemaNewValidCtxt(schema) : nullptr;
  const bool valid = validator && xmlSchemaValidateDoc(validator, document) == 0;
  if (validator) xmlSchemaFreeValidCtxt(validator);
  if (schema) xmlSchemaFree(schema);
  if (parser) xmlSchemaFreeParserCtxt(parser);
  return valid;
}

struct Document {
  xmlDocPtr doc = nullptr;
  explicit Document(const std::string& text)
      : doc(xmlReadMemory(text.data(), static_cast<int>(text.size()), "output.gpx", nullptr,
                          XML_PARSE_NONET)) {}
  ~Document() { xmlFreeDoc(doc); }
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;
};

// A waypoint as read back from the document.
struct Waypoint {
  std::string lat, lon, time, name, desc;
  bool operator==(const Waypoint&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Waypoint& w) {
  return out << "{" << w.lat << "," << w.lon << " " << w.time << " '" << w.name << "' '" << w.desc
             << "'}";
}

std::string Text(xmlNodePtr node) {
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = content ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  return text;
}

std::string Attribute(xmlNodePtr node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string text = value ? reinterpret_cast<const char*>(value) : "<none>";
  xmlFree(value);
  return text;
}

bool Named(xmlNodePtr node, const char* name) {
  return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name));
}

std::vector<Waypoint> Waypoints(xmlDocPtr doc) {
  std::vector<Waypoint> points;
  for (xmlNodePtr wpt = xmlDocGetRootElement(doc)->children; wpt; wpt = wpt->next) {
    if (!Named(wpt, "wpt")) continue;
    Waypoint w{Attribute(wpt, "lat"), Attribute(wpt, "lon"), "", "", ""};
    for (xmlNodePtr field = wpt->children; field; field = field->next) {
      if (Named(field, "time")) w.time = Text(field);
      if (Named(field, "name")) w.name = Text(field);
      if (Named(field, "desc")) w.desc = Text(field);
    }
    points.push_back(w);
  }
  return points;
}

class GpxCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path pattern = fs::temp_directory_path() / "zaz-gpx-XXXXXX";
    std::string name = pattern.string();
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    work_ = name;
    notes_ = work_ / "GeoNotes";
    fs::create_directories(notes_);
  }
  void TearDown() override { fs::remove_all(work_); }

  ProgramRun Convert(std::vector<std::string> arguments, std::vector<std::string> environment = {}) {
    environment.push_back("TZ=Europe/Berlin");
    return RunProgram(work_, {std::move(arguments), std::move(environment)});
  }
  void Note(const std::string& fileName, const std::string& text) {
    WriteFile(notes_ / fileName, text);
  }
  // Two readable notes: the later one's file name sorts first.
  void TwoNotes() {
    Note("GeoNote_09d-01m-2009y-t2041.txt",
         "GeoNote\r\n09d/01m/2009y @ 20:41\r\nGPS Location:\r\n47.6062095,-122.3320708\r\n\r\n\r\n"
         "Caf\xC3\xA9 cr\xC3\xA8me <&> \"ok\"\r\nsecond line\r\n");
    Note("GeoNote_01d-07m-2010y-t0805.txt",
         "GeoNote\r\n01d/07m/2010y @ 08:05\r\nGPS Location:\r\n-33.8688000,-70.6693000\r\n\r\n\r\n");
  }
  std::vector<std::string> FolderFiles(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path work_, notes_;
};

const Waypoint kWinterNote = {"47.6062095", "-122.3320708", "2009-01-09T19:41:00Z",
                              "09d/01m/2009y @ 20:41",
                              "Caf\xC3\xA9 cr\xC3\xA8me <&> \"ok\"\nsecond line\n"};
const Waypoint kSummerNote = {"-33.8688000", "-70.6693000", "2010-07-01T06:05:00Z",
                              "01d/07m/2010y @ 08:05", ""};

TEST_F(GpxCommandTest, ThreeNotesOneDamagedGiveTwoValidWaypointsInTimeOrder) {
  TwoNotes();
  Note("GeoNote_05d-05m-2009y-t1200.txt",
       "GeoNote\r\n05d/05m/2009y @ 12:00\r\nGPS Location:\r\nsomewhere nice\r\n\r\n\r\ntext");
  // Not notes: the editor's temporary file and an unrelated file are passed over in silence.
  Note("GeoNote_06d-06m-2009y-t1200.txt.saving", "damaged");
  Note("shopping.txt", "milk");

  const ProgramRun run = Convert({notes_.string()});

  EXPECT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> errors = Lines(run.err);
  ASSERT_EQ(errors.size(), 1u) << run.err;
  EXPECT_NE(errors[0].find("GeoNote_05d-05m-2009y-t1200.txt"), std::string::npos) << errors[0];
  Document document(run.out);
  ASSERT_NE(document.doc, nullptr) << run.out;
  EXPECT_TRUE(ValidGpx(document.doc)) << run.out;
  EXPECT_EQ(Waypoints(document.doc), (std::vector<Waypoint>{kWinterNote, kSummerNote}))
      << run.out;
}

TEST_F(GpxCommandTest, NotesOfTheSameMinuteFollowTheirFileNames) {
  const std::string note =
      "GeoNote\r\n09d/01m/2009y @ 20:41\r\nGPS Location:\r\n1.0000000,2.0000000\r\n\r\n\r\n";
  Note("GeoNote_09d-01m-2009y-t2041_b.txt", note + "b");
  Note("GeoNote_09d-01m-2009y-t2041.txt", note + "first");
  Note("GeoNote_09d-01m-2009y-t2041_a.txt", note + "a");

  const ProgramRun run = Convert({notes_.string()});

  ASSERT_EQ(run.status, 0) << run.err;
  Document document(run.out);
  ASSERT_NE(document.doc, nullptr) << run.out;
  std::vector<std::string> texts;
  for (const Waypoint& w : Waypoints(document.doc)) texts.push_back(w.desc);
  EXPECT_EQ(texts, (std::vector<std::string>{"first", "a", "b"}));
}

TEST_F(GpxCommandTest, WithoutAFolderReadsTheDeviceRootsGeoNotes) {
  const fs::path data = work_ / "data";
  fs::create_directories(data / "zazorudu" / "My Documents");
  fs::rename(notes_, data / "zazorudu" / "My Documents" / "GeoNotes");
  notes_ = data / "zazorudu" / "My Documents" / "GeoNotes";
  TwoNotes();

  const ProgramRun run = Convert({}, {"XDG_DATA_HOME=" + data.string(), "HOME=/nonexistent"});

  ASSERT_EQ(run.status, 0) << run.err;
  Document document(run.out);
  ASSERT_NE(document.doc, nullptr) << run.out;
  EXPECT_EQ(Waypoints(document.doc), (std::vector<Waypoint>{kWinterNote, kSummerNote}));
}

struct StatusCase {
  const char* name;
  std::vector<std::string> arguments;  // "NOTES" stands for the notes folder, "FILE" for a file
  int status;
  const char* standardOutputHas;  // text the output must hold, or null for empty
};
void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class GpxStatusTest : public GpxCommandTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(GpxStatusTest, SaysHowItWent) {
  const StatusCase& c = GetParam();
  std::vector<std::string> arguments = c.arguments;
  WriteFile(work_ / "a file", "not a folder");
  for (std::string& a : arguments) {
    if (a == "NOTES") a = notes_.string();
    if (a == "FILE") a = (work_ / "a file").string();
  }

  const ProgramRun run = Convert(arguments, {"PDA_ROOT=" + (work_ / "no root").string()});

  EXPECT_EQ(run.status, c.status) << run.err;
  if (c.standardOutputHas) {
    EXPECT_NE(run.out.find(c.standardOutputHas), std::string::npos) << run.out;
  } else {
    EXPECT_EQ(run.out, "");
  }
  if (c.status != 0) {
    EXPECT_NE(run.err, "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, GpxStatusTest,
    ::testing::Values(
        StatusCase{"Help", {"--help"}, 0, "Usage: zazorudu-gpx"},
        StatusCase{"EmptyFolderGivesAnEmptyDocument", {"NOTES"}, 0, "<gpx "},
        StatusCase{"UnknownOption", {"--colour"}, 2, nullptr},
        StatusCase{"TwoFolders", {"NOTES", "NOTES"}, 2, nullptr},
        StatusCase{"OutputWithoutFile", {"NOTES", "-o"}, 2, nullptr},
        StatusCase{"DefaultFolderMissing", {}, 1, nullptr},
        StatusCase{"FolderIsAFile", {"FILE"}, 1, nullptr},
        StatusCase{"OutputFolderMissing", {"NOTES", "-o", "/nonexistent/out.gpx"}, 1, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GpxCommandTest, OutputFileHoldsTheSameDocumentAsStandardOutput) {
  TwoNotes();
  const fs::path file = work_ / "out" / "notes.gpx";
  fs::create_directories(file.parent_path());
  WriteFile(file, "an older export");

  const ProgramRun toStdout = Convert({notes_.string()});
  const ProgramRun toFile = Convert({"-o", file.string(), notes_.string()});

  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  EXPECT_EQ(ReadFile(file), toStdout.out);
  EXPECT_EQ(FolderFiles(file.parent_path()), std::vector<std::string>{"notes.gpx"});
}

TEST_F(GpxCommandTest, FailedOutputFileLeavesTheOldFileAndNoTemporary) {
  TwoNotes();
  const fs::path file = work_ / "out" / "notes.gpx";
  fs::create_directories(file.parent_path());
  WriteFile(file, "an older export");

  // The document is larger than the child may write.
  RunOptions options{{"-o", file.string(), notes_.string()}, {"TZ=UTC"}};
  options.fileSizeLimit = 64;
  const ProgramRun run = RunProgram(work_, options);

  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("notes.gpx"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFile(file), "an older export");
  EXPECT_EQ(FolderFiles(file.parent_path()), std::vector<std::string>{"notes.gpx"});
}

TEST_F(GpxCommandTest, FullStandardOutputIsAnError) {
  TwoNotes();
  RunOptions options{{notes_.string()}, {"TZ=UTC"}};
  options.standardOutput = "/dev/full";
  const ProgramRun run = RunProgram(work_, options);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err, "");
}

// The schema check above can fail: a longitude of 180 is outside GPX's range.
TEST(GpxSchemaTest, RefusesAWaypointOutOfRange) {
  Document document(
      "<?xml version=\"1.0\"?><gpx xmlns=\"http://www.topografix.com/GPX/1/1\" version=\"1.1\" "
      "creator=\"t\"><wpt lat=\"0\" lon=\"180.0\"/></gpx>");
  ASSERT_NE(document.doc, nullptr);
  EXPECT_FALSE(ValidGpx(document.doc));
}

}  // namespace
