// SPDX-License-Identifier: GPL-3.0-or-later
// vkt-radio-sim: an emulated VKT radio on a pseudo-terminal, for trying the
// editor without a radio and for testing the real serial path end to end.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <csignal>
#include <cstdio>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Text.h"
#include "sim/PtyRadio.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

const char* const Usage =
    "Usage: vkt-radio-sim [options]\n"
    "Serves an emulated VKT radio on a pseudo-terminal and prints its device path.\n"
    "Point a Comm Port of the editor at that device (or let `make run` do it).\n"
    "\n"
    "  --eeprom FILE            keep the radio's memory in FILE (6016 bytes, or a 6019-byte setup\n"
    "                           file, whose last three bytes are kept); a radio with the factory\n"
    "                           setup when FILE does not exist; FILE is written once a program\n"
    "                           releases the radio after changing its memory, and at the end\n"
    "  --link PATH              also make PATH a symbolic link to the device (only where nothing\n"
    "                           is, or a link an emulator that has ended left)\n"
    "  --slow                   an older radio: 4800 baud only, one pacing byte per byte read\n"
    "  --reply-delay SECONDS    wait this long before each answer\n"
    "  --silent                 never answer (a radio that is off)\n"
    "  --hook-ack N             answer the hook with byte N instead of 18\n"
    "  --silent-from-block N    stop answering block commands from block N on\n"
    "  --drop-byte-in-block N   lose one byte of block N's answer\n"
    "  --stray-before-block N   put three stray bytes before block N's answer\n"
    "  --extra-byte-after-block N  send one byte too many after block N's answer\n"
    "  --extra-byte-every-block    send one byte too many after every block's answer\n"
    "  --disconnect-after N     go dead after receiving N bytes (a pulled cable)\n"
    "  --refuse-speed           ignore requests to change the line speed\n"
    "  --nacks N                answer N masked writes with 0 before answering 1\n"
    "  --refuse-writes          answer every masked write with 0\n"
    "  --forget-block-write N   acknowledge block N's write but keep the old bytes\n"
    "  --squelch-broken         squelch readings stay low whatever the gain\n"
    "  --squelch-slope X        the squelch reading falls X counts per gain step (2)\n"
    "  --squelch-offset N       the reading at the band's default gain is 244 + N (0)\n"
    "  --squelch-noise N        each reading is off by up to N counts either way (0)\n"
    "  --squelch-seed N         seed of that noise, so that a run repeats (1)\n"
    "  --squelch-interval S     seconds between two squelch readings (0.01)\n"
    "  --exit-with-parent       end when the program that started it ends (Linux)\n"
    "  --print-state            after the device path, print \"hooked\" and \"released\" as the radio\n"
    "                           enters and leaves programming mode\n"
    "  --help                   show this text\n"
    "  --version                print the version and exit\n";

// Where the symbolic link at path leads ("" when path is no link).
std::string LinkTarget(const std::string& path) {
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    return n < 0 ? std::string() : std::string(target, static_cast<size_t>(n));
}

// Whether a pseudo-terminal still has a program on its far side: an
// emulator that ended leaves its device hung up (or gone), even while the
// program it served still holds the line. Nothing is read from it.
bool FarSideOpen(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == EACCES || errno == EPERM;  // someone else's terminal now
    pollfd p{fd, 0, 0};
    const bool hungUp = ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP) != 0;
    ::close(fd);
    return !hungUp;
}

// Why --link may not replace what is at path; "" when nothing is there, or
// a link an emulator that has ended left to its pseudo-terminal (whose
// number this emulator's own device may have got since).
std::string WhyNotTakeOver(const std::string& path, const std::string& ownDevice) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? "" : path + ": " + std::strerror(errno);
    const std::string target = LinkTarget(path);
    if (!S_ISLNK(st.st_mode) || target.rfind("/dev/pts/", 0) != 0)
        return path + " exists and is not a link to an emulated radio's device";
    if (target != ownDevice && FarSideOpen(target)) return path + " leads to " + target + ", which another running emulator holds";
    return "";
}

bool TakeInt(int argc, char** argv, int& i, int& out) {
    if (i + 1 >= argc) return false;
    char* end = nullptr;
    out = static_cast<int>(std::strtol(argv[++i], &end, 10));
    return end && *end == '\0';
}

bool TakeDouble(int argc, char** argv, int& i, double& out) {
    if (i + 1 >= argc) return false;
    const std::string text = argv[++i];
    out = vkt::Val(text);
    return vkt::IsNumeric(text);
}

} // namespace

