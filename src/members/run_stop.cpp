#include "members/run_stop.h"

namespace Utils {

namespace {
thread_local const std::atomic<bool>* current = nullptr;
}  // namespace

StopScope::StopScope(const std::atomic<bool>* flag) : previous_(current) { current = flag; }

StopScope::~StopScope() { current = previous_; }

const std::atomic<bool>* currentStopFlag() { return current; }

}  // namespace Utils
