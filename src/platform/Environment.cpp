// The real machine's environment, and a deterministic one.
#include "platform/Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "base/Paths.h"

#ifndef ORVO_SHARE_DIR
#define ORVO_SHARE_DIR "/usr/local/share/orvo"
#endif

namespace orvo {

static std::filesystem::path FromEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::filesystem::path(v) : std::filesystem::path();
}

static std::filesystem::path HomeDir() {
    if (auto home = FromEnv("HOME"); !home.empty()) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

static std::filesystem::path ProcessTempRoot() {
    if (auto t = FromEnv("TMPDIR"); !t.empty()) return t;
    return "/tmp";
}

static std::filesystem::path ProcessConfigDir() {
    if (auto h = FromEnv("ORVO_HOME"); !h.empty()) return h;
    if (auto x = FromEnv("XDG_CONFIG_HOME"); !x.empty()) return x / "orvo";
    return HomeDir() / ".config" / "orvo";
}

static std::filesystem::path ProcessDataDir() {
    if (auto h = FromEnv("ORVO_HOME"); !h.empty()) return h;
    if (auto x = FromEnv("XDG_DATA_HOME"); !x.empty()) return x / "orvo";
    return HomeDir() / ".local" / "share" / "orvo";
}

static std::filesystem::path ProcessShareDir() {
    if (auto s = FromEnv("ORVO_SHARE_DIR"); !s.empty()) return s;
    return ORVO_SHARE_DIR;
}

SystemEnvironment::SystemEnvironment() : random_(std::random_device{}()) {}

std::string SystemEnvironment::UserName() const {
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name)
        return NameOfPath(pw->pw_name);
    if (const char* u = std::getenv("USER")) return NameOfPath(u);
    return "utente";
}

std::filesystem::path SystemEnvironment::TempRoot() const {
    return ProcessTempRoot();
}
std::chrono::system_clock::time_point SystemEnvironment::Now() const {
    return std::chrono::system_clock::now();
}
std::uint32_t SystemEnvironment::Random(std::uint32_t bound) {
    return bound == 0 ? 0 : std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_);
}
std::filesystem::path SystemEnvironment::UserConfigDir() const {
    return ProcessConfigDir();
}
std::filesystem::path SystemEnvironment::UserDataDir() const {
    return ProcessDataDir();
}
std::filesystem::path SystemEnvironment::ShareDir() const {
    return ProcessShareDir();
}

FixedEnvironment::FixedEnvironment()
    : now_(std::chrono::sys_days(std::chrono::year(2024) / 1 / 2) + std::chrono::hours(3) +
           std::chrono::minutes(4) + std::chrono::seconds(5)) {}

std::filesystem::path FixedEnvironment::TempRoot() const {
    return tempRoot_.empty() ? ProcessTempRoot() : tempRoot_;
}
std::uint32_t FixedEnvironment::Random(std::uint32_t bound) {
    return bound == 0 ? 0 : std::uint32_t(random_() % bound);
}
std::filesystem::path FixedEnvironment::UserConfigDir() const {
    return ProcessConfigDir();
}
std::filesystem::path FixedEnvironment::UserDataDir() const {
    return ProcessDataDir();
}
std::filesystem::path FixedEnvironment::ShareDir() const {
    return ProcessShareDir();
}

}  // namespace orvo
