// The host's view of a Wine process, read from /proc through Wine's Z: drive: Wine reports
// no CPU times or handle counts for another process, the host kernel does.
#ifndef QV_HOSTPROC_H
#define QV_HOSTPROC_H

#include <string>

namespace qvtest {

// The /proc folder (as a Windows path) of the newest process of this Wine prefix whose
// command line holds `exeName`; empty when there is none.
std::string HostProcessDir(const char* exeName);
// utime + stime of that process in the host's clock ticks (1/100 s), or -1.
long long HostCpuTicks(const std::string& dir);

} // namespace qvtest

#endif
