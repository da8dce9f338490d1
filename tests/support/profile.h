// A throw-away settings profile per test: its own product key, removed afterwards.
#ifndef QV_TEST_PROFILE_H
#define QV_TEST_PROFILE_H

#include <windows.h>

#include <string>

namespace qvtest {

struct TestProfile {
    std::string base;
    explicit TestProfile(const char* user = "alice");
    ~TestProfile();
    // The key of `section` in the user's layer, where the profile reads first and writes.
    std::string User(const char* section) const;
};

} // namespace qvtest

#endif
