// The owners: every handle an owner holds is closed exactly once, whatever the owners do with it
// (moves, move-assignment onto a live owner, reset, release), and a moved-from owner closes
// nothing. Closes are counted through the kernel's handle table: a close that finds the handle
// already gone fails.
#include <gtest/gtest.h>

#include <vector>

#include "pda/kernel.h"
#include "pda/owners.h"

namespace {

struct CloseLog {
  int calls = 0;
  int failures = 0;  // the handle was already closed (or never valid)
};
CloseLog closes;

struct CountingClose {
  void operator()(HANDLE handle) const {
    ++closes.calls;
    if (!CloseHandle(handle)) ++closes.failures;
  }
};
using Owner = pda::UniqueHandle<HANDLE, CountingClose>;

Owner NewEvent() { return Owner(CreateEventW(nullptr, FALSE, FALSE, nullptr)); }

struct Case {
  const char* name;
  int handles;         // events made
  int expectedCloses;  // closes through the owners (the rest are closed by the test)
  void (*run)(std::vector<HANDLE>& made);
};

const Case kCases[] = {
    {"scope end closes", 1, 1,
     [](std::vector<HANDLE>& made) {
       Owner a = NewEvent();
       made.push_back(a.get());
     }},
    {"moved-from owner closes nothing", 1, 1,
     [](std::vector<HANDLE>& made) {
       Owner a = NewEvent();
       made.push_back(a.get());
       Owner b(std::move(a));
       EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move): the point of the case
     }},
    {"move-assignment closes the target's old handle", 2, 2,
     [](std::vector<HANDLE>& made) {
       Owner a = NewEvent();
       Owner b = NewEvent();
       made = {a.get(), b.get()};
       b = std::move(a);
       EXPECT_EQ(b.get(), made[0]);
     }},
    {"self move-assignment keeps the handle", 1, 1,
     [](std::vector<HANDLE>& made) {
       Owner a = NewEvent();
       made.push_back(a.get());
       Owner& alias = a;
       a = std::move(alias);
       EXPECT_EQ(a.get(), made[0]);
     }},
    {"reset closes once and holds the new handle", 2, 2,
     [](std::vector<HANDLE>& made) {
       Owner a = NewEvent();
       made.push_back(a.get());
       a.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
       made.push_back(a.get());
       a.reset();
       a.reset();
     }},
    {"release gives the handle up", 1, 0,
     [](std::vector<HANDLE>& made) {
       Owner a = NewEvent();
       made.push_back(a.release());
       EXPECT_TRUE(CloseHandle(made[0]));
     }},
};

TEST(Owners, EachHandleIsClosedExactlyOnce) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    closes = {};
    std::vector<HANDLE> made;
    c.run(made);
    ASSERT_EQ(static_cast<int>(made.size()), c.handles);
    EXPECT_EQ(closes.calls, c.expectedCloses);
    EXPECT_EQ(closes.failures, 0);
    for (HANDLE h : made) EXPECT_FALSE(CloseHandle(h)) << "still open after the owners went";
  }
}

}  // namespace
