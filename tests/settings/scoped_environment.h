#pragma once
// Sets or clears one environment variable for the life of a test and puts the old value back.

#include <cstdlib>
#include <optional>
#include <string>

namespace animark::testing {

class ScopedEnvironment {
 public:
  // A null `value` clears the variable.
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Apply(value);
  }
  ~ScopedEnvironment() { Apply(old_ ? old_->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Apply(const char* value) {
#ifdef _WIN32
    // An empty value removes the variable here: Windows keeps no empty ones.
    _putenv_s(name_.c_str(), value != nullptr ? value : "");
#else
    if (value != nullptr) {
      setenv(name_.c_str(), value, 1);
    } else {
      unsetenv(name_.c_str());
    }
#endif
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace animark::testing
