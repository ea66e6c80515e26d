// zazorudu-gpx: the GeoNotes as GPX (see gpx_command.h).
#include <cstdlib>

#include "gpx_command.h"

int main(int argc, char** argv) {
  return zaz::gpx::RunGpxCommand(argc, argv, [](const char* name) { return std::getenv(name); });
}
