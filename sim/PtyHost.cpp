// The pseudo-terminal side of vorn4-sim: framing of requests, timed replies, hang-ups.
#include "PtyHost.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vornsim {

namespace {

// A partial request older than this is dropped, the way a unit resynchronises on a pause.
constexpr double kInterByteResetSeconds = 0.03;
constexpr int kIdlePollMs = 10;
// How long a thrown hang-up keeps the line away: about one look of the program for it.
constexpr double kDownSeconds = 1.0;

void sleepMs(int ms)
{
    timespec ts{0, ms * 1000000L};
    nanosleep(&ts, nullptr);
}

}  // namespace

double monotonicSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

PtyHost::~PtyHost()
{
    if (master_ >= 0)
        ::close(master_);
    if (trace_)
        std::fclose(trace_);
}

bool PtyHost::open(std::string &error)
{
    if (!openLine(error))
        return false;
    start_ = monotonicSeconds();
    return true;
}

bool PtyHost::openLine(std::string &error)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char *name = ptsname(master_);
    if (!name) {
        error = "no name for the pseudo-terminal";
        return false;
    }
    slavePath_ = name;
    // Raw from the start, so nothing the program sends is echoed or translated before the
    // program sets the line up itself.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
        termios t{};
        if (tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            cfsetispeed(&t, B57600);
            cfsetospeed(&t, B57600);
            tcsetattr(slave, TCSANOW, &t);
        }
        ::close(slave);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
}

bool PtyHost::makeLink(std::string &error)
{
    const std::string &link = options_.linkPath;
    if (link.empty())
        return true;
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = "cannot make the link " + link + ": it is not a link";
        return false;
    }
    // Made beside it and renamed over it, so the path never points nowhere.
    const std::string temp = link + ".new";
    unlink(temp.c_str());
    if (symlink(slavePath_.c_str(), temp.c_str()) != 0 || std::rename(temp.c_str(), link.c_str()) != 0) {
        error = "cannot make the link " + link + ": " + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

void PtyHost::removeLink() const
{
    if (options_.linkPath.empty())
        return;
    char target[4096];
    const ssize_t n = readlink(options_.linkPath.c_str(), target, sizeof target - 1);
    if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == slavePath_)
        unlink(options_.linkPath.c_str());
}

bool PtyHost::startTruth(std::string &error) const
{
    if (options_.truthPath.empty())
        return true;
    FILE *f = std::fopen(options_.truthPath.c_str(), "w");
    const std::string header = truthHeader();
    if (!f || std::fputs(header.c_str(), f) < 0 || std::fclose(f) != 0) {
        error = "cannot write " + options_.truthPath;
        return false;
    }
    return true;
}

void PtyHost::keepEngineGoing(double now)
{
    unit_.runEngine(now - start_);
    const PullTruth truth = unit_.takeTruth();
    if ((truth.bands.empty() && truth.cells.empty()) || options_.truthPath.empty())
        return;
    FILE *f = std::fopen(options_.truthPath.c_str(), "a");
    if (!f)
        return;
    for (const BandTruth &b : truth.bands)
        std::fputs(truthLine(b).c_str(), f);
    for (const CellTruth &c : truth.cells)
        std::fputs(truthLine(c).c_str(), f);
    std::fclose(f);
}

void PtyHost::hangUp(double now)
{
    // As a pulled cable: the device goes away (the program on the other end sees its line
    // fail), and so does the link to it, until the line comes back.
    removeLink();
    ::close(master_);
    master_ = -1;
    pending_.clear();
    partial_.clear();
    downUntil_ = now + kDownSeconds;
}

bool PtyHost::comeBack(std::string &error)
{
    if (!openLine(error))
        return false;
    if (options_.linkPath.empty()) {
        std::printf("%s\n", slavePath_.c_str());
        std::fflush(stdout);
        return true;
    }
    return makeLink(error);
}

namespace {

bool replaceFile(const std::string &path, const void *data, std::size_t size)
{
    const std::string temp = path + ".tmp";
    FILE *f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !ok)
        return false;
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

bool PtyHost::writeDump() const
{
    if (options_.dumpPath.empty())
        return true;
    const UnitModel::FaultCounts &c = unit_.faultCounts();
    char state[320];
    const int n = std::snprintf(state, sizeof state,
                                "line_faults %s requests %d replies %d dropped %d corrupted %d stray %d "
                                "silenced %d hangups %d truncated %d garbage %d flipped %d late %d\n",
                                unit_.lineFaults() ? "on" : "off", unit_.requests(), unit_.replies(), c.dropped,
                                c.corrupted, c.stray, c.silenced, c.hangups, c.truncated, c.garbage, c.flipped,
                                c.late);
    // The memory first: a reader that sees the new state line finds the memory of that moment.
    return replaceFile(options_.dumpPath, unit_.memory.data(), unit_.memory.size())
           && replaceFile(options_.dumpPath + ".state", state, static_cast<std::size_t>(n));
}

void PtyHost::receive(double now)
{
    std::uint8_t buffer[4096];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0)
        return;
    if (!partial_.empty() && now - lastByteAt_ > kInterByteResetSeconds)
        partial_.clear();
    lastByteAt_ = now;
    partial_.insert(partial_.end(), buffer, buffer + n);
    std::size_t used = 0;
    while (partial_.size() - used >= kFrameBytes) {
        double due = now;
        std::vector<LineWrite> writes = unit_.answer(partial_.data() + used, now - start_);
        noteSent(writes);
        for (LineWrite &w : writes) {
            due += w.afterMs / 1000.0;
            pending_.push_back({due, std::move(w.bytes)});
        }
        used += kFrameBytes;
    }
    partial_.erase(partial_.begin(), partial_.begin() + static_cast<std::ptrdiff_t>(used));
}

