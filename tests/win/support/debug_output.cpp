#include "support/debug_output.h"

#include <algorithm>
#include <cstring>

namespace norv::wintest {
namespace {

DebugOutputRecorder* g_active = nullptr;

}  // namespace

DebugOutputRecorder::DebugOutputRecorder()
    : handler_(AddVectoredExceptionHandler(1, &DebugOutputRecorder::Note)) {
  g_active = this;
}

DebugOutputRecorder::~DebugOutputRecorder() {
  g_active = nullptr;
  if (handler_) RemoveVectoredExceptionHandler(handler_);
}

int DebugOutputRecorder::Count(std::string_view text) const {
  return static_cast<int>(std::count_if(lines_.begin(), lines_.end(), [&](const std::string& line) {
    return line.find(text) != std::string::npos;
  }));
}

LONG CALLBACK DebugOutputRecorder::Note(EXCEPTION_POINTERS* exception) {
  // Only the ANSI form: without a debugger, a wide line is raised again in that form, so counting
  // both would count it twice.
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (g_active && record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
    const auto length = static_cast<size_t>(record.ExceptionInformation[0]);
    const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    if (text) g_active->lines_.emplace_back(text, strnlen(text, length));
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace norv::wintest
