// A static object of a second file, for runtime_check: gcc's start runs the files' constructors
// from the last linked to the first, and so does Setup.exe's.
int g_otherMadeAt = 0;
extern int g_madeCount;

namespace {
struct Other {
  Other() { g_otherMadeAt = ++g_madeCount; }
};
Other g_other;
}  // namespace
