#include "SimPlatform.h"
#include "Text.h"

namespace tvx::sim {

namespace {

std::string buttonsOf(UINT type) {
  switch (type & 0xF) {
    case MB_OKCANCEL:
      return "OK, Cancel";
    case MB_YESNO:
      return "Yes, No";
    default:
      return "OK";
  }
}

// Whether a box of this type has a button for the answer.
bool offers(UINT type, const std::string& answer) {
  switch (type & 0xF) {
    case MB_OKCANCEL:
      return iequals(answer, "OK") || iequals(answer, "Cancel");
    case MB_YESNO:
      return iequals(answer, "Yes") || iequals(answer, "No");
    default:
      return iequals(answer, "OK");
  }
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

int answerCode(const std::string& answer) {
  if (iequals(answer, "Cancel")) return IDCANCEL;
  if (iequals(answer, "Yes")) return IDYES;
  if (iequals(answer, "No")) return IDNO;
  if (iequals(answer, "fails")) return 0;  // the box cannot be shown
  return IDOK;
}

const char* answerName(int code) {
  switch (code) {
    case IDCANCEL:
      return "Cancel";
    case IDYES:
      return "Yes";
    case IDNO:
      return "No";
    case 0:
      return "(could not be shown)";
    default:
      return "OK";
  }
}

}  // namespace

HWND Windows::addOwnWindow(const std::string& title, bool visible) { return m_.addOwnWindow(title, visible); }

Window* Windows::windowOf(HWND window) { return m_.windowOf(window); }

HWND Windows::FindWindowExA(HWND, HWND, LPCSTR className, LPCSTR title) {
  if (m_.injectFault("FindWindowExA")) return nullptr;
  // The question names what is looked for: polling for one window is a wait, looking for one
  // window and then for another around a pause is not.
  std::string what = "for a window";
  if (className != nullptr) what += std::string(" of class ") + className;
  if (title != nullptr) what += std::string(" titled \"") + title + "\"";
  m_.asked(what);
  for (std::size_t i = 0; i < m_.windows.size(); ++i) {
    const Window& w = m_.windows[i];
    if (!w.open) continue;
    if (title != nullptr && !iequals(w.title, title)) continue;
    if (className != nullptr && !iequals(w.className, className)) continue;
    return Machine::windowHandle(i);
  }
  return nullptr;
}

LRESULT Windows::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A message to a dialog of the program's own, or one of its controls, is a call of its
  // procedure on this thread; one to another program's window may not get through.
  if (dialogs_.owns(window)) return dialogs_.SendMessageA(window, message, wParam, lParam);
  if (m_.injectFault("SendMessageA")) return 0;
  auto index = reinterpret_cast<std::uintptr_t>(window) / 0x10;
  if (index == 0 || index > m_.windows.size()) {
    m_.lastError = ERROR_INVALID_HANDLE;
    return 0;
  }
  Window& w = m_.windows[index - 1];
  if (message == WM_CLOSE) {
    m_.record("close", {{"window", w.title}, {"result", w.refusesClose ? "refused" : "closed"}});
    if (!w.refusesClose) w.open = false;
    m_.advance(0);  // a program whose last window closed ends
  }
  return 0;
}

int Windows::MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  // A box that Windows cannot show (out of memory) is in the report all the same: the program
  // tried to tell the person this, and got 0 back.
  const bool unshown = m_.injectFault("MessageBoxA");
  // A message box puts a question to the person: a sleep before it is no wait for a window.
  if (!unshown) m_.asked("the person");
  const std::string box =
      std::string(caption != nullptr ? caption : "") + "\n" + (text != nullptr ? text : "") + "\n" + buttonsOf(type);
  const bool cameBack = !unshown && box == lastBox_;
  boxCameBack_ = cameBack ? boxCameBack_ + 1 : 0;
  if (!unshown) lastBox_ = box;
  int answer = (type & 0xF) == MB_YESNO ? IDYES : IDOK;
  if ((type & 0xF) == MB_OKCANCEL && m_.cancelsUnscriptedPrompts) answer = IDCANCEL;
  DWORD delay = 0;
  if (unshown) {
    answer = 0;
  } else if (auto step = m_.takeScriptStep("message")) {
    answer = answerCode(step->value);
    delay = step->delay;
  } else if (cameBack && offers(type, m_.answerAgain)) {
    answer = answerCode(m_.answerAgain);
  }
  std::string ownerName = "none";
  auto index = reinterpret_cast<std::uintptr_t>(owner) / 0x10;
  if (owner != nullptr && index >= 1 && index <= m_.windows.size()) ownerName = m_.windows[index - 1].title;
  m_.record("message", {{"text", text != nullptr ? text : ""},
                        {"caption", caption != nullptr ? caption : ""},
                        {"owner", ownerName},
                        {"buttons", buttonsOf(type)},
                        {"answer", answerName(answer)}});
  if (m_.faults.maxRepeats != 0 && boxCameBack_ >= m_.faults.maxRepeats) {
    throw RunBoundExceeded{"the same prompt came back " + std::to_string(boxCameBack_) + " times (\"" +
                           firstLine(text != nullptr ? text : "") + "\")"};
  }
  m_.advance(delay);
  if (answer == 0) m_.lastError = ERROR_NOT_ENOUGH_MEMORY;
  return answer;
}

BOOL Windows::ShowWindow(HWND window, int show) {
  if (m_.injectFault("ShowWindow")) return FALSE;
  Window* w = windowOf(window);
  if (w == nullptr) return dialogs_.ShowControl(window, show);
  const BOOL wasVisible = w->visible ? TRUE : FALSE;
  w->visible = show != static_cast<int>(SW_HIDE);
  m_.record(w->visible ? "show" : "hide", {{"window", w->title}});
  return wasVisible;
}

BOOL Windows::RedrawWindow(HWND window, UINT flags) {
  if (m_.injectFault("RedrawWindow")) return FALSE;
  if (dialogs_.owns(window) && windowOf(window) == nullptr) {
    m_.record("repaint", {{"window", dialogs_.describe(window)}, {"flags", std::to_string(flags)}});
    return TRUE;
  }
  auto index = reinterpret_cast<std::uintptr_t>(window) / 0x10;
  if (index == 0 || index > m_.windows.size()) {
    m_.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  m_.record("repaint", {{"window", m_.windows[index - 1].title}, {"flags", std::to_string(flags)}});
  return TRUE;
}

void Windows::ShowWaitCursor(bool waiting) {
  if (waiting == m_.waitCursor) return;
  m_.waitCursor = waiting;
  m_.record("cursor", {{"shape", waiting ? "hourglass" : "arrow"}});
}

}  // namespace tvx::sim
