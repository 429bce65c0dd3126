// The members of std::string, made here without exceptions: the C++ library's own copies come
// with its exception machinery and unwind tables, which a program built without exceptions does
// not need.
#include <string>

template class std::basic_string<char>;
