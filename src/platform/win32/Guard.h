// Calls into system DLLs that may raise instead of failing (Wine's stubs raise an exception for a
// function it does not implement) go through an exception frame of our own on the thread's
// exception list (fs:[0]), which works on every Windows from 95 on.
#pragma once

extern "C" int tvxCallGuarded(void (*function)(void*), void* argument);

namespace tvx::win32 {

// Runs `call`; false when it raised an exception instead of returning.
template <typename Call>
bool callGuarded(Call&& call) {
  auto thunk = [](void* argument) { (*static_cast<Call*>(argument))(); };
  return tvxCallGuarded(thunk, &call) != 0;
}

}  // namespace tvx::win32
