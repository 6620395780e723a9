// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>

#include "tests/support/SystemCalls.h"

namespace vkttest {

bool MakeFifo(const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

void PokeFifo(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);  // opens only while a reader waits
    if (fd >= 0) ::close(fd);
}

bool MakeDevice(const std::string& path) { return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0; }

const char* NullDevice() { return "/dev/null"; }

unsigned SetUmask(unsigned mask) { return ::umask(mask); }

bool RunningAsRoot() { return ::geteuid() == 0; }

bool SetOwner(const std::string& path, unsigned owner, unsigned group) { return ::chown(path.c_str(), owner, group) == 0; }

bool LimitFileSize(long long bytes) {
    static rlimit unlimited{};
    static const bool known = ::getrlimit(RLIMIT_FSIZE, &unlimited) == 0;
    if (!known) return false;
    // A write past the limit fails with EFBIG rather than killing the process.
    std::signal(SIGXFSZ, bytes > 0 ? SIG_IGN : SIG_DFL);
    const rlimit limit{bytes > 0 ? static_cast<rlim_t>(bytes) : unlimited.rlim_cur, unlimited.rlim_max};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

int HoldFile(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }

void ReleaseFile(int held) { ::close(held); }

void SetEnvironment(const std::string& name, const std::string& value) { ::setenv(name.c_str(), value.c_str(), 1); }

void SetTimeZone(const char* zone) {
    zone ? ::setenv("TZ", zone, 1) : ::unsetenv("TZ");
    ::tzset();
}

bool CanLink(const std::string&) { return true; }

} // namespace vkttest
