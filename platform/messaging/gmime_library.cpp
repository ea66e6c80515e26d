// Loading GMime on first use (see gmime_library.h).
#include "messaging/gmime_library.h"

#include <dlfcn.h>

#include <cstdio>

namespace pda::messaging {
namespace {

constexpr char kGMimeFile[] = "libgmime-3.0.so.0";

// One of the library's functions into its slot; false, said on standard error, when it lacks it.
template <class Function>
bool Find(void* library, const char* file, const char* name, Function& slot) {
  slot = reinterpret_cast<Function>(::dlsym(library, name));
  if (slot) return true;
  std::fprintf(stderr, "messaging: e-mail cannot be formatted: %s has no %s\n", file, name);
  return false;
}

}  // namespace

void CloseSharedLibrary::operator()(void* library) const { ::dlclose(library); }

std::unique_ptr<GMimeLibrary> GMimeLibrary::Load(const char* file) {
  // RTLD_LOCAL: GMime's symbols and its dependencies' stay out of the program's own look-up;
  // RTLD_NOW: a library that cannot be bound whole fails here, not in the middle of a send.
  std::unique_ptr<GMimeLibrary> gmime(new GMimeLibrary);
  gmime->library_.reset(::dlopen(file, RTLD_NOW | RTLD_LOCAL));
  if (!gmime->library_) {
    const char* why = ::dlerror();
    std::fprintf(stderr, "messaging: e-mail cannot be formatted: %s\n", why ? why : file);
    return nullptr;
  }
  void* library = gmime->library_.get();
#define PDA_GMIME_FIND(name) &&Find(library, file, #name, gmime->name)
  if (!(true PDA_GMIME_FUNCTIONS(PDA_GMIME_FIND))) return nullptr;
#undef PDA_GMIME_FIND
  return gmime;
}

const GMimeLibrary* GMimeLibrary::Get() {
  // Initialised once, by the first caller, while any others wait (a function's static). Never
  // unloaded: after g_mime_init, GObject (which stays loaded for good) holds GMime's types with
  // pointers into GMime's code, so GMime must stay for as long as the program runs.
  static const GMimeLibrary* const gmime = [] {
    std::unique_ptr<GMimeLibrary> loaded = Load(kGMimeFile);
    if (loaded) loaded->g_mime_init();
    return loaded.release();
  }();
  return gmime;
}

}  // namespace pda::messaging
