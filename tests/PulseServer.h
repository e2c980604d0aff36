// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A private PulseAudio daemon with one null sink, started by the test that needs a real sound
// server, and a recorder of that sink's monitor that notes when sound arrives. The daemon runs
// in a temporary folder of its own (socket, runtime files, configuration), so it works the same
// for a user and for root without a session, and never meets the desktop's own server.
// Header-only: the tests and the player benchmark include it.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace PulseTest {

using Clock = std::chrono::steady_clock;

inline std::string FindProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

// Starts `argv` with standard output into `outFd` (or /dev/null when -1), standard error to
// `errPath` and the variables of `environment` set (an empty value unsets one); the child's pid,
// or -1.
inline pid_t Spawn(const std::vector<std::string>& argv, int outFd, const std::string& errPath,
                   const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    // The argument list is built before the fork, so the child only calls what is safe there.
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    for (const auto& [name, value] : environment) {
        if (value.empty())
            ::unsetenv(name.c_str());
        else
            ::setenv(name.c_str(), value.c_str(), 1);
    }
    const int out = outFd >= 0 ? outFd : ::open("/dev/null", O_WRONLY);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    if (err >= 0) ::dup2(err, 2);
    ::execv(args[0], args.data());
    ::_exit(127);
}

inline void Stop(pid_t& pid, int signal = SIGTERM) {
    if (pid <= 0) return;
    ::kill(pid, signal);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

class Server {
public:
    Server() = default;
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server() {
        Stop(FPid);
        std::error_code ignored;
        if (!FDir.empty()) std::filesystem::remove_all(FDir, ignored);
    }

    static bool Installed() { return !FindProgram("pulseaudio").empty(); }

    // Starts the daemon and points this process's sound clients at it (PULSE_SERVER), with
    // starting another daemon on their own turned off. False, with Why(), when it would not run.
    bool Start() {
        char tmpl[] = "/tmp/quillet-pulse-XXXXXX";
        if (!::mkdtemp(tmpl)) return Fail("no temporary folder");
        FDir = tmpl;
        const std::string config = FDir + "/default.pa";
        std::ofstream(config) << "load-module module-null-sink sink_name=quillet_null "
                                 "rate=44100 channels=2\n"
                                 "load-module module-native-protocol-unix auth-anonymous=1 "
                                 "socket="
                              << FDir << "/native\n"
                              << "set-default-sink quillet_null\n";
        std::ofstream(FDir + "/client.conf") << "autospawn = no\n";
        const std::string home = FDir;
        const std::vector<std::string> argv = {FindProgram("pulseaudio"),
                                               "--daemonize=no",
                                               "--exit-idle-time=-1",
                                               "--disallow-exit",
                                               "--use-pid-file=no",
                                               "--log-target=stderr",
                                               "-n",
                                               "-F",
                                               config};
        // The daemon keeps its runtime and state files in the private folder.
        const pid_t pid = Spawn(argv, -1, FDir + "/daemon.log",
                                {{"HOME", home},
                                 {"PULSE_RUNTIME_PATH", FDir + "/runtime"},
                                 {"PULSE_STATE_PATH", FDir + "/state"},
                                 {"DBUS_SESSION_BUS_ADDRESS", ""},
                                 {"DISPLAY", ""}});
        FPid = pid;
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (!Answers()) {
            int status = 0;
            if (::waitpid(FPid, &status, WNOHANG) == FPid) {
                FPid = -1;
                return Fail("the daemon ended at start: " + Log());
            }
            if (Clock::now() > until) return Fail("the daemon does not answer: " + Log());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::setenv("PULSE_SERVER", Address().c_str(), 1);
        ::setenv("PULSE_CLIENTCONFIG", (FDir + "/client.conf").c_str(), 1);
        return true;
    }

    // Ends the daemon at once, as a crash would.
    void Kill() { Stop(FPid, SIGKILL); }

    std::string Address() const { return "unix:" + FDir + "/native"; }
    const std::string& Why() const { return FWhy; }
    std::string Log() const {
        std::ifstream in(FDir + "/daemon.log");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    bool Fail(std::string why) {
        FWhy = std::move(why);
        return false;
    }
    // Whether the daemon's socket takes a connection.
    bool Answers() const {
        const std::string path = FDir + "/native";
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0) return false;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return ok;
    }

    std::string FDir;
    std::string FWhy;
    pid_t FPid = -1;
};

// Records the null sink's monitor (mono, 44.1 kHz) through parecord and keeps, for each block
// of 10 ms, when it arrived and whether it held sound.
class MonitorRecorder {
public:
    static constexpr int kRate = 44100;
    static constexpr int kBlock = kRate / 100;

    explicit MonitorRecorder(const Server& server) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        const std::string program = FindProgram("parecord");
        if (program.empty()) return;
        FPid =
            Spawn({program, "--server=" + server.Address(), "--device=quillet_null.monitor",
                   "--raw", "--format=s16le", "--rate=44100", "--channels=1", "--latency-msec=10"},
                  fds[1], "/dev/null");
        ::close(fds[1]);
        FFd = fds[0];
        FReader = std::thread([this] { Read(); });
    }
    ~MonitorRecorder() {
        Stop(FPid);
        if (FReader.joinable()) FReader.join();
        if (FFd >= 0) ::close(FFd);
    }

    // Whether blocks arrive, the first one within `ms`.
    bool WaitForData(int ms) const {
        const auto until = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < until) {
            if (FBlocks.load() > 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    // When the first block with sound after `from` arrived.
    std::optional<Clock::time_point> FirstSoundAfter(Clock::time_point from) const {
        std::lock_guard<std::mutex> hold(FLock);
        for (const auto& [at, loud] : FHistory)
            if (loud && at > from) return at;
        return std::nullopt;
    }
    // When the last block with sound arrived.
    std::optional<Clock::time_point> LastSound() const {
        std::lock_guard<std::mutex> hold(FLock);
        for (auto it = FHistory.rbegin(); it != FHistory.rend(); ++it)
            if (it->second) return it->first;
        return std::nullopt;
    }
    // Whether the sound after `from` has been recorded to its end: a silent block came after the
    // last block with sound (the monitor lags behind the sink by a block or two).
    bool QuietAfterSound(Clock::time_point from) const {
        std::lock_guard<std::mutex> hold(FLock);
        if (FHistory.empty() || FHistory.back().second) return false;
        for (const auto& [at, loud] : FHistory)
            if (loud && at > from) return true;
        return false;
    }
    // Milliseconds of sound recorded after `from`.
    int SoundMsAfter(Clock::time_point from) const {
        std::lock_guard<std::mutex> hold(FLock);
        int blocks = 0;
        for (const auto& [at, loud] : FHistory)
            if (loud && at > from) ++blocks;
        return blocks * 10;
    }

private:
    void Read() {
        std::vector<std::int16_t> block(kBlock);
        std::size_t filled = 0;
        for (;;) {
            const ssize_t n = ::read(FFd, reinterpret_cast<char*>(block.data()) + filled,
                                     block.size() * 2 - filled);
            if (n <= 0) return;
            filled += std::size_t(n);
            if (filled < block.size() * 2) continue;
            filled = 0;
            int peak = 0;
            for (std::int16_t s : block) peak = std::max(peak, std::abs(int(s)));
            {
                std::lock_guard<std::mutex> hold(FLock);
                FHistory.emplace_back(Clock::now(), peak > 1000);
            }
            ++FBlocks;
        }
    }

    pid_t FPid = -1;
    int FFd = -1;
    std::thread FReader;
    mutable std::mutex FLock;
    std::vector<std::pair<Clock::time_point, bool>> FHistory;
    std::atomic<int> FBlocks{0};
};

}  // namespace PulseTest
