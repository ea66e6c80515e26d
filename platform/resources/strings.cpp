// LoadStringW over the registered string table.
#include <algorithm>

#include "resources/registry.h"

using namespace pda::resources;

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
  const std::u16string* text = Registry::Get().StringStorage(instance, id);
  if (!text || !buffer || size < 0) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  if (size == 0) {  // the platform's read-only form: a pointer to the string itself
    *reinterpret_cast<LPCWSTR*>(buffer) = text->c_str();
    return static_cast<int>(text->size());
  }
  const int count = std::min(static_cast<int>(text->size()), size - 1);
  std::copy_n(text->data(), count, buffer);
  buffer[count] = 0;
  return count;
}
