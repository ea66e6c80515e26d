// GMime, loaded when the first e-mail is formatted instead of linked: GMime brings glib, gobject,
// gio, gpgme and more with it, about 2.4 MB of resident memory on every start, and most sessions
// never send an e-mail. GMime's headers still give the types, constants and function types; this
// file and the build (which gives the headers but not the library) are the only ties to it.
#pragma once

#include <memory>

// The platform's headers before GLib's: GLib makes TRUE and FALSE macros, which would turn the
// platform's constants of those names into nonsense.
#include "pda/owners.h"

#include <gmime/gmime.h>

namespace pda::messaging {

// Every GMime, GObject and GLib function the e-mail formatter calls, named once. GObject's and
// GLib's are found through GMime's handle too: a handle's look-up covers the libraries it needs.
#define PDA_GMIME_FUNCTIONS(X)                \
  X(g_mime_init)                              \
  X(g_mime_message_new)                       \
  X(g_mime_message_set_date)                  \
  X(g_mime_message_get_addresses)             \
  X(g_mime_message_set_subject)               \
  X(g_mime_message_set_mime_part)             \
  X(g_mime_object_set_header)                 \
  X(g_mime_object_set_content_type_parameter) \
  X(g_mime_object_write_to_stream)            \
  X(internet_address_list_parse)              \
  X(internet_address_list_length)             \
  X(internet_address_list_append)             \
  X(g_mime_part_new_with_type)                \
  X(g_mime_part_set_content)                  \
  X(g_mime_part_set_content_encoding)         \
  X(g_mime_data_wrapper_new_with_stream)      \
  X(g_mime_stream_mem_new)                    \
  X(g_mime_stream_mem_new_with_buffer)        \
  X(g_mime_stream_mem_get_byte_array)         \
  X(g_mime_format_options_new)                \
  X(g_mime_format_options_set_newline_format) \
  X(g_mime_format_options_free)               \
  X(g_date_time_new_utc)                      \
  X(g_date_time_unref)                        \
  X(g_object_unref)

struct CloseSharedLibrary {
  void operator()(void* library) const;
};

class GMimeLibrary {
 public:
  // The program's GMime (libgmime-3.0.so.0), loaded and initialised by the first call from
  // whichever thread, and kept until the program ends. Null when it cannot be loaded: the first
  // call then said why in one line on standard error, and every later call answers the same.
  static const GMimeLibrary* Get();

  // The library file `file` with every function below found, not initialised. Null, with one
  // line on standard error naming the file or the function, when the file cannot be loaded or
  // lacks one. Dropping the result unloads the file again.
  static std::unique_ptr<GMimeLibrary> Load(const char* file);

  // The functions, each typed as its header declares it and named as it is, so that a call reads
  // as the direct call it replaces: gmime.g_mime_message_new(FALSE).
#define PDA_GMIME_SLOT(name) decltype(&::name) name = nullptr;
  PDA_GMIME_FUNCTIONS(PDA_GMIME_SLOT)
#undef PDA_GMIME_SLOT

 private:
  GMimeLibrary() = default;
  UniqueHandle<void*, CloseSharedLibrary> library_;
};

}  // namespace pda::messaging
