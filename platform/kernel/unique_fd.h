// A move-only owner of a host file descriptor (pda/owners.h's UniqueHandle with close(2)).
#pragma once

#include <unistd.h>

#include "pda/owners.h"

namespace pda {

struct CloseFd {
  static constexpr int kNull = -1;
  void operator()(int fd) const { ::close(fd); }
};
using UniqueFd = UniqueHandle<int, CloseFd>;

}  // namespace pda
