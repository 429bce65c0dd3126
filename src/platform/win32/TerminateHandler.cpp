// Setup.exe is built without exceptions: the one way the C++ library can still end it is a
// failed allocation. The library's default handler would print the exception's name to a console
// a GUI program does not have, and it drags the whole name demangler into the program (about
// 75 KB of a setup program that is otherwise half that size). This handler just ends the program.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