void PtyHost::traceMonitorReply(const std::vector<std::uint8_t> &bytes)
{
    if (options_.tracePath.empty() || bytes.size() != kFrameBytes || bytes[0] != (kMonitor | kAnswerBit))
        return;
    if (!trace_)
        trace_ = std::fopen(options_.tracePath.c_str(), "w");
    if (!trace_)
        return;
    // What a reader of this line was sent: speed (bytes 1-2, little-endian) and throttle (41).
    std::fprintf(trace_, "%d,%d\n", bytes[1] | (bytes[2] << 8), bytes[41]);
    std::fflush(trace_);
}

void PtyHost::noteSent(const std::vector<LineWrite> &writes) const
{
    if (options_.sentPath.empty() || writes.empty())
        return;
    std::vector<std::uint8_t> all;
    for (const LineWrite &w : writes)
        all.insert(all.end(), w.bytes.begin(), w.bytes.end());
    if (all.size() < kFrameBytes)
        return;
    // Junk bytes go before the reply, so the reply is the last frame of the answer.
    const std::uint8_t *f = all.data() + all.size() - kFrameBytes;
    FILE *out = std::fopen(options_.sentPath.c_str(), "a");
    if (!out)
        return;
    if (f[0] == (kMonitor ^ 0x80))
        std::fprintf(out, "%02x %d %d %d\n", f[0], f[1] | f[2] << 8, f[41], f[3] | f[4] << 8);
    else
        std::fprintf(out, "%02x\n", f[0]);
    std::fclose(out);
}

void PtyHost::sendDue(double now)
{
    while (!pending_.empty() && pending_.front().due <= now) {
        const std::vector<std::uint8_t> &bytes = pending_.front().bytes;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;   // the peer is not reading; the rest of this write is lost
            done += static_cast<std::size_t>(n);
        }
        if (done == bytes.size())
            traceMonitorReply(bytes);
        pending_.pop_front();
    }
}

void PtyHost::run(const volatile std::sig_atomic_t &stop, volatile std::sig_atomic_t &dumpNow,
                  const volatile std::sig_atomic_t &toggles)
{
    bool peerSeen = false;
    double goneSince = -1;
    std::sig_atomic_t togglesSeen = 0;
    while (!stop) {
        if (toggles != togglesSeen) {
            const std::sig_atomic_t now = toggles;
            if ((now - togglesSeen) % 2 != 0)
                unit_.setLineFaults(!unit_.lineFaults());
            togglesSeen = now;
            dumpNow = 1;
        }
        if (dumpNow) {
            dumpNow = 0;
            writeDump();
        }
        const double now = monotonicSeconds();
        keepEngineGoing(now);
        if (master_ < 0) {
            if (now < downUntil_) {
                sleepMs(kIdlePollMs);
                continue;
            }
            std::string error;
            if (!comeBack(error)) {
                std::fprintf(stderr, "vorn4-sim: %s\n", error.c_str());
                break;
            }
            peerSeen = false;
            goneSince = -1;
            continue;
        }
        int timeoutMs = kIdlePollMs;
        if (!pending_.empty())
            timeoutMs = std::max(0, std::min(timeoutMs, static_cast<int>((pending_.front().due - now) * 1000)));
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0 && errno != EINTR)
            break;
        const double after = monotonicSeconds();
        if (ready > 0 && (p.revents & POLLHUP)) {
            // Nobody has the device open: before the first open that is waiting, after it
            // the peer has gone (or is reopening the port).
            if (peerSeen) {
                if (goneSince < 0)
                    goneSince = after;
                if (after - goneSince >= options_.lingerSeconds)
                    break;
            }
            pending_.clear();
            partial_.clear();
            sleepMs(20);
            continue;
        }
        peerSeen = true;
        goneSince = -1;
        if (ready > 0 && (p.revents & POLLIN))
            receive(after);
        if (unit_.takeHangup()) {
            hangUp(after);
            continue;
        }
        sendDue(monotonicSeconds());
        if (unit_.hangupDue() && pending_.empty()) {
            ::close(master_);
            master_ = -1;
            break;
        }
    }
}

}  // namespace vornsim
