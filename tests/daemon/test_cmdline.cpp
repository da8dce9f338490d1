// The daemon's switch table: case-blind prefix matching, first match wins, the key path after
// "/RegKey:", and fields that match nothing.
#include <doctest/doctest.h>

#include <string>

#include "daemon.h"

namespace {

void Reset()
{
    lstrcpynA(g_profileKey, DAEMON_PROFILE_KEY, sizeof(g_profileKey));
    g_runOnce = FALSE;
    g_showIcon = FALSE;
}

} // namespace

TEST_CASE("switches match case-blind over their own length; near misses are ignored")
{
    Reset();
    ParseCommandLine("/regkey:Software\\Test");
    CHECK(std::string(g_profileKey) == "Software\\Test");

    Reset();
    ParseCommandLine("/RegKeyX /showicon");
    CHECK(std::string(g_profileKey) == DAEMON_PROFILE_KEY);
    CHECK(g_showIcon);
    CHECK_FALSE(g_runOnce);

    Reset();
    ParseCommandLine("/RunOnceNow");
    CHECK(g_runOnce);

    Reset();
    ParseCommandLine("/AddStartMenu");
    CHECK_FALSE(g_runOnce);
    CHECK_FALSE(g_showIcon);
    CHECK(std::string(g_profileKey) == DAEMON_PROFILE_KEY);

    Reset();
    ParseCommandLine("  /RUNONCE   junk /ShowIconic");
    CHECK(g_runOnce);
    CHECK(g_showIcon);
}

TEST_CASE("the key path after /RegKey: may be empty, quoted with blanks, or cut to the field")
{
    Reset();
    ParseCommandLine("/RegKey:");
    CHECK(std::string(g_profileKey).empty());

    Reset();
    ParseCommandLine("\"/RegKey:Software\\My Vendor\\Keys\" /RegKey:Software\\Later");
    CHECK(std::string(g_profileKey) == "Software\\Later");

    Reset();
    ParseCommandLine("\"/RegKey:Software\\My Vendor\\Keys\"");
    CHECK(std::string(g_profileKey) == "Software\\My Vendor\\Keys");

    // A field holds 259 characters, so at most 251 of the path survive.
    Reset();
    std::string longField = "/RegKey:" + std::string(400, 'k');
    ParseCommandLine(longField.c_str());
    CHECK(std::string(g_profileKey) == std::string(251, 'k'));
}
