#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/core/Scoped.h"

namespace tvx {
namespace {

using test::SimMachine;

TEST(ScopedKey, HoldsOneOpenKeyAndClosesIt) {
  SimMachine m;
  m.registry("[HKEY_LOCAL_MACHINE\\Software\\A]\r\n[HKEY_LOCAL_MACHINE\\Software\\B]\r\n");
  Platform p = m.platform();
  {
    ScopedKey missing(p.registry, HKEY_LOCAL_MACHINE, "Software\\None", KEY_READ);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.result(), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  }
  ScopedKey key(p.registry);
  ASSERT_EQ(key.open(HKEY_LOCAL_MACHINE, "Software\\A", KEY_READ), ERROR_SUCCESS);
  EXPECT_EQ(m.sim.registry().openHandles(), 1u);
  // Opening another closes the first: one key held at a time.
  ASSERT_EQ(key.open(HKEY_LOCAL_MACHINE, "Software\\B", KEY_READ), ERROR_SUCCESS);
  EXPECT_EQ(m.sim.registry().openHandles(), 1u);
  // A failed open leaves nothing held.
  EXPECT_NE(key.open(HKEY_LOCAL_MACHINE, "Software\\None", KEY_READ), ERROR_SUCCESS);
  EXPECT_FALSE(key.isOpen());
  EXPECT_EQ(m.sim.registry().openHandles(), 0u);
  {
    const ScopedKey held(p.registry, HKEY_LOCAL_MACHINE, "Software\\A", KEY_READ);
    EXPECT_TRUE(held.isOpen());
  }
  EXPECT_EQ(m.sim.registry().openHandles(), 0u) << "closed when the holder went";
}

TEST(ScopedStream, GivesTheCloseAnswerAndClosesOnce) {
  SimMachine m;
  Platform p = m.platform();
  {
    ScopedStream missing(p.streams, "C:\\none\\x.txt", "rb");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.close(), 0);
  }
  {
    ScopedStream out(p.streams, "C:\\x.txt", "wb");
    ASSERT_TRUE(out.isOpen());
    p.streams.fputs("text", out.get());
    EXPECT_EQ(out.close(), 0);
    EXPECT_FALSE(out.isOpen());
    EXPECT_EQ(out.close(), 0) << "a second close has nothing to close";
  }
  EXPECT_EQ(m.content("C:\\x.txt"), "text");
  {
    const ScopedStream in(p.streams, "C:\\x.txt", "rb");
    EXPECT_EQ(m.sim.streams().openStreams(), 1u);
  }
  EXPECT_EQ(m.sim.streams().openStreams(), 0u);
}

}  // namespace
}  // namespace tvx