int main(int argc, char** argv) {
    std::string eepromFile, linkPath;
    vktsim::RadioFaults faults;
    vktsim::SquelchResponse squelch;
    bool slow = false, printState = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        bool ok = true;
        if (a == "--help" || a == "-h") { std::fputs(Usage, stdout); return 0; }
        else if (a == "--version") { std::puts("vkt-radio-sim " VKT_VERSION); return 0; }
        else if (a == "--eeprom" && i + 1 < argc) eepromFile = argv[++i];
        else if (a == "--link" && i + 1 < argc) linkPath = argv[++i];
        else if (a == "--slow") slow = true;
        else if (a == "--reply-delay") ok = TakeDouble(argc, argv, i, faults.replyDelay) && faults.replyDelay >= 0;
        else if (a == "--silent") faults.silent = true;
        else if (a == "--print-state") printState = true;
        else if (a == "--hook-ack") ok = TakeInt(argc, argv, i, faults.hookAck);
        else if (a == "--silent-from-block") ok = TakeInt(argc, argv, i, faults.silentFromBlock);
        else if (a == "--drop-byte-in-block") ok = TakeInt(argc, argv, i, faults.dropByteInBlock);
        else if (a == "--stray-before-block") ok = TakeInt(argc, argv, i, faults.strayBytesBeforeBlock);
        else if (a == "--extra-byte-after-block") ok = TakeInt(argc, argv, i, faults.extraByteAfterBlock);
        else if (a == "--extra-byte-every-block") faults.extraByteEveryBlock = true;
        else if (a == "--disconnect-after") ok = TakeInt(argc, argv, i, faults.disconnectAfterBytes);
        else if (a == "--refuse-speed") faults.refuseSpeedChange = true;
        else if (a == "--nacks") ok = TakeInt(argc, argv, i, faults.nacksBeforeAck);
        else if (a == "--refuse-writes") faults.refuseWrites = true;
        else if (a == "--forget-block-write") ok = TakeInt(argc, argv, i, faults.forgetBlockWrite);
        else if (a == "--squelch-broken") faults.squelchBroken = true;
        else if (a == "--squelch-slope") ok = TakeDouble(argc, argv, i, squelch.slope);
        else if (a == "--squelch-offset") ok = TakeInt(argc, argv, i, squelch.offset);
        else if (a == "--squelch-noise") ok = TakeInt(argc, argv, i, squelch.noise) && squelch.noise >= 0;
        else if (a == "--squelch-seed") {
            int seed = 0;
            ok = TakeInt(argc, argv, i, seed) && seed >= 0;
            squelch.seed = static_cast<unsigned>(seed);
        }
        else if (a == "--squelch-interval") ok = TakeDouble(argc, argv, i, squelch.interval) && squelch.interval > 0;
        else if (a == "--exit-with-parent") {
#ifdef __linux__
            // An editor that is killed must not leave its emulator behind.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
        }
        else ok = false;
        if (!ok) {
            std::fprintf(stderr, "vkt-radio-sim: bad option %s\n\n%s", a.c_str(), Usage);
            return 2;
        }
    }

    vktsim::PtyRadio pty(eepromFile);
    if (std::string why; !pty.load(why)) {
        std::fprintf(stderr, "vkt-radio-sim: %s\n", why.c_str());
        return 2;
    }
    pty.radio().faults = faults;
    if (printState)
        pty.radio().onHookChange = [](bool hooked) {
            std::puts(hooked ? "hooked" : "released");
            std::fflush(stdout);
        };
    pty.radio().squelch = squelch;
    if (slow) pty.radio().identity = vktsim::RadioModel::SlowIdentity;
    if (!pty.open()) {
        std::fprintf(stderr, "vkt-radio-sim: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    if (!linkPath.empty()) {
        if (const std::string why = WhyNotTakeOver(linkPath, pty.devicePath()); !why.empty()) {
            std::fprintf(stderr, "vkt-radio-sim: %s; it is left as it is\n", why.c_str());
            return 2;
        }
        ::unlink(linkPath.c_str());
        if (::symlink(pty.devicePath().c_str(), linkPath.c_str()) != 0)
            std::fprintf(stderr, "vkt-radio-sim: cannot link %s: %s\n", linkPath.c_str(), std::strerror(errno));
    }
    // Whoever reads the device path may end the emulator at once: it must
    // end as asked, its file saved and its link removed.
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGHUP, OnSignal);
    std::printf("%s\n", pty.devicePath().c_str());
    std::fflush(stdout);

    pty.serve([] { return stopRequested != 0; });
    // The link goes only while it still leads to this emulator's device.
    if (!linkPath.empty() && LinkTarget(linkPath) == pty.devicePath()) ::unlink(linkPath.c_str());
    if (!pty.save()) {
        std::fprintf(stderr, "vkt-radio-sim: cannot save %s\n", eepromFile.c_str());
        return 1;
    }
    return 0;
}
