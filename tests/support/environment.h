// Setting and removing an environment variable for a test, on either platform.
#pragma once

#include <cstdlib>
#include <string>

namespace stampa::test {

#if defined(_WIN32)
inline void SetEnvironment(const char* name, const std::string& value) {
    _putenv_s(name, value.c_str());
}
inline void UnsetEnvironment(const char* name) {
    _putenv_s(name, "");  // an empty value removes the variable
}
#else
inline void SetEnvironment(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
}
inline void UnsetEnvironment(const char* name) {
    unsetenv(name);
}
#endif

}  // namespace stampa::test
